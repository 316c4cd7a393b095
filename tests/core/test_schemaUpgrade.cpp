#include "core/modDB.h"
#include "core/modGlobal.h"
#include "platform/db/Error.h"
#include "support/ProgramDirFixture.h"

#include <QFile>

namespace {

int userVersion(db::Connection &connection)
{
    db::Statement st = connection.prepare(QStringLiteral("PRAGMA user_version"));
    st.step();
    return int(st.int64(0));
}

class SchemaUpgradeTest : public ProgramDirFixture {
protected:
    // Turns the fresh price database into one of an older layout: version 0, with the
    // given columns of ttstocks removed and one stored row.
    void makeOldPriceDatabase(const QStringList &droppedColumns)
    {
        createDatabases();
        db::Connection price;
        price.open(priceDatabasePath());
        freshColumns = price.columnNames(QStringLiteral("ttstocks"));
        price.executeScript(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 終値) "
                                           "values ('7203', 't1', '2026-12-01', 2500);"
                                           "PRAGMA user_version = 0;"));
        for (const QString &column : droppedColumns)
            price.executeScript(QStringLiteral("alter table ttstocks drop column ") + column);
    }

    QStringList freshColumns;
};

TEST_F(SchemaUpgradeTest, NewFilesAreAtTheVersionTheWalkReaches)
{
    createDatabases();
    db::Connection price;
    price.open(priceDatabasePath());
    EXPECT_EQ(userVersion(price), schemaVersion(DatabaseKind::Price));
    db::Connection work;
    work.open(workDatabasePath());
    EXPECT_EQ(userVersion(work), schemaVersion(DatabaseKind::Work));
}

TEST_F(SchemaUpgradeTest, OldPriceDatabaseIsBroughtToTheNewLayoutKeepingItsRows)
{
    struct Case {
        QStringList dropped;
        bool complete; // false: the indicators need a full recalculation
    };
    const Case cases[] = {
        {{QStringLiteral("VRA"), QStringLiteral("VRB")}, false},
        {{QStringLiteral("VRB")}, false},
        {{}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dropped.join(u',').toStdString());
        QFile::remove(priceDatabasePath());
        QFile::remove(workDatabasePath());
        makeOldPriceDatabase(c.dropped);

        EXPECT_EQ(checkVRColumn(), c.complete);
        EXPECT_TRUE(checkVRColumn()) << "a second start recalculates nothing";

        db::Connection price;
        price.open(priceDatabasePath());
        EXPECT_EQ(userVersion(price), schemaVersion(DatabaseKind::Price));
        EXPECT_TRUE(price.columnNames(QStringLiteral("ttstocks")) == freshColumns);
        db::Statement st = price.prepare(QStringLiteral("select 終値, VRA, VRB from ttstocks"));
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.int64(0), 2500);
        EXPECT_DOUBLE_EQ(st.real(1), 0);
        EXPECT_DOUBLE_EQ(st.real(2), 0);
    }
}

TEST_F(SchemaUpgradeTest, OldWorkingDatabaseGainsTheUpdateJournal)
{
    createDatabases();
    {
        db::Connection work;
        work.open(workDatabasePath());
        work.executeScript(QStringLiteral("drop table ttupdatejournal; PRAGMA user_version = 2;"));
    }
    openDatabases();
    EXPECT_EQ(userVersion(gcnDB), schemaVersion(DatabaseKind::Work));
    EXPECT_EQ(
        gcnDB.columnNames(QStringLiteral("ttupdatejournal")),
        QStringList({QStringLiteral("開始日"), QStringLiteral("終了日"), QStringLiteral("段階"),
                     QStringLiteral("取得日"), QStringLiteral("取得銘柄コード"), QStringLiteral("取得市場コード")}));
}

TEST_F(SchemaUpgradeTest, FileOfANewerProgramIsRefusedAndLeftAsItIs)
{
    createDatabases();
    {
        db::Connection price;
        price.open(priceDatabasePath());
        price.executeScript(QStringLiteral("PRAGMA user_version = 99; alter table ttstocks drop column VRB;"));
    }
    try {
        checkVRColumn();
        FAIL() << "a newer file was accepted";
    } catch (const db::Error &e) {
        EXPECT_TRUE(e.message().contains(priceDatabasePath())) << e.message().toStdString();
    }
    db::Connection price;
    price.open(priceDatabasePath());
    EXPECT_EQ(userVersion(price), 99);
    EXPECT_FALSE(price.columnNames(QStringLiteral("ttstocks")).contains(QStringLiteral("VRB")));
}

} // namespace

TEST_F(SchemaUpgradeTest, OldWorkDatabaseGainsTheMailMarkerTable)
{
    createDatabases();
    {
        db::Connection work;
        work.open(workDatabasePath());
        work.executeScript(QStringLiteral("drop table ttmailprocessed; PRAGMA user_version = 1;"));
    }
    openDatabases();
    EXPECT_TRUE(gcnDB.tableNames().contains(QStringLiteral("ttmailprocessed")));
    EXPECT_EQ(userVersion(gcnDB), schemaVersion(DatabaseKind::Work));
    gcnDB.execute(
        QStringLiteral("insert into ttmailprocessed (ファイル名, 通知キー, 結果, 処理日付) values (?, ?, ?, ?)"),
        QStringLiteral("a.eml"), QStringLiteral("id:x"), QStringLiteral("約定"), QStringLiteral("2026-01-05"));
    EXPECT_THROW(gcnDB.execute(QStringLiteral("insert into ttmailprocessed (ファイル名, 通知キー, 結果, 処理日付)"
                                              " values (?, ?, ?, ?)"),
                               QStringLiteral("b.eml"), QStringLiteral("id:x"), QStringLiteral("約定"),
                               QStringLiteral("2026-01-05")),
                 db::Error); // a notice key counts once
}
