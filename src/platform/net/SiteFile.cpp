#include "platform/net/SiteFile.h"

#include "platform/sys/ProgramDir.h"

#include <QFile>

#include <map>
#include <optional>
#include <utility>

namespace net {
namespace {

// Entries of a site file: section and key (both upper-cased) to value; the first entry of a
// key in its section holds.
using SiteEntries = std::map<std::pair<QString, QString>, QString>;

SiteEntries readEntries(const QByteArray &content)
{
    SiteEntries entries;
    QString section;
    for (const QByteArray &raw : content.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed().toUpper();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            entries.try_emplace({section, line.left(equals).trimmed().toUpper()}, line.mid(equals + 1).trimmed());
    }
    return entries;
}

// The entries of the site file, parsed again only when its text changed (a job asks for
// thousands of pages); nothing when it cannot be read.
const SiteEntries *currentEntries()
{
    struct Parsed {
        QString path;
        QByteArray content;
        SiteEntries entries;
    };
    static std::optional<Parsed> parsed;
    const QString path = siteFilePath();
    QFile site(path);
    if (!site.open(QIODevice::ReadOnly)) {
        parsed.reset();
        return nullptr;
    }
    const QByteArray content = site.readAll();
    if (!parsed || parsed->path != path || parsed->content != content)
        parsed = Parsed{path, content, readEntries(content)};
    return &parsed->entries;
}

std::optional<QString> readValue(const SiteEntries &entries, const QString &section, const QString &key)
{
    const auto entry = entries.find({section.toUpper(), key.toUpper()});
    return entry == entries.end() ? std::nullopt : std::optional<QString>(entry->second);
}

bool hasWebScheme(const QString &base)
{
    return base.startsWith(u"http://", Qt::CaseInsensitive) || base.startsWith(u"https://", Qt::CaseInsensitive);
}

} // namespace

QString joinAddress(QString base, QString path)
{
    while (base.endsWith(u'/'))
        base.chop(1);
    while (path.startsWith(u'/'))
        path.remove(0, 1);
    return base + u'/' + path;
}

QString siteFilePath()
{
    return sys::programFile(sys::exeName() + QStringLiteral("_site.ini"));
}

SiteAddress siteAddress(const QString &key, const QString &path)
{
    const QString file = siteFilePath();
    const SiteEntries *entries = currentEntries();
    if (!entries)
        return SiteAddress::failure(QStringLiteral("サイトファイル(") + file + QStringLiteral(")を開けません。"));
    const std::optional<QString> base = readValue(*entries, QStringLiteral("Hosts"), key);
    if (!base || base->isEmpty())
        return SiteAddress::failure(QStringLiteral("サイトファイル(") + file + QStringLiteral(")の[Hosts]に") + key +
                                    QStringLiteral("がありません。"));
    if (!hasWebScheme(*base))
        return SiteAddress::failure(QStringLiteral("サイトファイル(") + file + QStringLiteral(")の") + key +
                                    QStringLiteral("はhttp://またはhttps://で始まるアドレスではありません。"));
    // Without a path the entry may itself be a page address (the terms page), kept as written.
    return path.isEmpty() ? *base : joinAddress(*base, path);
}

std::optional<QString> siteValue(const QString &section, const QString &key)
{
    const SiteEntries *entries = currentEntries();
    return entries ? readValue(*entries, section, key) : std::nullopt;
}

QString siteEntry(const QString &key)
{
    return siteValue(QStringLiteral("Hosts"), key).value_or(QString());
}

} // namespace net
