// The fake quote site as a program, so the whole of Nimbra can be pointed at it:
//
//   build/tests/support/fake_quote_site --port 8080 --seed 1 --stocks 36 --days 60
//
// then put the printed [Hosts] lines into <program directory>/Nimbra_site.ini.
// It serves until interrupted (Ctrl+C or SIGTERM).
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
};

std::optional<Arguments> parseArguments(int argc, char **argv)
{
    Arguments args;
    for (int i = 1; i + 1 < argc; i += 2) {
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
        std::fprintf(stderr, "usage: %s [--port N] [--seed S] [--stocks N] [--days N]\n", argv[0]);
        return 2;
    }
    // The server threads inherit this mask, so the signals reach only sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    FakeQuoteSite site(args->market);
    try {
        site.start(args->port);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const FakeMarket &market = site.market();
    std::printf("fake quote site on %s: %zu stocks, %s to %s\n[Hosts]\nInfoseek=%s\nYahoo=%s\nCaution=%s\n",
                qPrintable(site.baseUrl()), market.stocks().size(),
                qPrintable(market.firstDay().toString(Qt::ISODate)), qPrintable(market.lastDay().toString(Qt::ISODate)),
                qPrintable(site.baseUrl()), qPrintable(site.baseUrl()), qPrintable(site.baseUrl()));
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    site.stop();
    return 0;
}
