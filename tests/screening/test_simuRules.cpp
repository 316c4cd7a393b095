#include "screening/SimuFixture.h"

#include "core/SettingsRecords.h"
#include "platform/ui/Printer.h"
#include "screening/frmSimu.h"

#include <QRegularExpression>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// One stock "2001" alone on 2 to 13 March, back-tested from Tuesday 3 to Friday 6 March
// with one purchase slot; `bars` replaces its flat price on single days.
struct RuleCase {
    const char *name;
    int capital;
    int unitShares;
    double flatPrice;
    std::map<int, SimuFixture::Bar> bars{}; // by day of March
    double profitRate;
    int stopKind;
    int stopRate;
    int stopDays;
    QStringList trades;  // "dd 買 price x shares" per trade line
    QStringList closing; // the closing block's cash, holdings and rate lines
};

class SimuRuleTest : public SimuFixture, public ::testing::WithParamInterface<RuleCase> {};

QStringList tradesOf(const QStringList &lines)
{
    static const QRegularExpression trade(
        u"^2026/03/(\\d\\d) : 2001 .*を *([\\d,]+)円で *([\\d,]+)株(.)約定しました。$"_s);
    QStringList trades;
    for (const QString &line : lines) {
        const QRegularExpressionMatch m = trade.match(line);
        if (m.hasMatch())
            trades << m.captured(1) + u' ' + m.captured(4) + u' ' + m.captured(2) + u" x "_s + m.captured(3);
    }
    return trades;
}

TEST_P(SimuRuleTest, TradesAndClosingFigures)
{
    const RuleCase &rule = GetParam();
    addReferenceDays(QDate(2026, 2, 16), QDate(2026, 3, 13));
    addStock(u"2001"_s, u"t1"_s, rule.unitShares, u"ガンマ商事"_s);
    for (const QDate &day : weekdays(QDate(2026, 2, 16), QDate(2026, 3, 13))) {
        const auto special = rule.bars.find(day.month() == 3 ? day.day() : 0);
        Bar bar = special != rule.bars.end() ? special->second : Bar{.open = rule.flatPrice};
        bar.code = u"2001"_s;
        bar.day = day;
        addBar(bar);
    }
    simBS.TousiGanpon = rule.capital;
    simBS.KounyuTensu = 1;
    simOD.ODRiekiWariaiUri1 = rule.profitRate;
    simOD.ODSongiriTypeUri1 = rule.stopKind;
    simOD.ODSongiriWariaiUri1 = rule.stopRate;
    simOD.ODSongiriDUri1 = rule.stopDays;

    ui::PrintDialog printDialog;
    frmSimu window(printDialog);
    const QStringList lines = run(window, QDate(2026, 3, 3), QDate(2026, 3, 6));
    EXPECT_EQ(tradesOf(lines), rule.trades);
    ASSERT_GE(lines.size(), 6);
    const qsizetype n = lines.size();
    EXPECT_EQ((QStringList{lines[n - 5], lines[n - 4], lines[n - 2]}), rule.closing);
}

