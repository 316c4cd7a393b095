#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace settings {
namespace {

// One value per line as name=value; backslash, CR and LF inside a value are escaped so a
// value of any length and content reads back whole.
QString escape(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
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

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg;
}

} // namespace

QString fileForKey(const QString &keyPath)
{
    const QStringList parts = QString(keyPath).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    const QString name = parts.value(parts.size() - 1);
    const QString maker = parts.size() >= 2 ? parts.at(parts.size() - 2) : QString();
    return configHome() + u'/' + (maker.isEmpty() ? QString() : maker + u'/') + name + QStringLiteral(".ini");
}

sys::Result<std::optional<Values>> readKey(const QString &keyPath)
{
    QFile file(fileForKey(keyPath));
    if (!file.exists())
        return std::optional<Values>();
    if (!file.open(QIODevice::ReadOnly))
        return sys::Result<std::optional<Values>>::failure(
            QStringLiteral("設定ファイル(%1)を読み込めません。(%2)").arg(file.fileName(), file.errorString()));
    Values values;
    // A file edited on another system may end its lines in CR LF or CR: each reads as LF.
    QString content = QString::fromUtf8(file.readAll());
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    for (const QStringView line : QStringView(content).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            values.insert(line.left(eq).toString(), unescape(line.mid(eq + 1)));
    }
    return std::optional<Values>(values);
}

sys::Status writeValues(const QString &keyPath, const Values &values)
{
    const QString path = fileForKey(keyPath);
    const auto failure = [&](const QString &why) {
        return sys::Status::failure(QStringLiteral("設定ファイル(%1)に書き込めません。(%2)").arg(path, why));
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failure(QStringLiteral("フォルダを作成できません"));
    const sys::Result<std::optional<Values>> stored = readKey(keyPath);
    if (!stored.ok())
        return sys::Status::failure(stored.problem());
    Values merged = stored.value().value_or(Values());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        merged.insert(it.key(), it.value());

    QString content;
    for (auto it = merged.cbegin(); it != merged.cend(); ++it)
        content += it.key() + u'=' + escape(it.value()) + u'\n';

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = content.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return failure(file.errorString());
    return sys::Status::success();
}

} // namespace settings
