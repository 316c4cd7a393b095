#pragma once

#include "platform/sys/Result.h"

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

// The base address and path joined with exactly one "/", or why there is none (as a log
// line's text).
using SiteAddress = sys::Result<QString>;

// The base address and path joined with exactly one "/".
QString joinAddress(QString base, QString path);

// <program directory>/<ExeName>_site.ini
QString siteFilePath();

// The address of `path` on the site named `key`; with an empty path, the entry as written. The file's
// entries are parsed again only when its text changed, so a changed site file takes effect at the next
// request without being parsed for every page.
SiteAddress siteAddress(const QString &key, const QString &path);

// The value of `key` in `section` of the site file as written (blanks around it removed);
// std::nullopt when the file cannot be read or has no such entry.
std::optional<QString> siteValue(const QString &section, const QString &key);

// The entry `key` of [Hosts] as written (a domain, "about:blank", ...); empty when the file
// or the entry is missing.
QString siteEntry(const QString &key);

} // namespace net
