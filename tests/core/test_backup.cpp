#include "core/SettingsRecords.h"
#include "core/frmBackup.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Backup.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "support/ProgramDirFixture.h"
#include "support/ReservationRows.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class Backup : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        // Fresh writes sit in the write-ahead log, not yet in the database file itself.
        gcnDB.executeScript(QStringLiteral("PRAGMA journal_mode=WAL;"));
        gcnDB.executeScript(QStringLiteral("PRAGMA wal_autocheckpoint=0;"));
        for (int number = 1; number <= 3; ++number)
            addReservation({.予約番号 = number, .銘柄コード = QStringLiteral("7203")});
    }

    static qint64 reservationsIn(const QString &file)
    {
        db::Connection copy;
        copy.open(file);
        db::Statement count = copy.prepare(QStringLiteral("select count(*) from ttresevation"));
        count.step();
        return count.int64(0);
    }
};

TEST_F(Backup, CopyHoldsTheFreshWritesAndReplacesTheOldOne)
{
    const QString target = path(QStringLiteral("Nimbra3.mdb"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("last week's backup");
    old.close();

    db::backupDatabase(gcnDB, target);
    EXPECT_EQ(reservationsIn(target), 3);
    EXPECT_EQ(QDir(dir()).entryList({QStringLiteral("Nimbra3.mdb.*")}, QDir::Files), QStringList());
}

TEST_F(Backup, FailedCopyLeavesNothingBehind)
{
    EXPECT_THROW(db::backupDatabase(gcnDB, path(QStringLiteral("missing/Nimbra3.mdb"))), db::Error);
    EXPECT_FALSE(QDir(path(QStringLiteral("missing"))).exists());
}

TEST_F(Backup, MainWindowCloseBacksUpToTheWeekdayAndLogsBeforeTheLogCloses)
{
    sys::setNow(QDateTime(QDate(2007, 3, 6), QTime(18, 0))); // a Tuesday: digit 3
    glngLogFileNo = openLog();
    UserID = QStringLiteral("taro"); // a known user: no terms window at load
    {
        frmMain window;
        window.show();
        window.close();
    }
    EXPECT_EQ(glngLogFileNo, 0);
    const QString target = path(QStringLiteral("Nimbra3.mdb"));
    ASSERT_TRUE(QFile::exists(target));
    EXPECT_EQ(reservationsIn(target), 3);
    EXPECT_TRUE(logLines().contains(QStringLiteral("バックアップ完了(") + target + u')'))
        << logLines().join(u'\n').toStdString();
}

} // namespace
