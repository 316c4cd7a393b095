// The fake FTP server as a program, so the updater can be pointed at it by hand:
//
//   build/tests/support/fake_ftp_server --port 2121 --dir D [--refuse-logins] [--cut-after N]
//
// serves the folder D on 127.0.0.1 until interrupted (Ctrl+C or SIGTERM).
#include "FakeFtpServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

struct Arguments {
    int port = 2121;
    FakeFtpServer::Options options;
};

std::optional<long long> number(const char *text)
{
    char *end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0')
        return std::nullopt;
    return value;
}

std::optional<Arguments> parseArguments(int argc, char **argv)
{
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--refuse-logins") {
            args.options.refuseLogins = true;
            continue;
        }
        if (i + 1 >= argc)
            return std::nullopt;
        const char *value = argv[++i];
        if (name == "--dir") {
            args.options.root = value;
        } else if (name == "--port" || name == "--cut-after") {
            const std::optional<long long> parsed = number(value);
            if (!parsed)
                return std::nullopt;
            if (name == "--port")
                args.port = int(*parsed);
            else
                args.options.cutAfterBytes = *parsed;
        } else {
            return std::nullopt;
        }
    }
    if (args.options.root.empty())
        return std::nullopt;
    return args;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Arguments> args = parseArguments(argc, argv);
    if (!args) {
        std::fprintf(stderr, "usage: fake_ftp_server --port N --dir D [--refuse-logins] [--cut-after N]\n");
        return 2;
    }
    // The sessions' threads must not take the stop signals; the main thread waits for them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    FakeFtpServer server(args->options);
    if (!server.start(args->port)) {
        std::fprintf(stderr, "fake_ftp_server: cannot listen on 127.0.0.1:%d\n", args->port);
        return 1;
    }
    std::printf("Serving %s on ftp://127.0.0.1:%d/ (user %s)\n", args->options.root.c_str(), server.port(),
                args->options.user.c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}
