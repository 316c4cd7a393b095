#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace text {

// Converts between Unicode and the Japanese Windows code page (CP932, which differs from
// plain Shift_JIS for U+FF5E, U+2212 and the vendor characters). A character the code
// page lacks becomes "?".
QByteArray toCp932(const QString &s);
QString fromCp932(const QByteArray &bytes);

// Encodes text in the named charset (iconv name); a character it lacks becomes "?".
QByteArray encodeCharset(const QString &s, const char *charset);

// Decodes bytes in the named charset (as iconv names it, e.g. "EUC-JP", "CP932",
// "ISO-2022-JP", "UTF-8"). Undecodable bytes become U+FFFD. Never depends on the locale.
QString decodeCharset(const QByteArray &bytes, const char *charset);

// The bytes decoded in the named charset when every one of them is valid in it;
// std::nullopt when some are not, or when iconv does not know the charset.
std::optional<QString> decodeCharsetExactly(const QByteArray &bytes, const char *charset);

// Width of a text in CP932 bytes: full-width characters 2, half-width (ASCII,
// half-width katakana) 1. The fixed-pitch report columns are counted so.
int cp932ByteLength(const QString &s);

} // namespace text
