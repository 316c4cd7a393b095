#include "updater/modRegistry.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <optional>

namespace updater {
namespace {

constexpr qsizetype maxValueLength = 255;

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg;
}

// The last two parts of the key path name the folder and the file; a part that is empty,
// "." or ".." or holds a "/" names no key (it would leave the settings folder).
std::optional<QString> fileForKey(const QString &keyPath)
{
    const QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return std::nullopt;
    const QString &maker = parts.at(parts.size() - 2);
    const QString &name = parts.last();
    for (const QString &part : {maker, name}) {
        if (part == QStringLiteral(".") || part == QStringLiteral("..") || part.contains(u'/'))
            return std::nullopt;
    }
    return configHome() + u'/' + maker + u'/' + name + QStringLiteral(".ini");
}

QString unescape(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

QString errorText(int code)
{
    return QStringLiteral("(Error Code = %1)").arg(code);
}

} // namespace

QString getRegString(const QString &keyPath, const QString &valueName)
{
    const std::optional<QString> path = fileForKey(keyPath);
    if (!path)
        return errorText(ENOENT);
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return errorText(file.exists() ? EACCES : ENOENT);
    const QString content = QString::fromUtf8(file.readAll());
    for (const QStringView line : QStringView(content).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || line.left(eq) != valueName)
            continue;
        const QString value = unescape(line.mid(eq + 1));
        return value.size() > maxValueLength ? QString() : value;
    }
    return QString();
}

} // namespace updater
