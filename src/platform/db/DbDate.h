#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The one place where dates meet the database: date columns hold "YYYY-MM-DD",
// date-time columns "YYYY-MM-DD HH:MM:SS", so text order is time order.
namespace db {

QString dateText(const QDate &d);
QString dateTimeText(const QDateTime &dt);
// Midnight of a day, for comparing a date-time column with a whole day.
QString dayStartText(const QDate &d);
// The last second of a day, "YYYY-MM-DD 23:59:59".
QString dayEndText(const QDate &d);

// The day of either form; an empty or malformed text gives an invalid date.
QDate parseDate(const QString &text);

} // namespace db
