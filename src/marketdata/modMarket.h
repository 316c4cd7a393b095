#pragma once

#include <QDate>
#include <QDateTime>

// Calendar of the Japanese stock exchanges. All functions are pure: the rules are fixed in code,
// nothing is read from a table or a setting. The time of day is ignored except by isTradingTime
// and kept by getZenEigyoubi.

// True on a weekday that is neither a holiday nor a closure day of the exchanges.
bool isTradingDay(const QDate &date);
bool isTradingDay(const QDateTime &moment);

// True when the time of day lies inside the order window of that date: 09:00 (02:00 with
// earlyStart non-zero) to 14:50, or to 10:50 on the four half-day dates. Weekends and holidays
// are not looked at; callers test isTradingDay first.
bool isTradingTime(const QDateTime &moment, int earlyStart);

// True on a national holiday as the holiday law stood on that date (including substitute and
// citizens' holidays) and on the exchanges' closure days 1-3 January and 31 December.
bool isHoliday(const QDate &date);
bool isHoliday(const QDateTime &moment);

// Day of March / September of the equinox in the given year, 99 outside 1948-2150.
int vernalEquinoxDay(int year);
int autumnalEquinoxDay(int year);

// The latest trading day on or before the argument, with the argument's time of day. Looks back
// at most 31 days and returns the argument minus 31 days when none of them trades.
QDateTime getZenEigyoubi(const QDateTime &moment);
// The latest trading day before the date (the day whose close sets the date's price limits).
QDate tradingDayBefore(const QDate &date);
