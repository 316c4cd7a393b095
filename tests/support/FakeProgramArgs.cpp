#include "support/FakeProgramArgs.h"

std::optional<FakeProgramArgs> FakeProgramArgs::parse(int argc, char **argv, const QStringList &options,
                                                      const QStringList &flags)
{
    FakeProgramArgs args;
    for (int i = 1; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        if (flags.contains(name)) {
            args.switches.push_back(name);
        } else if (options.contains(name) && i + 1 < argc) {
            args.values.insert(name, QString::fromLocal8Bit(argv[++i]));
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
