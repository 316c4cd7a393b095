// The fake quote site as a program, so the whole of Nimbra can be pointed at it:
//
//   build/tests/support/fake_quote_site --port 8080 --seed 1 --stocks 36 --days 60 --master build/bin
//
// then put the printed [Hosts] lines into <program directory>/Nimbra_site.ini. With
// --master DIR it first stores the generated stocks in the stock master of the databases
// in DIR, as a master rebuild from this site would.
// With --fail NAME every page request fails that way (see FakeQuoteSite::failureNames:
// error-page, changed, truncated, wrong-charset, other-stock, off-site, huge, ...), with
// --fail-count N only the next N requests.
// It serves until interrupted (Ctrl+C or SIGTERM).
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "support/FakeMaster.h"
#include "support/FakeQuoteSite.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

struct Arguments {
    int port = 8080;
    FakeMarket::Options market;
    QString masterDir;
    std::optional<FakeQuoteSite::Failure> failure;
    int failCount = -1;
};

std::optional<Arguments> parseArguments(int argc, char **argv)
{
    Arguments args;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--master") == 0) {
            args.masterDir = QString::fromLocal8Bit(argv[i + 1]);
            continue;
        }
        if (std::strcmp(argv[i], "--fail") == 0) {
            args.failure = FakeQuoteSite::failureNamed(QString::fromLocal8Bit(argv[i + 1]));
            if (!args.failure)
                return std::nullopt;
            continue;
        }
        bool ok = false;
        const long long value = QString::fromLocal8Bit(argv[i + 1]).toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        if (std::strcmp(argv[i], "--port") == 0)
            args.port = int(value);
        else if (std::strcmp(argv[i], "--seed") == 0)
            args.market.seed = quint64(value);
        else if (std::strcmp(argv[i], "--stocks") == 0)
            args.market.stocks = int(value);
        else if (std::strcmp(argv[i], "--days") == 0)
            args.market.days = int(value);
        else if (std::strcmp(argv[i], "--fail-count") == 0)
            args.failCount = int(value);
        else
            return std::nullopt;
    }
    if (argc % 2 == 0)
        return std::nullopt;
    return args;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Arguments> args = parseArguments(argc, argv);
    if (!args) {
        std::fprintf(stderr,
                     "usage: %s [--port N] [--seed S] [--stocks N] [--days N] [--master DIR] [--fail NAME]"
                     " [--fail-count N]\nfailures: %s\n",
                     argv[0], qPrintable(FakeQuoteSite::failureNames().join(QStringLiteral(", "))));
        return 2;
    }
    // The server threads inherit this mask, so the signals reach only sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    FakeQuoteSite site(args->market);
    if (args->failure)
        site.setFailure(*args->failure, args->failCount);
    try {
        site.start(args->port);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const FakeMarket &market = site.market();
    if (!args->masterDir.isEmpty()) {
        try {
            openWorkDatabase(gcnDB, args->masterDir + QStringLiteral("/Nimbra.mdb"),
                             args->masterDir + QStringLiteral("/Nimbra_mst.mdb"));
            storeFakeMaster(market);
            gcnDB.close();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "cannot store the stock master: %s\n", e.what());
            return 1;
        }
    }
    std::printf("fake quote site on %s: %zu stocks, %s to %s\n[Hosts]\nInfoseek=%s\nYahoo=%s\nCaution=%s\n",
                qPrintable(site.baseUrl()), market.stocks().size(), qPrintable(market.firstDay().toString(Qt::ISODate)),
                qPrintable(market.lastDay().toString(Qt::ISODate)), qPrintable(site.baseUrl()),
                qPrintable(site.baseUrl()), qPrintable(site.baseUrl()));
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    site.stop();
    return 0;
}
