#include "platform/sys/InstanceLock.h"

#include "platform/sys/ProgramDir.h"

namespace sys {

InstanceLock::InstanceLock(const QString &lockPath) : m_lock(std::make_unique<QLockFile>(lockPath))
{
    m_lock->setStaleLockTime(0); // stale only when its owner process is gone
}

bool InstanceLock::acquire()
{
    return m_lock->isLocked() || m_lock->tryLock(0);
}

QString programInstanceLockPath()
{
    return programFile(QStringLiteral(".") + exeName() + QStringLiteral(".lock"));
}

} // namespace sys
