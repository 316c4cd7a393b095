#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The text forms in which settings are stored and shown in the dialogs' boxes, and the
// conversions back. None depends on the locale.

// Decimal digits with "-" when negative; a real in its shortest form (15, 2.5).
QString settingNumberText(double value);

// "2006/01/04", followed by " hh:mm:ss" when the time is not midnight.
QString settingDateText(const QDateTime &value);

// A date text as settingDateText writes it ("-" also separates the date's parts).
std::optional<QDateTime> parseSettingDate(const QString &text);

// A text that is a number throughout (blanks around it allowed), as a real; std::nullopt
// for empty or non-numeric text.
std::optional<double> parseRealNumber(const QString &text);

// The same, rounded to a whole number with halves to the even neighbour ("2.5" gives 2);
// std::nullopt also when the value lies beyond the 32-bit range.
std::optional<int> parseWholeNumber(const QString &text);

// The number at the start of the text (0 when there is none), rounded half to even;
// std::nullopt when it lies beyond the 32-bit range.
std::optional<int> leadingWholeNumber(const QString &text);
