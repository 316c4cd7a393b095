// The daily price import of one day for 4,000 stocks, against the fake quote site over
// loopback, in a temporary program directory. Times
//   (a) the bare fetch of the same 4,000 history pages through the transfer control, and
//   (b) getKabuka for the day: fetch, convert, parse and store, first into empty tables,
//       then again over the stored rows (the replacement path),
// and reports pages per second and the time spent outside the network wait: (b) - (a),
// and the import thread's own CPU time. The goal is that share staying small (< 25 %).
#include "core/modGlobal.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modinfoseek.h"
#include "platform/net/Inet.h"
#include "platform/net/SiteFile.h"
#include "platform/sys/Clock.h"
#include "support/BenchSupport.h"
#include "support/FakeMaster.h"
#include "support/FakeQuoteSite.h"

#include <QApplication>
#include <QLabel>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kStocks = 4000;
const QDate kDay(2007, 3, 29); // a Thursday

struct Timing {
    double wall = 0; // seconds
    double cpu = 0;  // seconds of this thread's CPU
};

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

template <typename F>
Timing timed(F work)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            threadCpuSeconds() - cpuStart};
}

// The pages the import asks for, fetched and dropped.
void fetchOnly(net::Inet &control, const FakeMarket &market)
{
    for (const FakeStock &stock : market.stocks()) {
        const QString path = QStringLiteral("MnStock/slast.html?pg=slast.html&search=1&k=d&qt=%1.%2&sy=%3&sm=%4&sd=%5"
                                            "&ey=%3&em=%4&ed=%5")
                                 .arg(stock.code, iskSuffix(stock.market))
                                 .arg(kDay.year())
                                 .arg(kDay.month())
                                 .arg(kDay.day());
        control.OpenURL(net::siteAddress(QStringLiteral("Infoseek"), path).valueOr(QString()));
    }
}

void report(const char *what, const Timing &import, const Timing &fetch, const KabukaImport &result)
{
    // The two runs are timed apart, so a difference below zero is the noise of the fetch.
    const double outside = std::max(0.0, import.wall - fetch.wall);
    std::printf("%s: %.2f s, %.0f pages/s, %d new, %d replaced, %d failed\n", what, import.wall, kStocks / import.wall,
                result.newRows, result.replacedRows, result.failedPages);
    std::printf("  outside the network wait: %.2f s (%.1f %%); import thread CPU %.2f s (%.1f %%)\n", outside,
                100 * outside / import.wall, import.cpu, 100 * import.cpu / import.wall);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::ProgramDatabases databases;
    sys::setNow(QDateTime(kDay.addDays(1), QTime(8, 0)));
    if (!databases.open())
        return 1;
    gobjBASP = std::make_unique<mail::Basp>();

    FakeQuoteSite site({.seed = 1, .stocks = kStocks, .days = 2, .lastDay = kDay});
    site.start();
    site.writeSiteFile(databases.path());
    storeFakeMaster(site.market());

    net::Inet control;
    QLabel label;
    const Timing fetch = timed([&] { fetchOnly(control, site.market()); });
    std::printf("bare fetch of %d pages: %.2f s, %.0f pages/s\n", kStocks, fetch.wall, kStocks / fetch.wall);

    KabukaImport result;
    const Timing first = timed([&] { result = getKabuka(control, label, kDay, kDay, QString(), QString()); });
    report("import into empty tables", first, fetch, result);
    const Timing again = timed([&] { result = getKabuka(control, label, kDay, kDay, QString(), QString()); });
    report("import over stored rows", again, fetch, result);

    site.stop();
    return 0;
}
