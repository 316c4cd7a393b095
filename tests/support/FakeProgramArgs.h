#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include <csignal>

// The command line of a fake's program: "--name value" pairs and bare "--switch" flags.
// std::nullopt when an argument is neither a known option nor a known switch, or when an
// option of `numbers` (accepted as an option too) is not a whole number.
struct FakeProgramArgs {
    QMap<QString, QString> values;
    QStringList switches;

    static std::optional<FakeProgramArgs> parse(int argc, char **argv, const QStringList &options,
                                                const QStringList &flags, const QStringList &numbers = {});
    int number(const QString &name, int fallback) const
    {
        return values.value(name, QString::number(fallback)).toInt();
    }
};

// Blocks SIGINT and SIGTERM for every thread started afterwards and waits for one of them,
// so a fake's program serves until it is interrupted.
class StopSignals {
public:
    StopSignals();
    void wait();

private:
    sigset_t m_set;
};

// The rest of a fake's main once its arguments are read: `start` starts the server (it
// throws std::exception when it cannot) and returns the text to print, such as its
// address; then it serves until SIGINT or SIGTERM and `stop` ends it. Returns main's exit
// code: 0, or 1 with the reason on stderr when the server did not start.
int serveUntilStopped(const std::function<QString()> &start, const std::function<void()> &stop);
