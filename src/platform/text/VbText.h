#pragma once

#include <QString>

namespace text {

// Strips leading and trailing U+0020 only. QString::trimmed() would also strip the
// ideographic space U+3000 that titles and page headers rely on.
QString trimSpaces(const QString &s);

// The leading-number rule for pages and text boxes: skip leading blanks, take an optional
// sign and digits with at most one decimal point, stop at the first other character.
// No digit at all gives 0 ("7abc" gives 7, "abc" gives 0).
double leadingNumber(const QString &s);

// Whether the whole text, blanks around it aside, is a decimal number: an optional sign
// and digits with at most one decimal point ("12.5" yes; "", "-", "12円" no).
bool isNumeric(const QString &s);

// Full-width ASCII forms (U+FF01..U+FF5E) and the ideographic space become their
// single-byte forms ("１２３４" gives "1234"); everything else stays.
QString toNarrow(const QString &s);

// A real value turned into a whole number: to the nearest, halves to the even neighbour
// (2.5 gives 2, 3.5 gives 4).
qint64 roundHalfEven(double value);

} // namespace text
