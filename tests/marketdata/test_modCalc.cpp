#include "PriceRows.h"

#include "core/BusyGuard.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modCalc.h"
#include "platform/sys/Clock.h"
#include "support/ProgramDirFixture.h"

#include <QFile>
#include <QLabel>
#include <QTimer>

#include <cmath>
#include <random>

namespace {

const QString kCode = QStringLiteral("1301");
const QString kMarket = QStringLiteral("t1");
const QDate kFirstDay(2024, 1, 1); // a Monday
const QDate kFarDay(2099, 12, 31);

IndicatorValues firstRowValues(double price)
{
    IndicatorValues v;
    v.sma = {price, price, price};
    v.ema = {price, price, price};
    return v;
}

class CalcKabukaTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        setPeriods(shortPeriods());
        sys::setNow(QDateTime(QDate(2024, 6, 3), QTime(18, 30, 5)));
    }

    // Short windows so that a handful of rows shows every rule.
    static IndicatorPeriods shortPeriods()
    {
        IndicatorPeriods p;
        p.sma = {2, 3, 4};
        p.ema = {3, 4, 9};
        p.macdSignal = 2;
        p.rsi = 3;
        p.rci = {3, 4};
        p.vr = 3;
        return p;
    }

    static void calcAll(int continuation, const QDate &first = kFirstDay, const QDate &last = kFarDay)
    {
        calcKabuka(continuation, first, last, QString(), QString(), nullptr);
    }

    static void setStoredEma(const QDate &day, double shortEma, double middleEma, double longEma, double macd = 0)
    {
        gcnDB.execute(QStringLiteral("update ttstocks set 短期EMA = ?, 中期EMA = ?, 長期EMA = ?, MACD = ?"
                                     " where 銘柄コード = ? and 市場コード = ? and 日付 = ?"),
                      shortEma, middleEma, longEma, macd, kCode, kMarket, day);
    }

    QString logText() const
    {
        QFile log(path(QStringLiteral("Nimbra.log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }
};

TEST_F(CalcKabukaTest, FirstRowStartsEverySeriesAndAveragesGrowOverTheRowsRead)
{
    insertPrices(kCode, kMarket, kFirstDay, {100, 102, 101, 105, 105.4});
    calcAll(0);

    const auto rows = readSeries(kCode, kMarket);
    ASSERT_EQ(rows.size(), 5u);
    expectSameValues(rows[0].values, firstRowValues(100), "first row");
    const double expected[][3] = {
        {100, 100, 100}, {101, 101, 101}, {101.5, 101, 101}, {103, 102.7, 102}, {105.2, 103.8, 103.4}};
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t s = 0; s < 3; ++s)
            EXPECT_DOUBLE_EQ(rows[i].values.sma[s], expected[i][s]) << "row " << i << " average " << s;
    for (const auto &row : rows)
        EXPECT_EQ(row.updated, QStringLiteral("2024-06-03 18:30:05"));
}

TEST_F(CalcKabukaTest, AveragesReachIntoEarlierRowsWithEitherFlagWhileEmasStartAfresh)
{
    const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, {100, 102, 101, 105, 105.4});
    for (const int continuation : {0, 1}) {
        // The three earlier rows were imported but never computed: their EMAs are 0.
        calcAll(continuation, days[3]);
        const IndicatorValues v = readIndicators(kCode, kMarket, days[3]).values;
        EXPECT_DOUBLE_EQ(v.sma[0], 103) << continuation;
        EXPECT_DOUBLE_EQ(v.sma[1], 102.7) << continuation;
        EXPECT_DOUBLE_EQ(v.sma[2], 102) << continuation;
        EXPECT_DOUBLE_EQ(v.ema[0], 105) << continuation;
        EXPECT_DOUBLE_EQ(v.ema[2], 105) << continuation;
        EXPECT_DOUBLE_EQ(v.up, 4) << continuation; // against the stored day before
        EXPECT_EQ(readIndicators(kCode, kMarket, days[2]).updated, QString()) << "earlier rows stay as they were";
    }
}

TEST_F(CalcKabukaTest, EachEmaContinuesFromItsOwnStoredValueOnlyWithTheFlag)
{
    const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, {100, 110});
    setStoredEma(days[0], 100, 0, 90);
    const struct {
        int continuation;
        double shortEma, middleEma, longEma, macd;
    } cases[] = {
        // f = 2/(3+1) = 0.5 on 100; the middle one has no stored value; f = 0.2 on 90.
        {1, 105, 110, 94, -5},
        {0, 110, 110, 110, 0},
    };
    for (const auto &c : cases) {
        calcAll(c.continuation, days[1]);
        const IndicatorValues v = readIndicators(kCode, kMarket, days[1]).values;
        EXPECT_DOUBLE_EQ(v.ema[0], c.shortEma) << c.continuation;
        EXPECT_DOUBLE_EQ(v.ema[1], c.middleEma) << c.continuation;
        EXPECT_DOUBLE_EQ(v.ema[2], c.longEma) << c.continuation;
        EXPECT_DOUBLE_EQ(v.macd, c.macd) << c.continuation;
    }
}

