#pragma once

#include <QList>
#include <QString>

#include <chrono>

#include <sys/types.h>

namespace updater {

struct ProcessEntry {
    QString name;    // file name of the executable
    QString exePath; // the path /proc/<pid>/exe names, without " (deleted)"
    pid_t pid = 0;
};

// The running processes by ascending pid; a process whose executable link cannot be read
// (another user's, a kernel thread, a zombie) is left out.
QList<ProcessEntry> getProcessList();

// How long a program is given to end in order after SIGTERM: the program stops its long
// job after the page in hand (a transfer gives up after 60 s), then backs up its database.
inline constexpr std::chrono::milliseconds kOrderlyEndBound{120000};

// Ends a process: SIGTERM, then up to `orderlyEnd` for it to end (a zombie counts as ended;
// window events are processed meanwhile), then SIGKILL. Returns 0 when the process is gone,
// else the errno of the failed signal (ETIMEDOUT when it outlives SIGKILL too).
int killProcess(pid_t pid, std::chrono::milliseconds orderlyEnd = kOrderlyEndBound);

} // namespace updater
