// The live screening against a bare read of the same rows: builds a price database of
// 4,000 stocks x 200 trading days with indicators in a temporary program directory, so
// that more rows pass the fixed preset than the query takes (5 slots, no reservations),
// then times per screening day
//   (a) searchSuisyouMeigara on the newest day (offscreen list, fixed key draw), and
//   (b) a bare SELECT of that day's rows on the screened market with the same joins and
//       columns and no other condition, every row stepped.
// The goal is (a) <= 2 x (b).
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "screening/ScreeningRandom.h"
#include "screening/modSuisyouMeigara.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QLabel>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kStocks = 4000;
constexpr int kDays = 200;
constexpr int kRuns = 50;
const QString kMarket = QStringLiteral("t1");

// Prices and indicators drawn so that a few percent of the stocks pass the preset's bands
// on any day.
void buildPrices(const QList<QDate> &days)
{
    bench::UniformDraw uniform(200);
    db::Transaction transaction(gcnDB);
    bench::addStocks(kStocks, kMarket);
    db::Statement insert = gcnDB.prepare(QStringLiteral(
        "insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値, 出来高, 短期SMA, 中期SMA, 長期SMA,"
        " MACD, MACDシグナル, RSI, 短期RCI, 中期RCI, VRA, VRB) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?)"));
    for (int stock = 0; stock < kStocks; ++stock) {
        const QString code = bench::stockCode(stock);
        const double base = 200 + stock % 48 * 100;
        for (const QDate &day : days) {
            const double close = base * uniform(0.9, 1.1);
            insert.reset();
            insert.bindAll(code, kMarket, day, qint64(close), close, qint64(uniform(100000, 500000)),
                           close / uniform(0.88, 1.02), close / uniform(0.7, 0.95), close / uniform(0.8, 1.2),
                           uniform(-5, 5), uniform(-5, 5), uniform(0, 100), uniform(-100, 100), uniform(-100, 100),
                           uniform(30, 90), uniform(0, 60));
            insert.run();
        }
    }
    transaction.commit();
}

// Milliseconds per call of `work`, averaged over kRuns calls after one warm-up call.
template <typename F>
double msPerRun(F work)
{
    work();
    const auto start = std::chrono::steady_clock::now();
    for (int run = 0; run < kRuns; ++run)
        work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / kRuns;
}

int bareSelect(const QDate &day)
{
    db::Statement st = gcnDB.prepare(QStringLiteral(
        "select 0 as 空売区分, a.銘柄コード, a.調整終値, a.終値, a.短期SMA, a.中期SMA, a.長期SMA, a.MACD,"
        " a.MACDシグナル, a.出来高, a.RSI, a.短期RCI, a.中期RCI, b.会社名, b.単元株数, b.市場コード,"
        " c.市場名略称, c.ランク from ttstocks a, tmbond b, tmmarket c"
        " where a.日付 = ? and a.市場コード in ('t1')"
        " and a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード and a.市場コード = c.市場コード"));
    st.bind(1, day);
    int rows = 0;
    while (st.step())
        ++rows;
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::ProgramDatabases databases;
    if (!databases.open())
        return 1;
    setLogPaths();
    glngLogFileNo = openLog();

    const QList<QDate> days = bench::weekdays(QDate(2026, 3, 2), kDays);
    buildPrices(days);
    std::printf("price rows: %d stocks x %d days\n", kStocks, kDays);

    const QDate day = days.last();
    sys::setNow(QDateTime(day.addDays(1), QTime(2, 0)));
    ScreeningRandom::setFixed(ScreeningKeys{1, 4});
    sysBS.KounyuTensu = 5;
    sysSizyou.SLSizyouT1 = 1;
    QLabel lblMsg;
    ui::FlexGrid msfgSelect;
    QStringList codes;
    int kept = 0;
    const double screening = msPerRun([&] {
        kept = searchSuisyouMeigara(1, lblMsg, msfgSelect, day, sysBS, sysSL, sysOD, sysSizyou, codes,
                                    jobs::CancelToken());
    });
    int rows = 0;
    const double bare = msPerRun([&] { rows = bareSelect(day); });

    std::printf("screening of %s: %d candidates kept\n", qPrintable(day.toString(Qt::ISODate)), kept);
    std::printf("searchSuisyouMeigara %.2f ms per screening day, bare SELECT of %d rows %.2f ms, ratio %.2f\n",
                screening, rows, bare, screening / bare);
    closeLog(glngLogFileNo);
    return kept == sysBS.KounyuTensu ? 0 : 1;
}
