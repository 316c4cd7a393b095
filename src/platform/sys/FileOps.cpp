#include "platform/sys/FileOps.h"

#include <QFile>
#include <QSaveFile>

namespace sys {

bool copyFileReplacing(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    constexpr qint64 chunkSize = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return false; // QSaveFile discards the partial copy
        if (out.write(chunk) != chunk.size())
            return false;
    }
    return out.commit();
}

bool deleteFile(const QString &path)
{
    return QFile::remove(path) || !QFile::exists(path);
}

} // namespace sys
