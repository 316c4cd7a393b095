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
        {0, 30, 30, 900, 100, 200, true},      // off
        {2, 30, 30, 900, 100, 200, true},      // only 1 is on
        {1, 10, 20, 100, 100, 200, true},      // at the low, whatever the band
        {1, 30, 30, 130, 100, 200, true},      // exactly 30 %
        {1, 30, 30, 131, 100, 200, false},     // 31 %
        {1, 30, 30, 129, 100, 200, false},     // 29 %
        {1, 0, 100, 200, 100, 200, true},      // the high, band to 100 %
        {1, 0, 100, 201, 100, 200, false},     // above the window
        {1, 0, 100, 150, 150, 150, true},      // high = low = price
        {1, 0, 100, 151, 150.5, 150.5, false}, // high = low, price elsewhere: no position
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

    const QStringList lines = logged();
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
        double macd, signal, rciS, rciM;
        qint64 volume;
        bool passes;
    };
    const auto off = [](SL &) {};
    const auto volumeTimes = [](int factor) {
        return [factor](SL &c) { c.SLSelDekidakaKyutou = 1, c.SLDekidakaKyutou = factor; };
    };
    const auto macdOn = [](SL &c) { c.SLSelMACD = 1; };
    const auto rciOn = [](SL &c) { c.SLSelRCI = 1; };
    const std::vector<Case> cases{
        {"all off, valid row", "1301", off, 0, 0, 0, 0, 0, true},
        {"no row that day", "9999", off, 0, 0, 0, 0, 0, false},
        {"zero close", "no_close", off, 0, 0, 0, 0, 0, false},
        {"zero volume", "no_volume", off, 0, 0, 0, 0, 0, false},
        {"split day", "split", off, 0, 0, 0, 0, 0, false},
        {"volume switch off", "1301", [](SL &c) { c.SLDekidakaKyutou = 2; }, 0, 0, 0, 0, 1, true},
        {"factor 2: twice passes", "1301", volumeTimes(2), 0, 0, 0, 0, 2000, true},
        {"factor 2: less fails", "1301", volumeTimes(2), 0, 0, 0, 0, 1999, false},
        {"factor 0 passes", "1301", volumeTimes(0), 0, 0, 0, 0, 1, true},
        {"factor -1 fails", "1301", volumeTimes(-1), 0, 0, 0, 0, 5000, false},
        {"MACD rose, signal fell", "1301", macdOn, 1.5, 1.5, 0, 0, 0, true},
        {"MACD equal fails", "1301", macdOn, 1, 1.5, 0, 0, 0, false},
        {"signal equal fails", "1301", macdOn, 1.5, 2, 0, 0, 0, false},
        {"RCI rose and fell", "1301", rciOn, 0, 0, -10, 5, 0, true},
        {"short RCI equal fails", "1301", rciOn, 0, 0, -20, 5, 0, false},
        {"middle RCI rose fails", "1301", rciOn, 0, 0, -10, 11, 0, false},
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
