#pragma once

#include <QString>

#include <optional>

// The hosts of the outside sites are configuration: the site file <ExeName>_site.ini in the
// program directory names one base address (with scheme) per site in section [Hosts]:
//
//   [Hosts]
//   Infoseek=http://127.0.0.1:8080/
//   Yahoo=http://127.0.0.1:8080/
//   Caution=http://127.0.0.1:8080/
//   Consent=http://127.0.0.1:8080/
//
// Section and key names compare without regard to case; blanks around names and values
// are ignored; lines starting with ";" or "#" are comments.
namespace net {

struct SiteAddress {
    QString url;     // base address and path joined with exactly one "/"; empty on a problem
    QString problem; // why there is no address, as a log line's text; empty when url is set

    bool ok() const { return problem.isEmpty(); }
};

// <program directory>/<ExeName>_site.ini
QString siteFilePath();

// The address of `path` on the site named `key`; with an empty path, the entry as written. The file is read on every
// call, so a changed site file takes effect at the next request.
SiteAddress siteAddress(const QString &key, const QString &path);

// The entry `key` of [Hosts] as written (a domain, "about:blank", ...); empty when the file
// or the entry is missing.
QString siteEntry(const QString &key);

// The value of `key` in `section` of the site file as written (blanks around it removed);
// std::nullopt when the file cannot be read or has no such entry.
std::optional<QString> siteValue(const QString &section, const QString &key);

} // namespace net
