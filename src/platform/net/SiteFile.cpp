#include "platform/net/SiteFile.h"

#include "platform/sys/ProgramDir.h"

#include <QFile>

#include <map>
#include <optional>

namespace net {
namespace {

// The [Hosts] entries of a site file's text, keys upper-cased; the first entry of a key holds.
std::map<QString, QString> readHosts(const QByteArray &content)
{
    std::map<QString, QString> hosts;
    bool inHosts = false;
    for (const QByteArray &raw : content.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
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

// The entries of the site file at `path`, parsed again only when its text changed; nothing
// when it cannot be read.
const std::map<QString, QString> *currentHosts(const QString &path)
{
    struct Parsed {
        QString path;
        QByteArray content;
        std::map<QString, QString> hosts;
    };
    static std::optional<Parsed> parsed;
    QFile site(path);
    if (!site.open(QIODevice::ReadOnly)) {
        parsed.reset();
        return nullptr;
    }
    const QByteArray content = site.readAll();
    if (!parsed || parsed->path != path || parsed->content != content)
        parsed = Parsed{path, content, readHosts(content)};
    return &parsed->hosts;
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
