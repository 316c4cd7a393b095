#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "screening/ScreeningFixture.h"
#include "screening/modKaiSign.h"
#include "screening/modScreeningFilter.h"

#include <functional>

namespace {

class ScreeningFilterTest : public ScreeningFixture {
protected:
    static Row row(const QString &code, const QDate &day)
    {
        Row r;
        r.code = code;
        r.day = day;
        return r;
    }
};

TEST(ScreeningFilter, MarketCountTakesOnlyFlagsOfOne)
{
    Sizyou markets;
    EXPECT_EQ(getSizyouSu(markets), 0);
    markets.SLSizyouT1 = 1;
    markets.SLSizyouJS = 1;
    markets.SLSizyouT2 = 2;
    markets.SLSizyouHC = -1;
    EXPECT_EQ(getSizyouSu(markets), 2);
}

TEST_F(ScreeningFilterTest, NewestReferenceDayOnOrBeforeTheDay)
{
    const QDate friday(2026, 12, 4);
    for (const QDate &day : {friday.addDays(-1), friday})
        addRow(row(QStringLiteral("7203"), day));
    addRow(row(QStringLiteral("1301"), friday.addDays(1))); // another stock's Saturday row

    EXPECT_EQ(getMaxDate(friday.addDays(2)), friday);                // Sunday
    EXPECT_EQ(getMaxDate(friday), friday);                           // a stored day
    EXPECT_EQ(getMaxDate(friday.addDays(-10)), friday.addDays(-10)); // before the data: the day itself
}

TEST_F(ScreeningFilterTest, PriceWindowIncludesBothEndsAndZeroCloses)
{
    const QDate first(2026, 6, 1);
    const std::vector<std::pair<int, double>> closes{{-1, 10}, {0, 300}, {3, 0}, {5, 200}, {6, 5}};
    double macd = -2;
    for (const auto &[offset, close] : closes) {
        Row r = row(QStringLiteral("1301"), first.addDays(offset));
        r.adjustedClose = close;
        r.macd = macd++;
        addRow(r);
    }
    const KikanMaxMin window = getKikanMaxMin(first, first.addDays(5), QStringLiteral("1301"), QStringLiteral("t1"));
    EXPECT_EQ(window.high, 300);
    EXPECT_EQ(window.low, 0);
    EXPECT_EQ(window.macdHigh, 1);
    EXPECT_EQ(window.macdLow, -1);

    const KikanMaxMin empty = getKikanMaxMin(first, first.addDays(5), QStringLiteral("1'301"), QStringLiteral("t1"));
    EXPECT_EQ(empty.high, 0);
    EXPECT_EQ(empty.low, 0);
    EXPECT_EQ(empty.macdHigh, 0);
    EXPECT_EQ(empty.macdLow, 0);
}

TEST(ScreeningFilter, PositionTestsBetweenLowAndHigh)
{
    struct Case {
        int on, from, to;
        qint64 price;
        double low, high;
        bool passes;
    };
    const std::vector<Case> cases{
        {.on = 0, .from = 30, .to = 30, .price = 900, .low = 100, .high = 200, .passes = true}, // off
        {.on = 2, .from = 30, .to = 30, .price = 900, .low = 100, .high = 200, .passes = true}, // only 1 is on
        // at the low, whatever the band
        {.on = 1, .from = 10, .to = 20, .price = 100, .low = 100, .high = 200, .passes = true},
        {.on = 1, .from = 30, .to = 30, .price = 130, .low = 100, .high = 200, .passes = true},  // exactly 30 %
        {.on = 1, .from = 30, .to = 30, .price = 131, .low = 100, .high = 200, .passes = false}, // 31 %
        {.on = 1, .from = 30, .to = 30, .price = 129, .low = 100, .high = 200, .passes = false}, // 29 %
        // the high, band to 100 %
        {.on = 1, .from = 0, .to = 100, .price = 200, .low = 100, .high = 200, .passes = true},
        {.on = 1, .from = 0, .to = 100, .price = 201, .low = 100, .high = 200, .passes = false}, // above the window
        {.on = 1, .from = 0, .to = 100, .price = 150, .low = 150, .high = 150, .passes = true},  // high = low = price
        // high = low, price elsewhere: no position
        {.on = 1, .from = 0, .to = 100, .price = 151, .low = 150.5, .high = 150.5, .passes = false},
    };
    for (const Case &c : cases) {
        SL price;
        price.SLSelTakayasu = c.on, price.SLWariaiS = c.from, price.SLWariaiE = c.to;
        SL macd;
        macd.SLSelMACDIti = c.on, macd.SLMACDItiS = c.from, macd.SLMACDItiE = c.to;
        EXPECT_EQ(checkKikanIti2(c.price, c.low, c.high, price), c.passes)
            << c.price << " in " << c.low << "-" << c.high;
        EXPECT_EQ(checkKikanIti(c.price, c.low, c.high, macd), c.passes) << c.price << " in " << c.low << "-" << c.high;
        EXPECT_TRUE(checkKikanIti2(c.price, c.low, c.high, macd));
    }
}

TEST(ScreeningFilter, NewHighOrNewLowOfTheWindow)
{
    struct Case {
        int on, type;
        qint64 price;
        bool passes;
    };
    // Window 100 to 200.
    const std::vector<Case> cases{
        {0, 1, 150, true}, {1, 1, 200, true},  {1, 1, 199, false},
        {1, 2, 100, true}, {1, 2, 101, false}, {1, 0, 99, true},
    };
    for (const Case &c : cases) {
        SL condition;
        condition.SLSelNensyorai = c.on, condition.SLNensyoraiType = c.type;
        EXPECT_EQ(checkKabukaZyouken(c.price, 100, 200, condition), c.passes) << c.type << " " << c.price;
    }
}

TEST_F(ScreeningFilterTest, TrendOfMiddleAverageByTheLatestDaysOfItsExtremes)
{
    const QDate first(2026, 6, 1);
    // A fraction no short decimal text matches exactly.
    const double third = 1000.0 / 3;
    struct Case {
        const char *what;
        std::vector<double> averages; // one per day from `first`
        bool rising;
        bool falling;
    };
    const std::vector<Case> cases{
        {"flat", {third, third, third}, false, false},
        {"rising", {100, third, 400}, true, false},
        {"falling", {400, third, 100}, false, true},
        {"repeated maximum gives its latest day", {400, 100, 400}, true, false},
        {"invalid rows left out", {0, 0, 0}, false, false},
    };
    int stock = 0;
    for (const Case &c : cases) {
        const QString code = QString::number(++stock);
        for (size_t i = 0; i < c.averages.size(); ++i) {
            Row r = row(code, first.addDays(qint64(i)));
            r.smaM = c.averages[i];
            addRow(r);
        }
        for (const int type : {1, 2})
            EXPECT_EQ(getSMAMaxMinDate(first, first.addDays(2), code, QStringLiteral("t1"), type, 5),
                      type == 1 ? c.rising : c.falling)
                << c.what << " type " << type;
    }
    // A row with a zero close is not a valid row.
    Row invalid = row(QStringLiteral("1"), first.addDays(3));
    invalid.adjustedClose = 0, invalid.smaM = 900;
    addRow(invalid);
    EXPECT_FALSE(getSMAMaxMinDate(first, first.addDays(3), QStringLiteral("1"), QStringLiteral("t1"), 1, 5));
}

TEST_F(ScreeningFilterTest, SameStockExecutionsWithinTheWholeDays)
{
    const QDate day(2026, 12, 10);
    struct Case {
        const char *registered;
        int days;
        bool found;
    };
    const std::vector<Case> cases{
        {"2026-12-09 23:59:59", 0, false}, {"2026-12-10 00:00:00", 0, true}, {"2026-12-10 23:59:59", 0, true},
        {"2026-12-11 00:00:00", 0, false}, {"2026-12-07 00:00:00", 3, true}, {"2026-12-06 23:59:59", 3, false},
    };
    for (const Case &c : cases) {
        gcnDB.execute(QStringLiteral("delete from ttcontracthistory"));
        addExecution(QStringLiteral("1301"), QStringLiteral("t1"), QString::fromUtf8(c.registered));
        addExecution(QStringLiteral("1301"), QStringLiteral("t2"), QStringLiteral("2026-12-10 12:00:00"));
        EXPECT_EQ(checkDouitsuMeigara(QStringLiteral("1301"), QStringLiteral("t1"), day, c.days), c.found)
            << c.registered << " within " << c.days;
    }
    EXPECT_FALSE(checkDouitsuMeigara(QStringLiteral("1301'"), QStringLiteral("t2"), day, 0));

    const QStringList lines = logLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{QStringLiteral("同一銘柄購入確認対象外範囲:2026/12/10 00:00:00-2026/12/10 23:59:59"),
                           QStringLiteral("同一銘柄購入確認対象外確認結果=存在しない"),
                           QStringLiteral("同一銘柄購入確認対象外範囲:2026/12/10 00:00:00-2026/12/10 23:59:59"),
                           QStringLiteral("同一銘柄購入確認対象外確認結果=存在する")}));
    EXPECT_TRUE(lines.contains(QStringLiteral("同一銘柄購入確認対象外範囲:2026/12/07 00:00:00-2026/12/10 23:59:59")));
}

