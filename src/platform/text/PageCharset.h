#pragma once

#include <QByteArray>
#include <QString>

// Which charset a downloaded page is in, and the page as text.
namespace text {

// The iconv name of the charset a page declares: the charset parameter of its HTTP
// Content-Type header, else the charset of a <meta> tag near its start; empty when it
// declares none that the program knows. The Japanese names map to CP932 (for Shift_JIS
// and its aliases, as Windows reads them) and EUC-JP-MS (EUC-JP with the vendor rows).
QByteArray declaredPageCharset(const QByteArray &contentType, const QByteArray &page);

// The iconv name of a Japanese or UTF-8 charset name as pages and mails write it (Shift_JIS and
// its aliases as CP932, EUC-JP as EUC-JP-MS); empty for any other name.
QByteArray knownCharset(QByteArray name);

// The page decoded with its declared charset, else with `fallbackCharset` (an iconv
// name). Independent of the machine's locale.
QString decodePage(const QByteArray &page, const QByteArray &contentType, const char *fallbackCharset);

} // namespace text
