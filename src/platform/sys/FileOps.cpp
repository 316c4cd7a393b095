#include "platform/sys/FileOps.h"

#include "platform/sys/OwnerOnly.h"

#include <QFile>
#include <QSaveFile>

namespace sys {

Status copyFileReplacing(const QString &source, const QString &target)
{
    const auto failure = [&](const QFileDevice &file) {
        return Status::failure(QStringLiteral("ファイル(%1)を(%2)にコピーできません。(%3: %4)")
                                   .arg(source, target, file.fileName(), file.errorString()));
    };
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failure(in);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(kOwnerOnlyFile))
        return failure(out);
    constexpr qint64 chunkSize = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return failure(in); // QSaveFile discards the partial copy
        if (out.write(chunk) != chunk.size())
            return failure(out);
    }
    return out.commit() ? Status::success() : failure(out);
}

bool deleteFile(const QString &path)
{
    return QFile::remove(path) || !QFile::exists(path);
}

} // namespace sys
