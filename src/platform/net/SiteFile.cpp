#include "platform/net/SiteFile.h"

#include "platform/sys/ProgramDir.h"

#include <QFile>

#include <optional>

namespace net {
namespace {

std::optional<QString> readValue(QFile &file, const QString &section, const QString &key)
{
    bool inSection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inSection && equals > 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1).trimmed();
    }
    return std::nullopt;
}

QString joinWithOneSlash(QString base, QString path)
{
    while (base.endsWith(u'/'))
        base.chop(1);
    while (path.startsWith(u'/'))
        path.remove(0, 1);
    return base + u'/' + path;
}

bool hasWebScheme(const QString &base)
{
    return base.startsWith(u"http://", Qt::CaseInsensitive) || base.startsWith(u"https://", Qt::CaseInsensitive);
}

} // namespace

QString siteFilePath()
{
    return sys::programFile(sys::exeName() + QStringLiteral("_site.ini"));
}

SiteAddress siteAddress(const QString &key, const QString &path)
{
    const QString file = siteFilePath();
    QFile site(file);
    if (!site.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("サイトファイル(") + file + QStringLiteral(")を開けません。")};
    const std::optional<QString> base = readValue(site, QStringLiteral("Hosts"), key);
    if (!base || base->isEmpty())
        return {{},
                QStringLiteral("サイトファイル(") + file + QStringLiteral(")の[Hosts]に") + key +
                    QStringLiteral("がありません。")};
    if (!hasWebScheme(*base))
        return {{},
                QStringLiteral("サイトファイル(") + file + QStringLiteral(")の") + key +
                    QStringLiteral("はhttp://またはhttps://で始まるアドレスではありません。")};
    // Without a path the entry may itself be a page address (the terms page), kept as written.
    return {path.isEmpty() ? *base : joinWithOneSlash(*base, path), {}};
}

QString siteEntry(const QString &key)
{
    return siteValue(QStringLiteral("Hosts"), key).value_or(QString());
}

std::optional<QString> siteValue(const QString &section, const QString &key)
{
    QFile site(siteFilePath());
    if (!site.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readValue(site, section, key);
}

} // namespace net
