#include "core/modDB.h"
#include "core/modGlobal.h"
#include "support/ProgramDirFixture.h"

namespace {

QStringList indexes(const QString &schema)
{
    db::Statement st = gcnDB.prepare(
        QStringLiteral("select name from %1.sqlite_master where type = 'index' and sql is not null order by name")
            .arg(schema));
    QStringList names;
    while (st.step())
        names << st.text(0);
    return names;
}

using IndexesTest = ProgramDirFixture;

TEST_F(IndexesTest, AnOldDatabaseGainsTheScreeningIndexesAtStart)
{
    createDatabases();
    openDatabases();
    // The layouts as the previous version left them.
    gcnDB.executeScript(QStringLiteral("drop index mst.ttstocks_日付_市場コード;"
                                       "drop index mst.ttstocks_銘柄コード_市場コード_日付_系列;"
                                       "create index mst.ttstocks_日付 on ttstocks (日付);"
                                       "PRAGMA mst.user_version = 1;"
                                       "drop index main.ttcontracthistory_銘柄コード_市場コード_登録日付;"
                                       "PRAGMA main.user_version = 0;"));
    gcnDB.close();

    for (int start = 0; start < 2; ++start) {
        openDatabases();
        EXPECT_TRUE(checkVRColumn());
        EXPECT_EQ(indexes(QStringLiteral("mst")),
                  (QStringList{QStringLiteral("ttstocks_日付_市場コード"),
                               QStringLiteral("ttstocks_銘柄コード_市場コード_日付_系列")}));
        EXPECT_TRUE(indexes(QStringLiteral("main"))
                        .contains(QStringLiteral("ttcontracthistory_銘柄コード_市場コード_登録日付")));
        gcnDB.close();
    }
}

} // namespace
