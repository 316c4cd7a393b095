#include "updater/DownloadFile.h"

#include <QFileInfo>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace updater {
namespace {

mode_t modeForTarget(const QString &target)
{
    struct stat info {};
    if (::stat(QFile::encodeName(target).constData(), &info) != 0)
        return 0755;
    return (info.st_mode & 07777) | S_IXUSR | S_IXGRP | S_IXOTH;
}

// Makes the rename itself durable, so a power cut cannot bring the old name back empty.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

DownloadFile::DownloadFile(const QString &targetPath) : m_target(targetPath)
{
    const QFileInfo target(targetPath);
    m_file.setFileTemplate(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".XXXXXX"));
    m_file.open();
}

DownloadFile::~DownloadFile() = default;

bool DownloadFile::write(const char *data, qint64 size)
{
    if (m_file.write(data, size) != size) {
        m_writeFailed = true;
        return false;
    }
    m_written += size;
    return true;
}

bool DownloadFile::commit(qint64 expectedSize)
{
    if (!isOpen() || m_writeFailed || m_written == 0 || (expectedSize >= 0 && expectedSize != m_written))
        return false;
    if (!m_file.flush() || ::fsync(m_file.handle()) != 0 || ::fchmod(m_file.handle(), modeForTarget(m_target)) != 0)
        return false;
    const QString temporary = m_file.fileName();
    m_file.close();
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
        return false;
    m_file.setAutoRemove(false);
    syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

} // namespace updater