TEST_F(CalcKabukaTest, MacdIsShortMinusMiddleEmaAndItsSignalAveragesIt)
{
    insertPrices(kCode, kMarket, kFirstDay, {100, 110, 104});
    calcAll(0);
    const auto rows = readSeries(kCode, kMarket);
    // Row 2: short 0.5·110 + 0.5·100 = 105, middle 0.4·110 + 0.6·100 = 104, long 102.
    EXPECT_DOUBLE_EQ(rows[1].values.ema[2], 102);
    EXPECT_DOUBLE_EQ(rows[1].values.macd, 1);
    EXPECT_DOUBLE_EQ(rows[1].values.signal, 0.5);
    // Row 3: short 0.5·104 + 0.5·105 = 104.5, middle 0.4·104 + 0.6·104 = 104, MACD 0.5.
    EXPECT_DOUBLE_EQ(rows[2].values.macd, 0.5);
    EXPECT_DOUBLE_EQ(rows[2].values.signal, 0.75); // (1 + 0.5) / 2, stored unrounded
}

TEST_F(CalcKabukaTest, EmasFollowAStepInThePriceAllTheWay)
{
    setPeriods(defaultPeriods());
    std::vector<double> prices(100, 80);
    prices.resize(400, 100);
    const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, prices);
    calcAll(0);
    for (const QDate &day : days.mid(110))
        calcKabuka(1, day, day, kCode, kMarket, nullptr); // the daily update continues the stored values

    std::array<double, 3> ema = {prices[0], prices[0], prices[0]};
    for (std::size_t t = 1; t < prices.size(); ++t) {
        for (std::size_t s = 0; s < ema.size(); ++s) {
            const double f = 2.0 / (defaultPeriods().ema[s] + 1);
            ema[s] = f * prices[t] + (1 - f) * ema[s];
        }
    }
    const IndicatorValues last = readIndicators(kCode, kMarket, days.last()).values;
    for (std::size_t s = 0; s < ema.size(); ++s)
        EXPECT_DOUBLE_EQ(last.ema[s], ema[s]) << s;
    EXPECT_GT(last.ema[2], 99.99);
    EXPECT_DOUBLE_EQ(last.macd, ema[0] - ema[1]);
    EXPECT_LT(last.macd, 1e-6);
    EXPECT_LT(last.signal, 1e-6);
    EXPECT_LT(readIndicators(kCode, kMarket, days[109]).values.ema[2], 99) << "ten days after the step";
}

TEST_F(CalcKabukaTest, SignalContinuesOverStoredMacdsUntilARowWithoutEmas)
{
    const struct {
        int continuation;
        int length;
        double secondShortEma, secondLongEma;
        double signal;
    } cases[] = {
        {1, 4, 100, 100, 4.5},                           // (8 + 6 + 4 + 0) / 4
        {1, 3, 100, 100, 10.0 / 3},                      // (6 + 4 + 0) / 3
        {1, 4, 0, 100, 2},                               // stops at the second row: (4 + 0) / 2
        {1, 4, 100, 0, 2},          {0, 4, 100, 100, 0}, // starts afresh: the run's own MACD only
    };
    for (const auto &c : cases) {
        gcnDB.executeScript(QStringLiteral("delete from ttstocks"));
        const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, {100, 100, 100, 100});
        setStoredEma(days[0], 100, 100, 100, 8);
        setStoredEma(days[1], c.secondShortEma, 100, c.secondLongEma, 6);
        setStoredEma(days[2], 100, 100, 100, 4);
        MACDSigSMA = c.length;
        calcAll(c.continuation, days[3]);
        const IndicatorValues v = readIndicators(kCode, kMarket, days[3]).values;
        EXPECT_DOUBLE_EQ(v.macd, 0);
        EXPECT_DOUBLE_EQ(v.signal, c.signal) << c.continuation << " " << c.length << " " << c.secondShortEma;
    }
}

