#include "platform/sys/InstanceLock.h"

#include "platform/sys/ProgramDir.h"

#include <QFileInfo>

namespace sys {

InstanceLock::InstanceLock(const QString &lockPath) : m_path(lockPath), m_lock(std::make_unique<QLockFile>(lockPath))
{
    m_lock->setStaleLockTime(0); // stale only when its owner process is gone
}

InstanceLock::Result InstanceLock::acquire()
{
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return Result::Acquired;
    return m_lock->error() == QLockFile::LockFailedError ? Result::HeldElsewhere : Result::Unwritable;
}

QString InstanceLock::folder() const
{
    return QFileInfo(m_path).absolutePath();
}

QString programInstanceLockPath()
{
    return programFile(QStringLiteral(".") + exeName() + QStringLiteral(".lock"));
}

} // namespace sys