SimuFixture::Bar flat(double price)
{
    return {.open = price};
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimuRuleTest,
    ::testing::Values(
        // Bought and sold the same day only when the profit-take rate is 0, every day anew.
        RuleCase{.name = "SameDaySellAtRateZero",
                 .capital = 1050000,
                 .unitShares = 100,
                 .flatPrice = 1000,
                 .profitRate = 0,
                 .stopKind = 2,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 1,000 x 1,000"_s, u"03 売 1,000 x 1,000"_s, u"04 買 1,000 x 1,000"_s,
                            u"04 売 1,000 x 1,000"_s, u"05 買 1,000 x 1,000"_s, u"05 売 1,000 x 1,000"_s,
                            u"06 買 1,000 x 1,000"_s, u"06 売 1,000 x 1,000"_s},
                 .closing = {u"現　金      1,050,000"_s, u"持ち株              0"_s, u"利益率           100%"_s}},
        // Kind 0 sells by neither rule, however far the price falls and however long held.
        RuleCase{.name = "KindZeroSellsByNeitherRule",
                 .capital = 1050000,
                 .unitShares = 100,
                 .flatPrice = 500,
                 .bars = {{3, flat(1000)}},
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 1,000 x 1,000"_s},
                 .closing = {u"現　金         50,000"_s, u"持ち株        500,000"_s, u"利益率            52%"_s}},
        // Held days must exceed the limit: 2 days on the 5th is kept, 3 on the 6th sold.
        RuleCase{.name = "HoldingDaysAreStrict",
                 .capital = 1050000,
                 .unitShares = 100,
                 .flatPrice = 1000,
                 .profitRate = 10,
                 .stopKind = 2,
                 .stopRate = 5,
                 .stopDays = 2,
                 .trades = {u"03 買 1,000 x 1,000"_s, u"06 売 1,000 x 1,000"_s},
                 .closing = {u"現　金      1,050,000"_s, u"持ち株              0"_s, u"利益率           100%"_s}},
        // -5% exactly is kept, below it sold. The fixed amount per purchase then costs more
        // than the cash left, so the stock is not bought again.
        RuleCase{.name = "StopLossIsStrict",
                 .capital = 1050000,
                 .unitShares = 100,
                 .flatPrice = 1000,
                 .bars = {{4, flat(950)}, {5, flat(949)}, {6, flat(949)}},
                 .profitRate = 10,
                 .stopKind = 1,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 1,000 x 1,000"_s, u"05 売 949 x 1,000"_s},
                 .closing = {u"現　金        999,000"_s, u"持ち株              0"_s, u"利益率            95%"_s}},
        // A buy that would leave no cash at all is not made; one yen more and it is.
        RuleCase{.name = "NoBuyThatLeavesCashAtZero",
                 .capital = 100000,
                 .unitShares = 100,
                 .flatPrice = 1000,
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {},
                 .closing = {u"現　金        100,000"_s, u"持ち株              0"_s, u"利益率           100%"_s}},
        RuleCase{.name = "BuyThatLeavesOneYen",
                 .capital = 100001,
                 .unitShares = 100,
                 .flatPrice = 1000,
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 1,000 x 100"_s},
                 .closing = {u"現　金              1"_s, u"持ち株        100,000"_s, u"利益率           100%"_s}},
        // Adjusted prices: raw × 調整終値 ÷ 終値; the mid-price 1,000.75 goes down to 1,000.
        RuleCase{.name = "MidPriceOfAdjustedHighAndLow",
                 .capital = 1050000,
                 .unitShares = 100,
                 .flatPrice = 1000,
                 .bars = {{3, {.open = 2000, .high = 2103, .low = 1900, .close = 2000, .adjustedClose = 1000}}},
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 1,000 x 1,000"_s},
                 .closing = {u"現　金         50,000"_s, u"持ち株      1,000,000"_s, u"利益率           100%"_s}},
        // 1,000,000 / 16,000 = 62.5 shares, halves to the even 62 (unit 1).
        RuleCase{.name = "SharesHalveToEven",
                 .capital = 1000000,
                 .unitShares = 1,
                 .flatPrice = 16000,
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 16,000 x 62"_s},
                 .closing = {u"現　金          8,000"_s, u"持ち株        992,000"_s, u"利益率           100%"_s}},
        // A unit of more shares than the amount buys: no purchase.
        RuleCase{.name = "UnitAboveWhatTheAmountBuys",
                 .capital = 1000000,
                 .unitShares = 1000,
                 .flatPrice = 1100,
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {},
                 .closing = {u"現　金      1,000,000"_s, u"持ち株              0"_s, u"利益率           100%"_s}},
        // 201 shares × 1,000.5 = 201,100.5 halves to the even 201,100.
        RuleCase{.name = "HoldingsSumHalvesToEven",
                 .capital = 201000,
                 .unitShares = 1,
                 .flatPrice = 1000.5,
                 .bars = {{3, {.open = 1000, .high = 990, .low = 990, .close = 990}}},
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 990 x 201"_s},
                 .closing = {u"現　金          2,010"_s, u"持ち株        201,100"_s, u"利益率           101%"_s}},
        // 201,000 of 200,000 is 100.5%, shown as 101% (halves away from zero).
        RuleCase{.name = "ProfitRateHalvesAwayFromZero",
                 .capital = 200000,
                 .unitShares = 100,
                 .flatPrice = 995,
                 .bars = {{3, {.open = 1000, .high = 990, .low = 990, .close = 990}}},
                 .profitRate = 10,
                 .stopKind = 0,
                 .stopRate = 5,
                 .stopDays = 0,
                 .trades = {u"03 買 990 x 200"_s},
                 .closing = {u"現　金          2,000"_s, u"持ち株        199,000"_s, u"利益率           101%"_s}}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

} // namespace
