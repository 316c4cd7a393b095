// The fake POP3 mailbox as a program, so the whole of Nimbra can read its notices from it:
//
//   build/tests/support/fake_pop3 --port 11110 --dir D --user U --password P
//       [--drop-after-retr N] [--delay-ms MS] [--refuse-login] [--refuse-deletions]
//
// The files in D are the maildrop (the fake broker's --mail-dir writes them); set the
// mailbox's POP3 server to 127.0.0.1:11110. It serves until interrupted (Ctrl+C or SIGTERM).
#include "support/FakePop3Server.h"
#include "support/FakeProgramArgs.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const std::optional<FakeProgramArgs> args = FakeProgramArgs::parse(
        argc, argv, {QStringLiteral("--dir"), QStringLiteral("--user"), QStringLiteral("--password")},
        {QStringLiteral("--refuse-login"), QStringLiteral("--refuse-deletions")},
        {QStringLiteral("--port"), QStringLiteral("--drop-after-retr"), QStringLiteral("--delay-ms")});
    if (!args || !args->values.contains(QStringLiteral("--dir"))) {
        std::fprintf(stderr,
                     "usage: %s --port N --dir D --user U --password P [--drop-after-retr N] [--delay-ms MS] "
                     "[--refuse-login] [--refuse-deletions]\n",
                     argv[0]);
        return 2;
    }
    FakePop3Server server(args->values.value(QStringLiteral("--dir")), args->values.value(QStringLiteral("--user")),
                          args->values.value(QStringLiteral("--password")));
    server.setDropAfterRetr(args->number(QStringLiteral("--drop-after-retr"), 0));
    server.setAnswerDelayMs(args->number(QStringLiteral("--delay-ms"), 0));
    server.setRefuseLogin(args->switches.contains(QStringLiteral("--refuse-login")));
    server.setRefuseDeletions(args->switches.contains(QStringLiteral("--refuse-deletions")));
    return serveUntilStopped(
        [&] {
            server.start(args->number(QStringLiteral("--port"), 11110));
            return QStringLiteral("fake POP3 mailbox on ") + server.address();
        },
        [&] { server.stop(); });
}
