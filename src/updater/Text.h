#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

namespace updater {

// Trims U+0020 blanks only; other white space (the ideographic space too) stays.
QStringView trimBlanks(QStringView text);

// The leading-number rule: leading blanks, an optional sign, digits with one point; it
// stops at the first other character, and a text without digits reads as 0.
double leadingNumber(QStringView text);

// A colour stored as the decimal number of &H00BBGGRR (blue first), read by the
// leading-number rule and rounded to a whole number; a text that is no number is black.
QColor colorFromBgrText(QStringView text);

} // namespace updater
