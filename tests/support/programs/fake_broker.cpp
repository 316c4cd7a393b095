// The fake broker as a program, so the whole of Nimbra can place orders against it:
//
//   build/tests/support/fake_broker --port 18440 --user U --password P --trade-password T
//                                   [--mail-dir D] [--fill-price YEN]
//
// then put the printed [Hosts] lines into <program directory>/Nimbra_site.ini. With
// --mail-dir each accepted order leaves its execution-notice mail as a file in D.
// It serves until interrupted (Ctrl+C or SIGTERM).
#include "support/FakeBrokerSite.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

struct Arguments {
    int port = 18440;
    FakeBrokerSite::Account account;
    QString mailDir;
    int fillPrice = 0;
};

std::optional<Arguments> parseArguments(int argc, char **argv)
{
    if (argc % 2 == 0)
        return std::nullopt;
    Arguments args;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        bool ok = true;
        if (std::strcmp(argv[i], "--port") == 0)
            args.port = value.toInt(&ok);
        else if (std::strcmp(argv[i], "--user") == 0)
            args.account.user = value;
        else if (std::strcmp(argv[i], "--password") == 0)
            args.account.password = value;
        else if (std::strcmp(argv[i], "--trade-password") == 0)
            args.account.tradePassword = value;
        else if (std::strcmp(argv[i], "--mail-dir") == 0)
            args.mailDir = value;
        else if (std::strcmp(argv[i], "--fill-price") == 0)
            args.fillPrice = value.toInt(&ok);
        else
            return std::nullopt;
        if (!ok)
            return std::nullopt;
    }
    return args;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Arguments> args = parseArguments(argc, argv);
    if (!args) {
        std::fprintf(stderr,
                     "usage: %s [--port N] [--user U] [--password P] [--trade-password T] [--mail-dir D] "
                     "[--fill-price YEN]\n",
                     argv[0]);
        return 2;
    }
    // The server threads inherit this mask, so the signals reach only sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    FakeBrokerSite site(args->account);
    FakeBrokerSite::Behaviour behaviour;
    behaviour.fillPrice = args->fillPrice;
    site.setBehaviour(behaviour);
    site.setMailDirectory(args->mailDir);
    try {
        site.start(args->port);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("fake broker on %s\n%s", qPrintable(site.baseUrl()), qPrintable(site.hostsLines()));
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    site.stop();
    return 0;
}
