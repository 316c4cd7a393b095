// The fake FTP server as a program, so the updater can be pointed at it by hand:
//
//   build/tests/support/fake_ftp_server --port 2121 --dir D [--refuse-logins] [--cut-after N]
//
// serves the folder D on 127.0.0.1 until interrupted (Ctrl+C or SIGTERM).
#include "FakeFtpServer.h"
#include "support/FakeProgramArgs.h"

#include <cstdio>
#include <stdexcept>

int main(int argc, char **argv)
{
    const std::optional<FakeProgramArgs> args =
        FakeProgramArgs::parse(argc, argv, {QStringLiteral("--dir")}, {QStringLiteral("--refuse-logins")},
                               {QStringLiteral("--port"), QStringLiteral("--cut-after")});
    if (!args || args->values.value(QStringLiteral("--dir")).isEmpty()) {
        std::fprintf(stderr, "usage: fake_ftp_server --port N --dir D [--refuse-logins] [--cut-after N]\n");
        return 2;
    }
    FakeFtpServer::Options options;
    options.root = args->values.value(QStringLiteral("--dir")).toLocal8Bit().toStdString();
    options.refuseLogins = args->switches.contains(QStringLiteral("--refuse-logins"));
    options.cutAfterBytes = args->values.value(QStringLiteral("--cut-after"), QStringLiteral("-1")).toLongLong();
    FakeFtpServer server(options);
    const int port = args->number(QStringLiteral("--port"), 2121);
    return serveUntilStopped(
        [&] {
            if (!server.start(port))
                throw std::runtime_error("fake_ftp_server: cannot listen on 127.0.0.1:" + std::to_string(port));
            return QStringLiteral("Serving %1 on ftp://127.0.0.1:%2/ (user %3)")
                .arg(QString::fromStdString(options.root.string()))
                .arg(server.port())
                .arg(QString::fromStdString(options.user));
        },
        [&] { server.stop(); });
}
