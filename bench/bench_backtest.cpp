// The batch simulation over a generated history: builds a price database of 4,000 stocks
// over the indicator lead-in (SMAL = 75 trading days) plus 140 trading days, with open, high,
// low and indicators, in a temporary program directory; then back-tests the 140 days through
// the simulation window offscreen (fixed key draw, every row test on, 5 purchase slots).
// Reports bars per second (560,000 stock-days / run time; goal >= 350,000) and the peak
// resident size.
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modNimbraCommon.h"
#include "platform/ui/AppLook.h"
#include "platform/ui/Printer.h"
#include "screening/ScreeningRandom.h"
#include "screening/frmSimu.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>

namespace {

constexpr int kStocks = 4000;
constexpr int kLeadIn = 75;
constexpr int kTestDays = 140;
const QString kMarket = QStringLiteral("t1");

// A random walk per stock with indicators drawn so that a few percent pass the bands. The
// rows are stored day by day, all stocks of a day together, as the daily downloads store
// them.
void buildPrices(const QList<QDate> &days)
{
    bench::UniformDraw uniform(140);
    db::Transaction transaction(gcnDB);
    bench::addStocks(kStocks, kMarket);
    db::Statement insert = gcnDB.prepare(QStringLiteral(
        "insert into ttstocks (銘柄コード, 市場コード, 日付, 始値, 高値, 安値, 終値, 調整終値, 出来高, 分割区分,"
        " 短期SMA, 中期SMA, 長期SMA, MACD, MACDシグナル, RSI, 短期RCI, 中期RCI, VRA, VRB)"
        " values (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    std::vector<double> closes;
    for (int stock = 0; stock < kStocks; ++stock)
        closes.push_back(200 + stock % 48 * 100);
    for (const QDate &day : days) {
        for (int stock = 0; stock < kStocks; ++stock) {
            double &close = closes[size_t(stock)];
            const double open = close * uniform(0.97, 1.03);
            close = open * uniform(0.95, 1.05);
            const double high = std::max(open, close) * uniform(1.0, 1.03);
            const double low = std::min(open, close) * uniform(0.97, 1.0);
            insert.reset();
            insert.bindAll(bench::stockCode(stock), kMarket, day, qint64(open), qint64(high), qint64(low),
                           qint64(close), close, qint64(uniform(100000, 500000)), close / uniform(0.88, 1.02),
                           close / uniform(0.7, 0.95), close / uniform(0.8, 1.2), uniform(-5, 5), uniform(-5, 5),
                           uniform(0, 100), uniform(-100, 100), uniform(-100, 100), uniform(30, 90), uniform(0, 60));
            insert.run();
        }
    }
    transaction.commit();
}

void setPicker(frmSimu &window, const char *host, const QDate &day)
{
    window.findChild<QWidget *>(QLatin1String(host))->findChild<QDateTimeEdit *>()->setDateTime(QDateTime(day, {}));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::setupApplicationLook();
    bench::ProgramDatabases databases;
    qputenv("XDG_CONFIG_HOME", databases.path().toUtf8());
    if (!databases.open())
        return 1;
    setLogPaths();
    glngLogFileNo = openLog();

    const QList<QDate> days = bench::weekdays(QDate(2025, 9, 1), kLeadIn + kTestDays);
    buildPrices(days);
    gdtFirstKabukaDate = days.first();
    gdtLastKabukaDate = days.last();
    std::printf("price rows: %d stocks x %lld days\n", kStocks, static_cast<long long>(days.size()));

    SMAL = kLeadIn;
    sysBS.KounyuTensu = 5;
    simBS.KounyuTensu = 5;
    simBS.TousiGanpon = 3000000;
    glngSaiteiKabuka = 100;
    glngSelRandom = 1;
    ScreeningRandom::setFixed(ScreeningKeys{1, 4});
    simSL.SLSelTakayasu = 1;
    simSL.SLWariaiS = 0;
    simSL.SLWariaiE = 100;
    simSL.SLSelNensyorai = 1;
    simSL.SLNensyoraiType = 2;
    simSL.SLSelTrend = 1;
    simSL.TrendType = 2;
    simSL.TrendInterval = 20;
    simSL.SLSelMACD = 1;
    simSL.SLSelRCI = 1;
    simSL.SLSelDekidakaKyutou = 1;
    simOD.ODRiekiWariaiUri1 = 5;
    simOD.ODSongiriTypeUri1 = 2;
    simOD.ODSongiriDUri1 = 10;

    ui::PrintDialog printDialog;
    frmSimu window(printDialog);
    setPicker(window, "picDateST", days[kLeadIn]);
    setPicker(window, "picDateED", days.last());
    const double seconds =
        bench::secondsOf([&] { window.findChild<QPushButton *>(QStringLiteral("cmdRun"))->click(); });

    const auto *list = window.findChild<QListWidget *>(QStringLiteral("lstResultData"));
    const double bars = double(kStocks) * kTestDays;
    std::printf("back-test %s to %s: %d result lines in %.2f s\n", qPrintable(days[kLeadIn].toString(Qt::ISODate)),
                qPrintable(days.last().toString(Qt::ISODate)), list->count(), seconds);
    std::printf("%.0f bars/s (goal >= 350000)\n", bars / seconds);
    bench::printPeakResidentSize();
    closeLog(glngLogFileNo);
    return list->count() > 0 ? 0 : 1;
}
