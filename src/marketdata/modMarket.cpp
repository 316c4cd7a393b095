#include "marketdata/modMarket.h"

#include <QString>
#include <QTime>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The holiday law took effect on this day; no earlier date is a holiday.
const QDate holidayLawStart(1948, 7, 20);
// From this day a holiday on a Sunday makes the following Monday a holiday.
const QDate substituteHolidayStart(1973, 4, 12);
// From this day a day between two holidays is a holiday too.
const QDate citizensHolidayStart(1985, 12, 27);
// From this day the substitute is the next day that is no holiday (3 May on a Sunday gives
// 6 May), and a Sunday between two holidays is no longer left out.
const QDate revisedLawStart(2007, 1, 1);

QDate nthMonday(int year, int month, int n)
{
    const QDate first(year, month, 1);
    const int daysToMonday = (Qt::Monday - first.dayOfWeek() + 7) % 7;
    return first.addDays(daysToMonday + 7 * (n - 1));
}

QDate onlyFrom(int firstYear, int year, int month, int day)
{
    return year >= firstYear ? QDate(year, month, day) : QDate();
}

// Each rule gives the date of one named holiday in a year, or an invalid date for a year in
// which the law had no such holiday.
QDate newYearsDay(int year)
{
    return {year, 1, 1};
}

QDate comingOfAgeDay(int year)
{
    return year < 2000 ? QDate(year, 1, 15) : nthMonday(year, 1, 2);
}

QDate nationalFoundationDay(int year)
{
    return onlyFrom(1967, year, 2, 11);
}

QDate vernalEquinox(int year)
{
    const int day = vernalEquinoxDay(year);
    return day == 99 ? QDate() : QDate(year, 3, day);
}

// 29 April: the Emperor's birthday until 1988, Greenery Day until 2006, Showa Day since.
QDate showaDay(int year)
{
    return {year, 4, 29};
}

// The Emperor's birthday once it no longer fell on 29 April. It moved from 23 December to
// 23 February with the accession of 1 May 2019, so neither day was a holiday in 2019.
QDate emperorsBirthday(int year)
{
    if (year <= 1988 || year == 2019)
        return {};
    return year <= 2018 ? QDate(year, 12, 23) : QDate(year, 2, 23);
}

QDate constitutionDay(int year)
{
    return {year, 5, 3};
}

// Before 2007, 4 May was a holiday only as a day between two holidays.
QDate greeneryDay(int year)
{
    return onlyFrom(2007, year, 5, 4);
}

QDate childrensDay(int year)
{
    return {year, 5, 5};
}

// In 2020 and 2021 Marine Day, Sports Day and Mountain Day were moved next to the opening and
// the closing of the Tokyo Olympic Games.
QDate movedForTheGames(int year, const QDate &in2020, const QDate &in2021, const QDate &otherwise)
{
    return year == 2020 ? in2020 : year == 2021 ? in2021 : otherwise;
}

QDate marineDay(int year)
{
    if (year < 1996)
        return {};
    if (year <= 2002)
        return {year, 7, 20};
    return movedForTheGames(year, {2020, 7, 23}, {2021, 7, 22}, nthMonday(year, 7, 3));
}

QDate mountainDay(int year)
{
    return movedForTheGames(year, {2020, 8, 10}, {2021, 8, 8}, onlyFrom(2016, year, 8, 11));
}

QDate respectForTheAgedDay(int year)
{
    if (year < 1966)
        return {};
    return year <= 2002 ? QDate(year, 9, 15) : nthMonday(year, 9, 3);
}

QDate autumnalEquinox(int year)
{
    const int day = autumnalEquinoxDay(year);
    return day == 99 ? QDate() : QDate(year, 9, day);
}

QDate sportsDay(int year)
{
    if (year < 1966)
        return {};
    if (year <= 1999)
        return {year, 10, 10};
    return movedForTheGames(year, {2020, 7, 24}, {2021, 7, 23}, nthMonday(year, 10, 2));
}

QDate cultureDay(int year)
{
    return {year, 11, 3};
}

QDate labourThanksgivingDay(int year)
{
    return {year, 11, 23};
}

constexpr std::array holidayRules{
    &newYearsDay,
    &comingOfAgeDay,
    &nationalFoundationDay,
    &emperorsBirthday,
    &vernalEquinox,
    &showaDay,
    &constitutionDay,
    &greeneryDay,
    &childrensDay,
    &marineDay,
    &mountainDay,
    &respectForTheAgedDay,
    &autumnalEquinox,
    &sportsDay,
    &cultureDay,
    &labourThanksgivingDay,
};

