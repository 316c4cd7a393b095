#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "screening/ScreeningFixture.h"
#include "screening/ScreeningRandom.h"
#include "screening/modSelectSQL.h"

#include <algorithm>
#include <functional>

namespace {

const QDate kDay(2026, 12, 9);

QStringList list(std::initializer_list<const char *> texts)
{
    QStringList result;
    for (const char *t : texts)
        result << QString::fromUtf8(t);
    return result;
}

class SelectSQLTest : public ScreeningFixture {
protected:
    void SetUp() override
    {
        ScreeningFixture::SetUp();
        glngSaiteiKabuka = 100;
        sysBS.KounyuTensu = 20;
        markets.SLSizyouT1 = 1;
    }

    static Row row(const QString &code, const QString &market = QStringLiteral("t1"))
    {
        Row r;
        r.code = code;
        r.market = market;
        r.day = kDay;
        return r;
    }

    // The codes the query returns, in its order.
    QStringList screened(const BS &base = BS())
    {
        const ScreeningQuery query = makeSelectSQL(kDay, base, condition, OD(), markets);
        db::Statement st = query.prepare(gcnDB);
        QStringList codes;
        while (st.step())
            codes << st.text(ScreeningColumn::BrandCode);
        return codes;
    }

    static QStringList sorted(QStringList codes)
    {
        codes.sort();
        return codes;
    }

