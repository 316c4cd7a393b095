#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace sys {

// Holds one lock that marks "a copy of this program uses this" (a program directory, a
// settings file). The lock file names the owning process, so a lock left behind by a
// crashed run is taken over.
class InstanceLock {
public:
    enum class Result {
        Acquired,      // this object now holds the lock
        HeldElsewhere, // another live process holds it
        Unwritable,    // the lock file cannot be written in its folder
    };

    explicit InstanceLock(const QString &lockPath);

    Result acquire();
    // The folder that holds the lock file.
    QString folder() const;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// The lock file of the program directory: .<ExeName>.lock.
QString programInstanceLockPath();

} // namespace sys