// The candidate's previous-day row: close 500, volume 1000, MACD 1 below signal 2, short
// RCI -20 below middle RCI 10.
TEST_F(ScreeningFilterTest, PreviousDayConfirmationAsSwitchedOn)
{
    const QDate day(2026, 12, 9);
    Row previous = row(QStringLiteral("1301"), day);
    previous.volume = 1000, previous.macd = 1, previous.signal = 2, previous.rciS = -20, previous.rciM = 10;
    addRow(previous);
    for (const auto &[code, change] : std::vector<std::pair<const char *, std::function<void(Row &)>>>{
             {"no_close", [](Row &r) { r.adjustedClose = 0; }},
             {"no_volume", [](Row &r) { r.volume = 0; }},
             {"split", [](Row &r) { r.split = 2; }}}) {
        Row r = row(QString::fromUtf8(code), day);
        change(r);
        addRow(r);
    }

    struct Case {
        const char *what;
        const char *code;
        std::function<void(SL &)> condition;
        double macd = 0;
        double signal = 0;
        double rciS = 0;
        double rciM = 0;
        qint64 volume = 0;
        bool passes;
    };
    const auto off = [](SL &) {};
    const auto volumeTimes = [](int factor) {
        return [factor](SL &c) { c.SLSelDekidakaKyutou = 1, c.SLDekidakaKyutou = factor; };
    };
    const auto macdOn = [](SL &c) { c.SLSelMACD = 1; };
    const auto rciOn = [](SL &c) { c.SLSelRCI = 1; };
    const std::vector<Case> cases{
        {.what = "all off, valid row", .code = "1301", .condition = off, .passes = true},
        {.what = "no row that day", .code = "9999", .condition = off, .passes = false},
        {.what = "zero close", .code = "no_close", .condition = off, .passes = false},
        {.what = "zero volume", .code = "no_volume", .condition = off, .passes = false},
        {.what = "split day", .code = "split", .condition = off, .passes = false},
        {.what = "volume switch off",
         .code = "1301",
         .condition = [](SL &c) { c.SLDekidakaKyutou = 2; },
         .volume = 1,
         .passes = true},
        {.what = "factor 2: twice passes", .code = "1301", .condition = volumeTimes(2), .volume = 2000, .passes = true},
        {.what = "factor 2: less fails", .code = "1301", .condition = volumeTimes(2), .volume = 1999, .passes = false},
        {.what = "factor 0 passes", .code = "1301", .condition = volumeTimes(0), .volume = 1, .passes = true},
        {.what = "factor -1 fails", .code = "1301", .condition = volumeTimes(-1), .volume = 5000, .passes = false},
        {.what = "MACD rose, signal fell",
         .code = "1301",
         .condition = macdOn,
         .macd = 1.5,
         .signal = 1.5,
         .passes = true},
        {.what = "MACD equal fails", .code = "1301", .condition = macdOn, .macd = 1, .signal = 1.5, .passes = false},
        {.what = "signal equal fails", .code = "1301", .condition = macdOn, .macd = 1.5, .signal = 2, .passes = false},
        {.what = "RCI rose and fell", .code = "1301", .condition = rciOn, .rciS = -10, .rciM = 5, .passes = true},
        {.what = "short RCI equal fails", .code = "1301", .condition = rciOn, .rciS = -20, .rciM = 5, .passes = false},
        {.what = "middle RCI rose fails", .code = "1301", .condition = rciOn, .rciS = -10, .rciM = 11, .passes = false},
    };
    for (const Case &c : cases) {
        SL condition;
        c.condition(condition);
        EXPECT_EQ(checkKaiSign(day, QString::fromUtf8(c.code), QStringLiteral("t1"), c.macd, c.signal, c.rciS, c.rciM,
                               c.volume, condition),
                  c.passes)
            << c.what;
    }

    // MACD below its signal on the day is required too.
    Row crossedBefore = row(QStringLiteral("1302"), day);
    crossedBefore.macd = 3, crossedBefore.signal = 2;
    addRow(crossedBefore);
    SL macd;
    macd.SLSelMACD = 1;
    EXPECT_FALSE(checkKaiSign(day, QStringLiteral("1302"), QStringLiteral("t1"), 4, 1, 0, 0, 0, macd));
}

} // namespace
