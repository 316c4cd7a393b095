#include "platform/net/SiteFile.h"

#include "platform/sys/ProgramDir.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <map>

#include <optional>

namespace net {
namespace {

// The [Hosts] entries of a site file, keys upper-cased; the first entry of a key holds.
std::map<QString, QString> readHosts(QFile &file)
{
    std::map<QString, QString> hosts;
    bool inHosts = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inHosts = line.mid(1, line.size() - 2).trimmed().compare(u"Hosts", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inHosts && equals > 0)
            hosts.try_emplace(line.left(equals).trimmed().toUpper(), line.mid(equals + 1).trimmed());
    }
    return hosts;
}

// The site file as last read; read again when its path, size or modification time changed.
struct ReadSiteFile {
    QString path;
    QDateTime modified;
    qint64 size = -1;
    std::map<QString, QString> hosts;
};

const std::map<QString, QString> *currentHosts(const QString &path)
{
    static ReadSiteFile cache;
    const QFileInfo info(path);
    if (!info.exists()) {
        cache = {};
        return nullptr;
    }
    if (cache.path == path && cache.modified == info.lastModified() && cache.size == info.size())
        return &cache.hosts;
    QFile site(path);
    if (!site.open(QIODevice::ReadOnly)) {
        cache = {};
        return nullptr;
    }
    cache = {path, info.lastModified(), info.size(), readHosts(site)};
    return &cache.hosts;
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
    const std::map<QString, QString> *hosts = currentHosts(file);
    if (!hosts)
        return {{}, QStringLiteral("サイトファイル(") + file + QStringLiteral(")を開けません。")};
    const auto entry = hosts->find(key.toUpper());
    const std::optional<QString> base = entry == hosts->end() ? std::nullopt : std::optional<QString>(entry->second);
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

} // namespace net