TEST_F(CalcKabukaTest, DayMovesRoundHalfToEvenAndRsiAveragesThem)
{
    insertPrices(kCode, kMarket, kFirstDay, {100, 102.5, 101, 104.5, 104.5, 103, 101});
    calcAll(0);
    const auto rows = readSeries(kCode, kMarket);
    const double up[] = {0, 2, 0, 4, 0, 0, 0};
    const double down[] = {0, 0, 2, 0, 0, 2, 2};
    // No move yet; rises only; then windows of three; falls only.
    const double rsi[] = {0, 100, 50, 75, 66.7, 66.7, 0};
    ASSERT_EQ(rows.size(), 7u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_DOUBLE_EQ(rows[i].values.up, up[i]) << "row " << i;
        EXPECT_DOUBLE_EQ(rows[i].values.down, down[i]) << "row " << i;
        EXPECT_DOUBLE_EQ(rows[i].values.rsi, rsi[i]) << "row " << i;
    }
}

TEST_F(CalcKabukaTest, RciRanksTiesAndEqualWholePartsWithTheHalfStep)
{
    const struct {
        std::vector<double> window; // the three prices that end at row 4, oldest first
        double rci;
    } cases[] = {
        {{101, 102, 103}, 100},    {{103, 102, 101}, -100}, {{100, 100, 102}, 75}, // equal prices share rank 2
        {{100.2, 100.7, 102}, 75}, // ranked apart, 100.2's rank 3 steps to 4
        {{100, 100, 99}, -25},     // shared rank 1 steps to 2
    };
    for (const auto &c : cases) {
        gcnDB.executeScript(QStringLiteral("delete from ttstocks"));
        std::vector<double> prices{50};
        prices.insert(prices.end(), c.window.begin(), c.window.end());
        insertPrices(kCode, kMarket, kFirstDay, prices);
        calcAll(0);
        const auto rows = readSeries(kCode, kMarket);
        EXPECT_DOUBLE_EQ(rows[2].values.rci[0], 0) << "no RCI within the first three rows";
        EXPECT_DOUBLE_EQ(rows[3].values.rci[0], c.rci) << c.window[0] << " " << c.window[1] << " " << c.window[2];
        EXPECT_DOUBLE_EQ(rows[3].values.rci[1], 0) << "no four-day RCI within the first four rows";
    }

    gcnDB.executeScript(QStringLiteral("delete from ttstocks"));
    insertPrices(kCode, kMarket, kFirstDay, {100, 101, 102, 103, 104});
    calcAll(0);
    EXPECT_DOUBLE_EQ(readSeries(kCode, kMarket)[4].values.rci[1], 100);
}

TEST_F(CalcKabukaTest, VolumeRatiosCountUpDownAndUnchangedDaysAndGiveZeroWithoutDenominator)
{
    insertPrices(kCode, kMarket, kFirstDay, {100, 101, 100, 100, 101}, {10, 20, 30, 40, 50});
    insertPrices(QStringLiteral("1302"), kMarket, kFirstDay, {100, 100, 100}, {0, 0, 0});
    calcAll(0);

    const auto rows = readSeries(kCode, kMarket);
    const double vra[] = {0, 0, 66.67, 80, 140};
    const double vrb[] = {0, 100, 40, 44.44, 58.33};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_DOUBLE_EQ(rows[i].values.vra, vra[i]) << "row " << i;
        EXPECT_DOUBLE_EQ(rows[i].values.vrb, vrb[i]) << "row " << i;
    }
    for (const auto &row : readSeries(QStringLiteral("1302"), kMarket)) {
        EXPECT_DOUBLE_EQ(row.values.vra, 0);
        EXPECT_DOUBLE_EQ(row.values.vrb, 0);
    }
}

