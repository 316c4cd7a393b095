#pragma once

#include <QList>
#include <QString>

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

// Ends a process: SIGTERM, up to 3000 ms for it to end (a zombie counts as ended; window
// events are processed meanwhile), then SIGKILL. Returns 0 when the process is gone, else
// the errno of the failed signal (ETIMEDOUT when it outlives SIGKILL too).
int killProcess(pid_t pid);

} // namespace updater
