#include "updater/modProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <unistd.h>

namespace updater {
namespace {

constexpr std::chrono::milliseconds killWait{3000};

QString procPath(pid_t pid, const char *entry)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1StringView(entry));
}

// Gone, or a zombie that only waits for its parent to collect it.
bool hasEnded(pid_t pid)
{
    QFile stat(procPath(pid, "stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    // The state follows the command name, which is in parentheses and may hold anything.
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return true;
    const char state = line.at(close + 2);
    return state == 'Z' || state == 'X';
}

bool waitForEnd(pid_t pid, std::chrono::milliseconds bound)
{
    const QDeadlineTimer deadline(bound);
    while (!hasEnded(pid)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

QString readLink(const QString &path)
{
    char target[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    if (length <= 0 || size_t(length) >= sizeof target)
        return QString();
    return QFile::decodeName(QByteArray(target, qsizetype(length)));
}

int signalProcess(pid_t pid, int signalNumber)
{
    if (::kill(pid, signalNumber) == 0)
        return 0;
    return errno;
}

} // namespace

QList<ProcessEntry> getProcessList()
{
    QList<pid_t> pids;
    const QStringList names = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        bool ok = false;
        const int pid = name.toInt(&ok);
        if (ok && pid > 0)
            pids.append(pid_t(pid));
    }
    std::sort(pids.begin(), pids.end());

    QList<ProcessEntry> list;
    for (const pid_t pid : pids) {
        QString exe = readLink(procPath(pid, "exe"));
        if (exe.isEmpty())
            continue;
        const QString deleted = QStringLiteral(" (deleted)");
        if (exe.endsWith(deleted))
            exe.chop(deleted.size());
        list.append(ProcessEntry{QFileInfo(exe).fileName(), exe, pid});
    }
    return list;
}

int killProcess(pid_t pid, std::chrono::milliseconds orderlyEnd)
{
    if (const int error = signalProcess(pid, SIGTERM); error != 0)
        return error == ESRCH ? 0 : error;
    if (waitForEnd(pid, orderlyEnd))
        return 0;
    if (const int error = signalProcess(pid, SIGKILL); error != 0)
        return error == ESRCH ? 0 : error;
    return waitForEnd(pid, killWait) ? 0 : ETIMEDOUT;
}

} // namespace updater