TEST_F(CalcKabukaTest, NullPricesAndVolumesCountAsZero)
{
    insertPrices(kCode, kMarket, kFirstDay, {100, NAN}, {10, NAN});
    calcAll(0);
    const IndicatorValues v = readSeries(kCode, kMarket)[1].values;
    EXPECT_DOUBLE_EQ(v.sma[0], 50);
    EXPECT_DOUBLE_EQ(v.down, 100);
    EXPECT_DOUBLE_EQ(v.rsi, 0);
    EXPECT_DOUBLE_EQ(v.vra, 0);
    EXPECT_DOUBLE_EQ(v.vrb, 0);
}

TEST_F(CalcKabukaTest, SameCodeOnTwoMarketsFormsTwoSeries)
{
    const QString other = QStringLiteral("o1");
    const std::vector<double> onT1{100, 110, 120, 130, 125};
    const std::vector<double> onO1{500, 400, 300, 200, 250};
    const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, onT1);
    insertPrices(kCode, other, kFirstDay, onO1);
    // Reference series: the same prices under codes of their own, computed in one run.
    insertPrices(QStringLiteral("9001"), kMarket, kFirstDay, onT1);
    insertPrices(QStringLiteral("9002"), other, kFirstDay, onO1);
    calcAll(0);

    // Recompute the end of both series as a continued run; the market is ignored without a code.
    calcKabuka(1, days[2], kFarDay, QString(), QStringLiteral("t1"), nullptr);
    EXPECT_DOUBLE_EQ(readIndicators(kCode, kMarket, days[2]).values.sma[0], 115);
    EXPECT_DOUBLE_EQ(readIndicators(kCode, other, days[2]).values.sma[0], 350);
    const auto t1 = readSeries(kCode, kMarket);
    const auto o1 = readSeries(kCode, other);
    const auto t1Reference = readSeries(QStringLiteral("9001"), kMarket);
    const auto o1Reference = readSeries(QStringLiteral("9002"), other);
    for (std::size_t i = 0; i < t1.size(); ++i) {
        expectSameValues(t1[i].values, t1Reference[i].values, "t1 row " + std::to_string(i));
        expectSameValues(o1[i].values, o1Reference[i].values, "o1 row " + std::to_string(i));
    }

    // One stock on one market: the other market's rows are not touched.
    sys::setNow(QDateTime(QDate(2024, 6, 4), QTime(9, 0)));
    calcKabuka(1, days[4], days[4], kCode, other, nullptr);
    EXPECT_EQ(readIndicators(kCode, other, days[4]).updated, QStringLiteral("2024-06-04 09:00:00"));
    EXPECT_EQ(readIndicators(kCode, kMarket, days[4]).updated, QStringLiteral("2024-06-03 18:30:05"));
}

// The daily update extends each series by a continued run over the new days; whatever the
// steps, the stored values equal those of one run over the whole history.
TEST_F(CalcKabukaTest, ContinuedRunsStoreExactlyWhatOneFullRunStores)
{
    setPeriods(defaultPeriods());
    std::mt19937 random(20240603);
    std::uniform_int_distribution<int> step(-8, 8);
    std::uniform_int_distribution<int> volume(0, 50000);
    std::vector<double> prices;
    std::vector<double> volumes;
    double price = 1500;
    for (int i = 0; i < 320; ++i) {
        price = std::max(1.0, price + step(random) * 2.5 + (i % 7 == 3 ? 0.3 : 0)); // ties, halves, fractions
        prices.push_back(price);
        volumes.push_back(i % 11 == 0 ? 0 : volume(random) * 100.0);
    }
    const QString full = QStringLiteral("1111");
    const QString daily = QStringLiteral("2222");
    const QString weekly = QStringLiteral("3333");
    const QList<QDate> days = insertPrices(full, kMarket, kFirstDay, prices, volumes);
    insertPrices(daily, kMarket, kFirstDay, prices, volumes);
    insertPrices(weekly, kMarket, kFirstDay, prices, volumes);

    calcKabuka(0, days.first(), days.last(), full, kMarket, nullptr);
    for (const QDate &day : days)
        calcKabuka(1, day, day, daily, kMarket, nullptr);
    for (qsizetype i = 0; i < days.size(); i += 5)
        calcKabuka(1, days[i], days[std::min(i + 4, days.size() - 1)], weekly, kMarket, nullptr);

    const auto expected = readSeries(full, kMarket);
    const auto dailyRows = readSeries(daily, kMarket);
    const auto weeklyRows = readSeries(weekly, kMarket);
    ASSERT_EQ(dailyRows.size(), expected.size());
    ASSERT_EQ(weeklyRows.size(), expected.size());
    EXPECT_NE(expected.back().values.rci[1], 0);
    EXPECT_NE(expected.back().values.vrb, 0);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expectSameValues(dailyRows[i].values, expected[i].values, "daily row " + std::to_string(i));
        expectSameValues(weeklyRows[i].values, expected[i].values, "weekly row " + std::to_string(i));
    }
}

