// Indicator recalculation against the cost of storing its results: builds a price database
// of 4,000 stocks x 140 trading days in a temporary program directory, then times
//   (a) calcKabuka over every row (read, compute, write), and
//   (b) the bare write of the same 560,000 UPDATE statements with precomputed values.
// The goal is (a) <= 1.5 x (b) with a peak resident size under 200 MB.
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "marketdata/modCalc.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>

#include <cstdio>
#include <random>

namespace {

constexpr int kStocks = 4000;
constexpr int kDays = 140;
const QString kMarket = QStringLiteral("t1");

void buildPrices(const QList<QDate> &days)
{
    std::mt19937 random(4000);
    std::uniform_int_distribution<int> step(-20, 20);
    std::uniform_int_distribution<int> volume(0, 2000);
    db::Transaction transaction(gcnDB);
    db::Statement insert = gcnDB.prepare(QStringLiteral(
        "insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値, 出来高) values (?, ?, ?, ?, ?, ?)"));
    for (int stock = 0; stock < kStocks; ++stock) {
        double price = 200 + stock % 50 * 100;
        for (const QDate &day : days) {
            price = std::max(1.0, price + step(random) * 0.5);
            insert.reset();
            insert.bindAll(bench::stockCode(stock), kMarket, day, qint64(price), price, qint64(volume(random)) * 100);
            insert.run();
        }
    }
    transaction.commit();
}

// The values (a) stored for the first stock, reused for every stock by (b).
std::vector<std::vector<double>> storedValuesOfFirstStock()
{
    db::Statement st = gcnDB.prepare(QStringLiteral(
        "select 短期SMA, 中期SMA, 長期SMA, 短期EMA, 中期EMA, 長期EMA, MACD, MACDシグナル, 上昇幅, 下落幅, RSI,"
        " 短期RCI, 中期RCI, VRA, VRB from ttstocks where 銘柄コード = ? and 市場コード = ? order by 日付"));
    st.bindAll(bench::stockCode(0), kMarket);
    std::vector<std::vector<double>> rows;
    while (st.step()) {
        std::vector<double> values;
        for (int column = 0; column < 15; ++column)
            values.push_back(st.real(column));
        rows.push_back(values);
    }
    return rows;
}

void writePrecomputed(const QList<QDate> &days, const std::vector<std::vector<double>> &values)
{
    // Texts made once, so the loop is nothing but binding and stepping.
    const QString stamp = db::dateTimeText(sys::now());
    QStringList dayTexts;
    for (const QDate &day : days)
        dayTexts << db::dateText(day);
    db::Transaction transaction(gcnDB);
    db::Statement update = gcnDB.prepare(QStringLiteral(
        "update ttstocks set 更新日付 = ?, 短期SMA = ?, 中期SMA = ?, 長期SMA = ?, 短期EMA = ?, 中期EMA = ?, 長期EMA = "
        "?,"
        " MACD = ?, MACDシグナル = ?, 上昇幅 = ?, 下落幅 = ?, RSI = ?, 短期RCI = ?, 中期RCI = ?, VRA = ?, VRB = ?"
        " where 銘柄コード = ? and 市場コード = ? and 日付 = ?"));
    for (int stock = 0; stock < kStocks; ++stock) {
        const QString code = bench::stockCode(stock);
        for (int d = 0; d < kDays; ++d) {
            update.reset();
            update.bind(1, stamp);
            for (int column = 0; column < 15; ++column)
                update.bind(2 + column, values[std::size_t(d)][std::size_t(column)]);
            update.bind(17, code).bind(18, kMarket).bind(19, dayTexts[d]);
            update.run();
        }
    }
    transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::ProgramDatabases databases;
    if (!databases.open())
        return 1;

    SMAS = 5, SMAM = 25, SMAL = 75, EMAS = 5, EMAM = 25, EMAL = 75;
    MACDSigSMA = 9, RSIA = 14, RCIS = 5, RCIM = 10, VRS = 25;

    const QList<QDate> days = bench::weekdays(QDate(2024, 1, 1), kDays);
    buildPrices(days);
    std::printf("price rows: %d stocks x %d days\n", kStocks, kDays);

    const double calc =
        bench::secondsOf([&] { calcKabuka(0, days.first(), days.last(), QString(), QString(), nullptr); });
    const auto values = storedValuesOfFirstStock();
    const double write = bench::secondsOf([&] { writePrecomputed(days, values); });
    // The daily case for comparison: every stock continued by its newest day.
    const double daily =
        bench::secondsOf([&] { calcKabuka(1, days.last(), days.last(), QString(), QString(), nullptr); });

    std::printf("continued run over the newest day of every stock: %.3f s\n", daily);
    bench::printPeakResidentSize();
    std::printf("calcKabuka %.3f s, bare UPDATE write %.3f s, ratio %.2f\n", calc, write, calc / write);
    return 0;
}
