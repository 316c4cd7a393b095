#pragma once

#include <QString>
#include <QTemporaryFile>

namespace updater {

// Receives a download in a hidden temporary file beside its target ("<folder>/.<name>.XXXXXX")
// and puts it in place only when it is whole, so a failed or cut transfer never costs the
// user the file they have. The temporary file is removed unless it was committed.
class DownloadFile {
public:
    explicit DownloadFile(const QString &targetPath);
    ~DownloadFile();
    DownloadFile(const DownloadFile &) = delete;
    DownloadFile &operator=(const DownloadFile &) = delete;

    bool isOpen() const { return m_file.isOpen(); }
    bool write(const char *data, qint64 size);
    qint64 size() const { return m_written; }

    // Refuses an empty file, a failed write and a size other than expectedSize (when it is
    // not negative). Otherwise flushes the bytes to disk, gives them the target's mode plus
    // the execute bits (0755 for a new target) and renames them over the target.
    bool commit(qint64 expectedSize);

private:
    QString m_target;
    QTemporaryFile m_file;
    qint64 m_written = 0;
    bool m_writeFailed = false;
};

} // namespace updater
