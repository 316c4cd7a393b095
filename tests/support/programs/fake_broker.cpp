// The fake broker as a program, so the whole of Nimbra can place orders against it:
//
//   build/tests/support/fake_broker --port 18440 --user U --password P --trade-password T
//                                   [--mail-dir D] [--fill-price YEN] [--hold-form MS]
//
// then put the printed [Hosts] lines into <program directory>/Nimbra_site.ini. With
// --mail-dir each accepted order leaves its execution-notice mail as a file in D. With
// --hold-form the order form comes MS milliseconds late, so the program can be ended while
// it waits for the form. It serves until interrupted (Ctrl+C or SIGTERM).
#include "support/FakeBrokerSite.h"
#include "support/FakeProgramArgs.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const std::optional<FakeProgramArgs> args = FakeProgramArgs::parse(
        argc, argv,
        {QStringLiteral("--user"), QStringLiteral("--password"), QStringLiteral("--trade-password"),
         QStringLiteral("--mail-dir")},
        {}, {QStringLiteral("--port"), QStringLiteral("--fill-price"), QStringLiteral("--hold-form")});
    if (!args) {
        std::fprintf(stderr,
                     "usage: %s [--port N] [--user U] [--password P] [--trade-password T] [--mail-dir D] "
                     "[--fill-price YEN] [--hold-form MS]\n",
                     argv[0]);
        return 2;
    }
    FakeBrokerSite::Account account;
    for (const auto &[option, value] : {std::pair{QStringLiteral("--user"), &account.user},
                                        std::pair{QStringLiteral("--password"), &account.password},
                                        std::pair{QStringLiteral("--trade-password"), &account.tradePassword}})
        *value = args->values.value(option, *value);
    FakeBrokerSite site(account);
    FakeBrokerSite::Behaviour behaviour;
    behaviour.fillPrice = args->number(QStringLiteral("--fill-price"), 0);
    behaviour.slowForm = std::chrono::milliseconds(args->number(QStringLiteral("--hold-form"), 0));
    site.setBehaviour(behaviour);
    site.setMailDirectory(args->values.value(QStringLiteral("--mail-dir")));
    return serveUntilStopped(
        [&] {
            site.start(args->number(QStringLiteral("--port"), 18440));
            return QStringLiteral("fake broker on ") + site.baseUrl() + u'\n' + site.hostsLines().trimmed();
        },
        [&] { site.stop(); });
}
