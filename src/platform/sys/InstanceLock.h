#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace sys {

// Holds the one lock that marks "this program is running in this folder". The lock file
// names the owning process, so a lock left behind by a crashed run is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString &lockPath);

    // True when this object now holds the lock; false when another live process does.
    bool acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};

// The lock file of the program directory: .<ExeName>.lock.
QString programInstanceLockPath();

} // namespace sys
