#include "support/FakeProgramArgs.h"

#include <cstdio>
#include <exception>

std::optional<FakeProgramArgs> FakeProgramArgs::parse(int argc, char **argv, const QStringList &options,
                                                      const QStringList &flags, const QStringList &numbers)
{
    FakeProgramArgs args;
    for (int i = 1; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        if (flags.contains(name)) {
            args.switches.push_back(name);
        } else if ((options.contains(name) || numbers.contains(name)) && i + 1 < argc) {
            const QString value = QString::fromLocal8Bit(argv[++i]);
            bool whole = true;
            if (numbers.contains(name))
                value.toLongLong(&whole);
            if (!whole)
                return std::nullopt;
            args.values.insert(name, value);
        } else {
            return std::nullopt;
        }
    }
    return args;
}

StopSignals::StopSignals()
{
    sigemptyset(&m_set);
    sigaddset(&m_set, SIGINT);
    sigaddset(&m_set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &m_set, nullptr);
}

void StopSignals::wait()
{
    int received = 0;
    sigwait(&m_set, &received);
}

int serveUntilStopped(const std::function<QString()> &start, const std::function<void()> &stop)
{
    // Before the server's threads exist, so that they inherit the blocked signals.
    StopSignals stopSignals;
    QString banner;
    try {
        banner = start();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%s\n", qPrintable(banner));
    std::fflush(stdout);
    stopSignals.wait();
    stop();
    return 0;
}
