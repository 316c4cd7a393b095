#include "marketdata/modMarket.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

bool isWeekend(const QDate &date)
{
    return date.dayOfWeek() == Qt::Saturday || date.dayOfWeek() == Qt::Sunday;
}

struct ClosedWeekdays {
    int year;
    std::vector<std::pair<int, int>> monthDays;
};

// Every weekday of these years on which the exchanges were (or will be) closed.
const std::vector<ClosedWeekdays> closedYears{
    {2007,
     {{1, 1},
      {1, 2},
      {1, 3},
      {1, 8},
      {2, 12},
      {3, 21},
      {4, 30},
      {5, 3},
      {5, 4},
      {7, 16},
      {9, 17},
      {9, 24},
      {10, 8},
      {11, 23},
      {12, 24},
      {12, 31}}},
    {2019, {{1, 1}, {1, 2}, {1, 3},  {1, 14}, {2, 11}, {3, 21}, {4, 29},  {4, 30},  {5, 1},  {5, 2},
            {5, 3}, {5, 6}, {7, 15}, {8, 12}, {9, 16}, {9, 23}, {10, 14}, {10, 22}, {11, 4}, {12, 31}}},
    {2020,
     {{1, 1},
      {1, 2},
      {1, 3},
      {1, 13},
      {2, 11},
      {2, 24},
      {3, 20},
      {4, 29},
      {5, 4},
      {5, 5},
      {5, 6},
      {7, 23},
      {7, 24},
      {8, 10},
      {9, 21},
      {9, 22},
      {11, 3},
      {11, 23},
      {12, 31}}},
    {2021,
     {{1, 1},
      {1, 11},
      {2, 11},
      {2, 23},
      {4, 29},
      {5, 3},
      {5, 4},
      {5, 5},
      {7, 22},
      {7, 23},
      {8, 9},
      {9, 20},
      {9, 23},
      {11, 3},
      {11, 23},
      {12, 31}}},
    {2024,
     {{1, 1},
      {1, 2},
      {1, 3},
      {1, 8},
      {2, 12},
      {2, 23},
      {3, 20},
      {4, 29},
      {5, 3},
      {5, 6},
      {7, 15},
      {8, 12},
      {9, 16},
      {9, 23},
      {10, 14},
      {11, 4},
      {12, 31}}},
    {2025,
     {{1, 1},
      {1, 2},
      {1, 3},
      {1, 13},
      {2, 11},
      {2, 24},
      {3, 20},
      {4, 29},
      {5, 5},
      {5, 6},
      {7, 21},
      {8, 11},
      {9, 15},
      {9, 23},
      {10, 13},
      {11, 3},
      {11, 24},
      {12, 31}}},
    {2026,
     {{1, 1},
      {1, 2},
      {1, 12},
      {2, 11},
      {2, 23},
      {3, 20},
      {4, 29},
      {5, 4},
      {5, 5},
      {5, 6},
      {7, 20},
      {8, 11},
      {9, 21},
      {9, 22},
      {9, 23},
      {10, 12},
      {11, 3},
      {11, 23},
      {12, 31}}},
};

TEST(ExchangeCalendar, TradesOnExactlyTheOpenWeekdaysOfWholeYears)
{
    for (const auto &[year, monthDays] : closedYears) {
        std::vector<QDate> closed;
        for (const auto &[month, day] : monthDays)
            closed.emplace_back(year, month, day);
        for (QDate date(year, 1, 1); date.year() == year; date = date.addDays(1)) {
            const bool open = !isWeekend(date) && std::ranges::find(closed, date) == closed.end();
            EXPECT_EQ(isTradingDay(date), open) << date.toString(Qt::ISODate).toStdString();
        }
    }
}

struct HolidayCase {
    QDate date;
    bool holiday;
    const char *why;
};

