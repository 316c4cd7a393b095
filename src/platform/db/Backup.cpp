#include "platform/db/Backup.h"

#include "platform/db/Connection.h"
#include "platform/db/Error.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace db {
namespace {

struct CloseDatabase {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, CloseDatabase>;

QString failure(const QString &what, const QString &path, sqlite3 *db)
{
    return QStringLiteral("%1: %2 (%3)").arg(what, QString::fromUtf8(sqlite3_errmsg(db)), path);
}

} // namespace

void backupDatabase(Connection &source, const QString &targetPath)
{
    QTemporaryFile part(targetPath + QStringLiteral(".XXXXXX"));
    if (!part.open())
        throw Error(QStringLiteral("バックアップの一時ファイルを作れません: %1").arg(part.errorString()));
    part.close();
    const QString partPath = QFileInfo(part).absoluteFilePath();

    {
        sqlite3 *opened = nullptr;
        const int rc = sqlite3_open_v2(partPath.toUtf8().constData(), &opened, SQLITE_OPEN_READWRITE, nullptr);
        const DatabaseHandle target(opened);
        if (rc != SQLITE_OK)
            throw Error(failure(QStringLiteral("バックアップ先を開けません"), partPath, target.get()));

        sqlite3_backup *backup = sqlite3_backup_init(target.get(), "main", source.handle(), "main");
        if (!backup)
            throw Error(failure(QStringLiteral("バックアップを始められません"), partPath, target.get()));
        int step = SQLITE_OK;
        do {
            step = sqlite3_backup_step(backup, -1);
            if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while (step == SQLITE_OK || step == SQLITE_BUSY || step == SQLITE_LOCKED);
        sqlite3_backup_finish(backup);
        if (step != SQLITE_DONE)
            throw Error(failure(QStringLiteral("バックアップに失敗しました"), partPath, target.get()));
    }

    // rename() replaces the old backup in one step: there is always one whole backup.
    if (std::rename(partPath.toUtf8().constData(), targetPath.toUtf8().constData()) != 0)
        throw Error(QStringLiteral("バックアップを置き換えられません: %1").arg(targetPath));
    part.setAutoRemove(false);
}

} // namespace db
