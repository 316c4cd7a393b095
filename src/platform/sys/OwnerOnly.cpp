#include "platform/sys/OwnerOnly.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace sys {

void createFilesOwnerOnly()
{
    ::umask(S_IRWXG | S_IRWXO);
}

bool makeOwnerOnly(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const QFileDevice::Permissions wanted = info.isDir() ? kOwnerOnlyFile | QFileDevice::ExeOwner : kOwnerOnlyFile;
    return QFile::setPermissions(path, wanted);
}

bool createOwnerOnlyFolder(const QString &folder, const QString &within)
{
    if (!QDir().mkpath(folder))
        return false;
    const QString top = QDir::cleanPath(QFileInfo(within).absoluteFilePath());
    for (QString at = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); at.startsWith(top + u'/');
         at = QFileInfo(at).path())
        makeOwnerOnly(at);
    return true;
}

} // namespace sys