const HolidayCase holidayCases[]{
    {{1948, 1, 2}, false, "closure day before the holiday law"},
    {{1948, 5, 3}, false, "Constitution Day before the holiday law"},
    {{1948, 9, 23}, true, "first autumnal equinox under the law"},
    {{1948, 12, 31}, true, "year-end closure"},
    {{1959, 4, 10}, true, "one-off: royal wedding"},
    {{1965, 9, 15}, false, "Respect for the Aged Day not yet a holiday"},
    {{1966, 9, 15}, true, "Respect for the Aged Day, fixed date"},
    {{1966, 10, 10}, true, "Sports Day, fixed date"},
    {{1966, 2, 11}, false, "National Foundation Day not yet a holiday"},
    {{1969, 2, 11}, true, "National Foundation Day"},
    {{1973, 2, 12}, false, "Sunday holiday before substitute holidays existed"},
    {{1973, 4, 30}, true, "first substitute holiday"},
    {{1984, 5, 4}, false, "day between two holidays before the citizens' holiday"},
    {{1988, 5, 4}, true, "citizens' holiday"},
    {{1988, 4, 29}, true, "Emperor's birthday"},
    {{1988, 12, 23}, false, "23 December before the new Emperor's birthday"},
    {{1989, 1, 16}, true, "substitute for 15 January on a Sunday"},
    {{1989, 2, 24}, true, "one-off: state funeral"},
    {{1990, 11, 12}, true, "one-off: enthronement ceremony"},
    {{1993, 6, 9}, true, "one-off: royal wedding"},
    {{1995, 5, 4}, true, "citizens' holiday"},
    {{1997, 5, 4}, false, "a Sunday between two holidays was no holiday before 2007"},
    {{1997, 7, 21}, true, "substitute for Marine Day on a Sunday"},
    {{1998, 5, 4}, true, "substitute for 3 May on a Sunday"},
    {{1999, 1, 15}, true, "Coming of Age Day, fixed date"},
    {{1999, 10, 11}, true, "substitute for Sports Day on a Sunday"},
    {{2000, 1, 10}, true, "Coming of Age Day, second Monday"},
    {{2000, 1, 14}, false, "15 January no longer a holiday"},
    {{2000, 10, 9}, true, "Sports Day, second Monday"},
    {{2000, 10, 10}, false, "10 October no longer a holiday"},
    {{2002, 9, 16}, true, "substitute for Respect for the Aged Day on a Sunday"},
    {{2003, 7, 21}, true, "Marine Day, third Monday"},
    {{2003, 9, 15}, true, "Respect for the Aged Day, third Monday"},
    {{2006, 5, 4}, true, "citizens' holiday"},
    {{2008, 5, 6}, true, "substitute for Greenery Day on a Sunday, after Children's Day"},
    {{2009, 5, 6}, true, "substitute for 3 May on a Sunday, two days later"},
    {{2009, 9, 22}, true, "citizens' holiday before the equinox"},
    {{2013, 5, 6}, true, "substitute for Children's Day on a Sunday"},
    {{2015, 8, 11}, false, "Mountain Day not yet a holiday"},
    {{2015, 9, 22}, true, "citizens' holiday before the equinox"},
    {{2016, 8, 11}, true, "Mountain Day"},
    {{2018, 12, 24}, true, "substitute for the Emperor's birthday on a Sunday"},
    {{2019, 12, 23}, false, "no Emperor's birthday in 2019"},
    {{2020, 7, 20}, false, "Marine Day moved in 2020"},
    {{2020, 8, 11}, false, "Mountain Day moved in 2020"},
    {{2020, 10, 12}, false, "Sports Day moved in 2020"},
    {{2021, 7, 19}, false, "Marine Day moved in 2021"},
    {{2021, 8, 11}, false, "Mountain Day moved in 2021"},
    {{2021, 10, 11}, false, "Sports Day moved in 2021"},
    {{2015, 1, 2}, true, "New Year closure on a Friday"},
    {{2023, 1, 2}, true, "substitute for New Year's Day on a Sunday"},
    {{2023, 1, 3}, true, "New Year closure on a Tuesday"},
    {{2025, 12, 30}, false, "30 December is a trading day"},
    {{2026, 5, 3}, true, "Constitution Day on a Sunday"},
    {{2026, 12, 30}, false, "30 December is a trading day"},
    {{2027, 3, 22}, true, "substitute for the vernal equinox on a Sunday"},
    {{2037, 9, 22}, true, "citizens' holiday before the equinox"},
};

