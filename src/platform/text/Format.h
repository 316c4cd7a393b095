#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Locale-free texts in the fixed formats the program shows, logs and compares.
namespace text {

QString formatYmdSlash(const QDate &d);             // "yyyy/mm/dd"
QString formatDateTimeSlash(const QDateTime &dt);   // "yyyy/mm/dd hh:mm:ss"
QString formatYmd(const QDate &d);                  // "yyyymmdd"
QString formatThousands(double value);              // "#,##0", halves away from zero
QString formatThousands2(double value);             // "#,##0.00", halves away from zero
QString formatZeroPadded(qint64 value, int digits); // "00", "0000"
// 1234, 1234.5, 0.00001: point, no grouping, never an exponent; the shortest text that
// reads back to the same double (for values that are stored as text).
QString formatPlainNumber(double value);
// The same, rounded to 15 significant digits first (for values that are only shown).
QString formatShownNumber(double value);

// Halves away from zero, as the display formats round.
double roundHalfAway(double value, int decimals);

} // namespace text