    SL condition;
    Sizyou markets;
};

TEST_F(SelectSQLTest, EachFlagScreensItsMarketsAndOnlyAFlagOfOneCounts)
{
    for (const QString &market : list({"t1", "t2", "tm", "o1", "o2", "hc1", "hc2", "n1", "n2",  "ns",
                                       "f1", "f2", "fq", "s1", "s2", "sa",  "js",  "te", "hcg", "na"}))
        addStockRow(row(QStringLiteral("c_") + market, market));

    const std::vector<std::pair<std::function<void(Sizyou &)>, QStringList>> cases{
        {[](Sizyou &m) { m.SLSizyouHC = 1; }, list({"c_hc1", "c_hc2"})},
        {[](Sizyou &m) { m.SLSizyouT1 = m.SLSizyouJS = 1; }, list({"c_js", "c_t1"})},
        {[](Sizyou &m) { m.SLSizyouF1 = 1; }, list({"c_f1", "c_f2"})},
        {[](Sizyou &m) { m.SLSizyouS1 = 1; }, list({"c_s1", "c_s2"})},
        {[](Sizyou &m) { m.SLSizyouT1 = 2, m.SLSizyouT2 = -1, m.SLSizyouJS = 1; }, list({"c_js"})},
        {[](Sizyou &) {}, {}},
        {[](Sizyou &m) {
             for (int *flag : {&m.SLSizyouT1, &m.SLSizyouT2, &m.SLSizyouTM, &m.SLSizyouO1, &m.SLSizyouO2, &m.SLSizyouHC,
                               &m.SLSizyouN1, &m.SLSizyouN2, &m.SLSizyouNS, &m.SLSizyouF1, &m.SLSizyouFQ, &m.SLSizyouS1,
                               &m.SLSizyouSA, &m.SLSizyouJS})
                 *flag = 1;
         },
         list({"c_f1", "c_f2", "c_fq", "c_hc1", "c_hc2", "c_js", "c_n1", "c_n2", "c_ns", "c_o1", "c_o2", "c_s1", "c_s2",
               "c_sa", "c_t1", "c_t2", "c_tm"})},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        markets = Sizyou();
        cases[i].first(markets);
        EXPECT_EQ(sorted(screened()), cases[i].second) << "case " << i;
    }
}

TEST_F(SelectSQLTest, FixedConditionsAdmitOnlyValidRowsOfScreenedStocks)
{
    struct Case {
        const char *code;
        std::function<void(Row &)> change;
        int unitShares;
        bool kept;
    };
    const std::vector<Case> cases{
        {"plain", [](Row &) {}, 100, true},
        {"at_lowest_price", [](Row &r) { r.adjustedClose = 100; }, 100, false},
        {"above_lowest_price", [](Row &r) { r.adjustedClose = 100.5; }, 100, true},
        {"unit_at_limit", [](Row &r) { r.adjustedClose = 5000; }, 1000, true},
        {"unit_above_limit", [](Row &r) { r.adjustedClose = 5000.5; }, 1000, false},
        {"no_volume", [](Row &r) { r.volume = 0; }, 100, false},
        {"split", [](Row &r) { r.split = 1; }, 100, false},
        {"no_short_average", [](Row &r) { r.smaS = 0; }, 100, false},
        {"other_day", [](Row &r) { r.day = kDay.addDays(-1); }, 100, false},
        {"quote'code", [](Row &) {}, 100, true},
    };
    for (const Case &c : cases) {
        Row r = row(QString::fromUtf8(c.code));
        c.change(r);
        addStock(r.code, r.market, c.unitShares);
        addRow(r);
    }
    // Left out by the master: not screened, on a caution list, or missing.
    for (const char *column : {"対象外区分", "管理ポスト区分"}) {
        const QString code = QString::fromUtf8(column);
        addStockRow(row(code));
        gcnDB.execute(QStringLiteral("update tmbond set %1 = 1 where 銘柄コード = ?").arg(code), code);
    }
    addRow(row(QStringLiteral("no_master")));

    QStringList expected;
    for (const Case &c : cases)
        if (c.kept)
            expected << QString::fromUtf8(c.code);
    EXPECT_EQ(sorted(screened()), sorted(expected));
}

// Each case: a condition record change, and the rows (by a changed field) it keeps.
TEST_F(SelectSQLTest, RangeConditionsInForceByTheirBoundsAlone)
{
    struct Case {
        const char *what;
        std::function<void(SL &)> condition;
        std::function<void(Row &, double)> field;
        std::vector<double> values;
        std::vector<double> kept;
    };
    const auto rciS = [](Row &r, double v) { r.rciS = v; };
    const auto shortBand = [](Row &r, double v) { r.adjustedClose = v, r.smaS = 1000; };
    const auto vra = [](Row &r, double v) { r.vra = v; };
    const std::vector<Case> cases{
        {"both RCI bounds 0: left out", [](SL &) {}, rciS, {-60, 0, 10}, {-60, 0, 10}},
        {"RCI -50 to 0: both comparisons", [](SL &c) { c.SLRCISS = -50; }, rciS, {-60, -50, -10, 0, 10}, {-10}},
        {"RCI switch on changes nothing", [](SL &c) { c.SLSelRCI = 1, c.SLRCISS = -50; }, rciS, {-60, -10}, {-10}},
        {"band includes its bounds, switch 0",
         [](SL &c) { c.SLSelIdouHeikinKairirituKai = 0, c.SLSMASWariKaiS = -10, c.SLSMASWariKaiE = -5; },
         shortBand,
         {899, 900, 925, 950, 951},
         {900, 925, 950}},
        {"band -200 to 200 admits practically all",
         [](SL &c) { c.SLSMASWariKaiS = -200, c.SLSMASWariKaiE = 200; },
         shortBand,
         {150, 1000, 2900},
         {150, 1000, 2900}},
        {"VRA range excludes its bounds",
         [](SL &c) { c.SLSVRAWariKaiS = 45, c.SLSVRAWariKaiE = 70; },
         vra,
         {45, 45.5, 69.5, 70},
         {45.5, 69.5}},
        {"VRB open from 0",
         [](SL &c) { c.SLSVRBWariKaiE = 40; },
         [](Row &r, double v) { r.vrb = v; },
         {0, 20, 40},
         {20}},
        {"RSI",
         [](SL &c) { c.SLRSIS = 30.5, c.SLRSIE = 70; },
         [](Row &r, double v) { r.rsi = v; },
         {30.5, 31, 69.9, 70},
         {31, 69.9}},
        {"middle RCI", [](SL &c) { c.SLRCIME = 50; }, [](Row &r, double v) { r.rciM = v; }, {0, 1, 49, 50}, {1, 49}},
        {"middle band",
         [](SL &c) { c.SLSMAMWariKaiS = -200, c.SLSMAMWariKaiE = -15; },
         [](Row &r, double v) { r.adjustedClose = v, r.smaM = 1000; },
         {849, 850, 851},
         {849, 850}},
        {"long band",
         [](SL &c) { c.SLSMALWariKaiS = 10, c.SLSMALWariKaiE = 20; },
         [](Row &r, double v) { r.adjustedClose = v, r.smaL = 1000; },
         {1099, 1100, 1200, 1201},
         {1100, 1200}},
        {"MACD range with MACD above its signal",
         [](SL &c) { c.SLMACDSpanS = -5, c.SLMACDSpanE = 5; },
         [](Row &r, double v) { r.macd = v, r.signal = v == 2 ? 3 : -10; },
         {-5, -4, 2, 4, 5},
         {-4, 4}},
        {"turnover in millions, at least",
         [](SL &c) { c.SLBaibaidaikin = 50; },
         [](Row &r, double v) { r.volume = qint64(v); },
         {99999, 100000, 100001},
         {100000, 100001}},
        {"negative turnover written, keeps all",
         [](SL &c) { c.SLBaibaidaikin = -1; },
         [](Row &r, double v) { r.volume = qint64(v); },
         {1, 100000},
         {1, 100000}},
    };
    int stock = 0;
    for (const Case &c : cases) {
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        gcnDB.execute(QStringLiteral("delete from tmbond"));
        std::map<QString, double> valueOf;
        for (const double v : c.values) {
            Row r = row(QString::number(++stock));
            c.field(r, v);
            addStockRow(r);
            valueOf[r.code] = v;
        }
        condition = SL();
        c.condition(condition);
        std::vector<double> kept;
        for (const QString &code : screened())
            kept.push_back(valueOf[code]);
        std::sort(kept.begin(), kept.end());
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

TEST_F(SelectSQLTest, LimitIsTwoMoreThanTheLiveSlotsAndNeverUnlimited)
{
    for (int i = 0; i < 12; ++i)
        addStockRow(row(QString::number(1000 + i)));
    BS other;
    other.KounyuTensu = 8;
    sysBS.KounyuTensu = 1;
    EXPECT_EQ(screened(other).size(), 3);
    sysBS.KounyuTensu = 5;
    EXPECT_EQ(screened(other).size(), 7);
    sysBS.KounyuTensu = -2;
    EXPECT_EQ(screened(other).size(), 0);
    sysBS.KounyuTensu = -5;
    EXPECT_EQ(screened(other).size(), 0);
}

TEST_F(SelectSQLTest, FixedOrderIsRankThenCloseOverMiddleAverageAsReals)
{
    // Whole-valued prices whose ratios differ only in their fraction: 1.4 before 1.5.
    for (const auto &[code, close, market] : {std::tuple{"a", 150.0, "t1"}, std::tuple{"b", 140.0, "t1"},
                                              std::tuple{"c", 120.0, "t2"}, std::tuple{"d", 199.0, "t1"}}) {
        Row r = row(QString::fromUtf8(code), QString::fromUtf8(market));
        r.adjustedClose = close;
        r.smaM = 100;
        addStockRow(r);
    }
    markets.SLSizyouT2 = 1;
    EXPECT_EQ(screened(), list({"b", "a", "d", "c"}));
}

// Five stocks on t1 and one on t2 whose every key would put it first: the chosen rows are
// the top four of market rank and the inner key, reordered by the outer key only.
TEST_F(SelectSQLTest, DrawnKeysChooseByInnerKeyAndReorderByOuterKey)
{
    struct Stock {
        const char *code;
        const char *market;
        double close, smaS, smaM, smaL, signal;
        qint64 volume;
    };
    const std::vector<Stock> stocks{
        {"s1", "t1", 200, 100, 110, 120, 5, 300000},  {"s2", "t1", 200, 90, 100, 130, 1, 100000},
        {"s3", "t1", 200, 95, 130, 90, 3, 900000},    {"s4", "t1", 200, 105, 120, 100, 2, 500000},
        {"s5", "t1", 200, 120, 105, 110, 4, 700000},  {"s6", "t1", 200, 100, 110, 120, 5, 300000},
        {"x", "t2", 100, 50, 500, 500, -10, 9000000},
    };
    for (const Stock &s : stocks) {
        Row r = row(QString::fromUtf8(s.code), QString::fromUtf8(s.market));
        r.adjustedClose = s.close, r.smaS = s.smaS, r.smaM = s.smaM, r.smaL = s.smaL, r.signal = s.signal;
        r.volume = s.volume;
        addStockRow(r);
    }
    markets.SLSizyouT2 = 1;
    glngSelRandom = 1;
    sysBS.KounyuTensu = 2;

    // The keys as the query should apply them, smaller first.
    const std::vector<std::function<double(const Stock &)>> keys{
        [](const Stock &s) { return -(s.close / s.smaS - s.close / s.smaM); },
        [](const Stock &s) { return s.close / s.smaM; },
        [](const Stock &s) { return s.close / s.smaL; },
        [](const Stock &s) { return s.signal; },
        [](const Stock &s) { return -double(s.volume) * s.close / 1000000.0; },
    };
    for (int inner = 0; inner < 4; ++inner) {
        std::vector<Stock> chosen(stocks.begin(), stocks.end() - 1);
        std::stable_sort(chosen.begin(), chosen.end(), [&](const Stock &l, const Stock &r) {
            return keys[size_t(inner)](l) < keys[size_t(inner)](r);
        });
        chosen.resize(4);
        for (int outer = 0; outer < 5; ++outer) {
            std::vector<Stock> ordered = chosen;
            std::stable_sort(ordered.begin(), ordered.end(), [&](const Stock &l, const Stock &r) {
                return keys[size_t(outer)](l) < keys[size_t(outer)](r);
            });
            QStringList expected;
            for (const Stock &s : ordered)
                expected << QString::fromUtf8(s.code);
            ScreeningRandom::setFixed(ScreeningKeys{inner, outer});
            EXPECT_EQ(screened(), expected) << "inner " << inner << " outer " << outer;
        }
    }
}

TEST_F(SelectSQLTest, ResultColumnsCarryTheRowAndItsMaster)
{
    Row r = row(QStringLiteral("7777"));
    r.adjustedClose = 321.5, r.macd = 1.25, r.signal = -0.5, r.rciS = -40, r.rciM = 20, r.volume = 123456;
    addStock(r.code, r.market, 1000, QStringLiteral("銘柄名"));
    addRow(r);
    for (const int random : {0, 1}) {
        glngSelRandom = random;
        db::Statement st = makeSelectSQL(kDay, sysBS, condition, OD(), markets).prepare(gcnDB);
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.columnName(ScreeningColumn::MarketName), QStringLiteral("市場名略称"));
        EXPECT_EQ(st.int64(ScreeningColumn::KarauriKubun), 0);
        EXPECT_EQ(st.text(ScreeningColumn::BrandCode), QStringLiteral("7777"));
        EXPECT_EQ(st.real(ScreeningColumn::AdjustedClose), 321.5);
        EXPECT_EQ(st.real(ScreeningColumn::MACD), 1.25);
        EXPECT_EQ(st.real(ScreeningColumn::MACDSignal), -0.5);
        EXPECT_EQ(st.real(ScreeningColumn::RCIS), -40);
        EXPECT_EQ(st.real(ScreeningColumn::RCIM), 20);
        EXPECT_EQ(st.int64(ScreeningColumn::Volume), 123456);
        EXPECT_EQ(st.text(ScreeningColumn::CompanyName), QStringLiteral("銘柄名"));
        EXPECT_EQ(st.int64(ScreeningColumn::UnitShares), 1000);
        EXPECT_EQ(st.text(ScreeningColumn::MarketCode), QStringLiteral("t1"));
        EXPECT_EQ(st.text(ScreeningColumn::MarketName), QStringLiteral("東1"));
        EXPECT_EQ(st.int64(ScreeningColumn::Rank), 1);
        EXPECT_FALSE(st.step());
    }
}

} // namespace
