#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

#include <csignal>

// The command line of a fake's program: "--name value" pairs and bare "--switch" flags.
// std::nullopt when an argument is neither a known option nor a known switch.
struct FakeProgramArgs {
    QMap<QString, QString> values;
    QStringList switches;

    static std::optional<FakeProgramArgs> parse(int argc, char **argv, const QStringList &options,
                                                const QStringList &flags);
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