TEST(ExchangeCalendar, FollowsTheHolidayLawInForceOnEachDate)
{
    for (const auto &[date, holiday, why] : holidayCases) {
        const std::string label = date.toString(Qt::ISODate).toStdString() + ": " + why;
        EXPECT_EQ(isHoliday(date), holiday) << label;
        EXPECT_EQ(isTradingDay(date), !holiday && !isWeekend(date)) << label;
        // The time of day plays no part.
        const QDateTime lateEvening(date, QTime(23, 59, 59));
        EXPECT_EQ(isHoliday(lateEvening), holiday) << label;
        EXPECT_EQ(isTradingDay(lateEvening), !holiday && !isWeekend(date)) << label;
    }
}

TEST(ExchangeCalendar, InvalidDateIsNoTradingDay)
{
    EXPECT_FALSE(isTradingDay(QDate()));
    EXPECT_FALSE(isTradingDay(QDateTime()));
}

TEST(ExchangeCalendar, EquinoxDaysFollowTheFormula)
{
    struct Case {
        int year;
        int vernal;
        int autumnal;
    };
    const Case cases[]{
        {1947, 99, 99}, {1948, 21, 23}, {1979, 21, 24}, {1980, 20, 23}, {2006, 21, 23}, {2008, 20, 23}, {2012, 20, 22},
        {2020, 20, 22}, {2026, 20, 23}, {2099, 20, 23}, {2100, 20, 23}, {2150, 21, 23}, {2151, 99, 99},
    };
    for (const auto &[year, vernal, autumnal] : cases) {
        EXPECT_EQ(vernalEquinoxDay(year), vernal) << year;
        EXPECT_EQ(autumnalEquinoxDay(year), autumnal) << year;
    }

    for (QDate date(2151, 3, 1); date.month() == 3; date = date.addDays(1))
        EXPECT_FALSE(isHoliday(date)) << date.toString(Qt::ISODate).toStdString();
}

TEST(ExchangeCalendar, OrderWindowIncludesBothEnds)
{
    struct Case {
        QDate date;
        QTime time;
        int earlyStart;
        bool inside;
    };
    const QDate ordinaryDay(2026, 3, 10);
    const QDate halfDay(2007, 12, 28);
    const Case cases[]{
        {ordinaryDay, {8, 59, 59}, 0, false}, {ordinaryDay, {9, 0}, 0, true},     {ordinaryDay, {14, 50, 59}, 0, true},
        {ordinaryDay, {14, 51}, 0, false},    {ordinaryDay, {2, 0}, 0, false},    {ordinaryDay, {1, 59}, 1, false},
        {ordinaryDay, {2, 0}, 1, true},       {ordinaryDay, {2, 0}, -1, true},    {ordinaryDay, {14, 51}, 1, false},
        {halfDay, {10, 50}, 0, true},         {halfDay, {10, 51}, 0, false},      {{2006, 1, 4}, {10, 51}, 0, false},
        {{2006, 12, 29}, {10, 51}, 0, false}, {{2007, 1, 4}, {10, 51}, 0, false}, {{2008, 1, 4}, {10, 51}, 0, true},
        {{2026, 3, 14}, {10, 0}, 0, true}, // a Saturday: weekends are the caller's test
    };
    for (const auto &[date, time, earlyStart, inside] : cases) {
        EXPECT_EQ(isTradingTime(QDateTime(date, time), earlyStart), inside)
            << date.toString(Qt::ISODate).toStdString() << ' ' << time.toString(Qt::ISODate).toStdString() << " early "
            << earlyStart;
    }
}

TEST(ExchangeCalendar, LatestTradingDayKeepsTheTimeOfDay)
{
    const std::pair<QDateTime, QDateTime> cases[]{
        {QDateTime({2007, 1, 8}, {}), QDateTime({2007, 1, 5}, {})},
        {QDateTime({2007, 1, 3}, {}), QDateTime({2006, 12, 29}, {})},
        {QDateTime({2026, 5, 7}, {}), QDateTime({2026, 5, 7}, {})},
        {QDateTime({2026, 5, 6}, {15, 30}), QDateTime({2026, 5, 1}, {15, 30})},
        {QDateTime({2019, 5, 6}, {}), QDateTime({2019, 4, 26}, {})},
        {QDateTime({2026, 9, 23}, {}), QDateTime({2026, 9, 18}, {})},
        {QDateTime({2026, 1, 4}, {}), QDateTime({2025, 12, 30}, {})},
    };
    for (const auto &[argument, latest] : cases) {
        EXPECT_EQ(getZenEigyoubi(argument), latest) << argument.toString(Qt::ISODate).toStdString();
    }
}

} // namespace