TEST_F(CalcKabukaTest, SeriesGrowBeyondThirtySevenHundredRows)
{
    std::vector<double> prices(3800);
    for (std::size_t i = 0; i < prices.size(); ++i)
        prices[i] = double(i + 1);
    insertPrices(kCode, kMarket, kFirstDay, prices);
    calcAll(0);
    const IndicatorValues last = readSeries(kCode, kMarket).back().values;
    EXPECT_DOUBLE_EQ(last.sma[0], 3799.5);
    EXPECT_DOUBLE_EQ(last.rci[0], 100);
    EXPECT_DOUBLE_EQ(last.up, 1);
}

TEST_F(CalcKabukaTest, EmptyRangeWritesNothingAndLeavesTheLabelEmpty)
{
    const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, {100, 101});
    QLabel label(QStringLiteral("前回の表示"));
    calcKabuka(1, days[1].addDays(1), kFarDay, QString(), QString(), &label);
    EXPECT_EQ(label.text(), QString());
    calcKabuka(1, days[0], days[1], QStringLiteral("9999"), kMarket, &label);
    for (const auto &row : readSeries(kCode, kMarket))
        EXPECT_EQ(row.updated, QString());
}

TEST_F(CalcKabukaTest, PeriodsBelowOneWriteNothingAndAreLogged)
{
    glngLogFileNo = openLog();
    insertPrices(kCode, kMarket, kFirstDay, {100, 101});
    RSIA = 0;
    calcAll(0);
    for (const auto &row : readSeries(kCode, kMarket))
        EXPECT_EQ(row.updated, QString());
    EXPECT_TRUE(logText().contains(QStringLiteral("指標の計算期間に1未満の値があるため")));
}

TEST_F(CalcKabukaTest, TimerTickDuringACalculationStartsNoSecondOne)
{
    glngLogFileNo = openLog();
    const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, {100, 101});
    insertPrices(QStringLiteral("1302"), kMarket, kFirstDay, {200, 201});
    bool busyDuringTick = false;
    bool secondRan = true;
    QTimer::singleShot(0, [&] {
        busyDuringTick = BusyGuard::isBusy();
        secondRan = calcKabuka(0, days[0], days[1], QStringLiteral("1302"), kMarket, nullptr);
    });
    EXPECT_FALSE(BusyGuard::isBusy());
    EXPECT_TRUE(calcKabuka(0, days[0], days[1], kCode, kMarket, nullptr));
    EXPECT_FALSE(secondRan);

    EXPECT_TRUE(busyDuringTick);
    EXPECT_FALSE(BusyGuard::isBusy());
    EXPECT_EQ(readIndicators(kCode, kMarket, days[1]).updated, QStringLiteral("2024-06-03 18:30:05"));
    EXPECT_EQ(readIndicators(QStringLiteral("1302"), kMarket, days[1]).updated, QString());
    EXPECT_TRUE(logText().contains(QStringLiteral("株価情報の計算の実行中のため、株価情報の計算は行いません")));
}

TEST_F(CalcKabukaTest, GetZenkaiDataReadsTheNewestStoredRowsOfOneStockFirst)
{
    const QList<QDate> days = insertPrices(kCode, kMarket, kFirstDay, {100, 101, 102.5, 103});
    insertPrices(kCode, QStringLiteral("o1"), kFirstDay, {900, 901, 902, 903});
    setStoredEma(days[2], 102, 101, 100, 1);
    const std::vector<SeriesRow> rows = getZenkaiData(kCode, kMarket, days[2], 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_DOUBLE_EQ(rows[0].price, 102.5);
    EXPECT_DOUBLE_EQ(rows[0].values.ema[0], 102);
    EXPECT_DOUBLE_EQ(rows[0].values.macd, 1);
    EXPECT_DOUBLE_EQ(rows[1].price, 101);
}

} // namespace
