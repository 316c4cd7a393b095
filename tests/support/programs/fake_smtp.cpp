// The fake SMTP server as a program, to receive the mails Nimbra sends:
//
//   build/tests/support/fake_smtp --port 2525 --dir D [--refuse-rcpt] [--refuse-data] [--drop]
//
// Each accepted message is written to D as <n>.eml with its envelope in <n>.envelope; put
// Smtp=smtp://127.0.0.1:2525/ under [Hosts] of the site file. It serves until interrupted.
#include "support/FakeProgramArgs.h"
#include "support/FakeSmtpServer.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const std::optional<FakeProgramArgs> args = FakeProgramArgs::parse(
        argc, argv, {QStringLiteral("--dir")},
        {QStringLiteral("--refuse-rcpt"), QStringLiteral("--refuse-data"), QStringLiteral("--drop")},
        {QStringLiteral("--port")});
    if (!args || !args->values.contains(QStringLiteral("--dir"))) {
        std::fprintf(stderr, "usage: %s --port N --dir D [--refuse-rcpt] [--refuse-data] [--drop]\n", argv[0]);
        return 2;
    }
    FakeSmtpServer server(args->values.value(QStringLiteral("--dir")));
    server.setRefuseRcpt(args->switches.contains(QStringLiteral("--refuse-rcpt")));
    server.setRefuseData(args->switches.contains(QStringLiteral("--refuse-data")));
    server.setDropAfterMail(args->switches.contains(QStringLiteral("--drop")));
    return serveUntilStopped(
        [&] {
            server.start(args->number(QStringLiteral("--port"), 2525));
            return QStringLiteral("fake SMTP server on ") + server.url();
        },
        [&] { server.stop(); });
}