// Days made holidays by laws of their own: royal weddings, the state funeral of 1989, the
// accession and the enthronement ceremonies. The accession day of 1 May 2019 counts as a named
// holiday for the between-two-holidays rule, which is what closed 30 April and 2 May 2019.
bool isOneOffHoliday(const QDate &date)
{
    static const std::array days{
        QDate(1959, 4, 10), QDate(1989, 2, 24), QDate(1990, 11, 12),
        QDate(1993, 6, 9),  QDate(2019, 5, 1),  QDate(2019, 10, 22),
    };
    return std::ranges::find(days, date) != days.end();
}

bool isNamedHoliday(const QDate &date)
{
    if (date < holidayLawStart)
        return false;
    const int year = date.year();
    return isOneOffHoliday(date) ||
           std::ranges::any_of(holidayRules, [&](const auto rule) { return rule(year) == date; });
}

// For a day that is no named holiday: whether a named holiday on a Sunday moved to it.
bool isSubstituteHoliday(const QDate &date)
{
    const QDate dayBefore = date.addDays(-1);
    for (QDate day = dayBefore; isNamedHoliday(day); day = day.addDays(-1)) {
        if (day.dayOfWeek() == Qt::Sunday && day >= substituteHolidayStart &&
            (day == dayBefore || day >= revisedLawStart))
            return true;
    }
    return false;
}

// For a day that is no named holiday: whether it lies between two named holidays.
bool isCitizensHoliday(const QDate &date)
{
    if (date < citizensHolidayStart || (date < revisedLawStart && date.dayOfWeek() == Qt::Sunday))
        return false;
    return isNamedHoliday(date.addDays(-1)) && isNamedHoliday(date.addDays(1));
}

bool isNationalHoliday(const QDate &date)
{
    return isNamedHoliday(date) || isSubstituteHoliday(date) || isCitizensHoliday(date);
}

// The exchanges close from 31 December to 3 January, whatever the holiday law says.
bool isExchangeClosure(const QDate &date)
{
    return (date.month() == 1 && date.day() <= 3) || (date.month() == 12 && date.day() == 31);
}

// The equinox formula: 0.242194 is the part of a day by which the solar year exceeds 365 days,
// the truncated quarter counts the leap days since the base year. Every step truncates toward
// zero, also where the quarter is negative.
int equinoxDay(int year, double constantTo1979, double constantTo2099, double constantTo2150)
{
    if (year < 1948 || year > 2150)
        return 99;
    const double constant = year <= 1979 ? constantTo1979 : year <= 2099 ? constantTo2099 : constantTo2150;
    const int leapBaseYear = year <= 1979 ? 1983 : 1980;
    return static_cast<int>(std::trunc(constant + 0.242194 * (year - 1980) - std::trunc((year - leapBaseYear) / 4.0)));
}

} // namespace

bool isTradingDay(const QDate &date)
{
    if (!date.isValid() || date.dayOfWeek() == Qt::Saturday || date.dayOfWeek() == Qt::Sunday)
        return false;
    return !isHoliday(date);
}

bool isTradingDay(const QDateTime &moment)
{
    return isTradingDay(moment.date());
}

bool isTradingTime(const QDateTime &moment, int earlyStart)
{
    // The first and the last trading days of 2006 and 2007 were half-day sessions.
    static const std::array halfDays{QDate(2006, 1, 4), QDate(2006, 12, 29), QDate(2007, 1, 4), QDate(2007, 12, 28)};
    const bool halfDay = std::ranges::find(halfDays, moment.date()) != halfDays.end();

    const QString time = moment.time().toString(QStringLiteral("hhmm"));
    const QString start = earlyStart != 0 ? QStringLiteral("0200") : QStringLiteral("0900");
    const QString end = halfDay ? QStringLiteral("1050") : QStringLiteral("1450");
    return start <= time && time <= end;
}

bool isHoliday(const QDate &date)
{
    return date >= holidayLawStart && (isExchangeClosure(date) || isNationalHoliday(date));
}

bool isHoliday(const QDateTime &moment)
{
    return isHoliday(moment.date());
}

int vernalEquinoxDay(int year)
{
    return equinoxDay(year, 20.8357, 20.8431, 21.851);
}

int autumnalEquinoxDay(int year)
{
    return equinoxDay(year, 23.2588, 23.2488, 24.2488);
}

QDateTime getZenEigyoubi(const QDateTime &moment)
{
    constexpr int maxDaysBack = 31;
    for (int daysBack = 0; daysBack < maxDaysBack; ++daysBack) {
        const QDateTime candidate = moment.addDays(-daysBack);
        if (isTradingDay(candidate))
            return candidate;
    }
    return moment.addDays(-maxDaysBack);
}

QDate tradingDayBefore(const QDate &date)
{
    return getZenEigyoubi(QDateTime(date.addDays(-1), QTime(0, 0))).date();
}
