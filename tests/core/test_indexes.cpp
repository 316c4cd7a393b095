#include "core/modDB.h"
#include "core/modGlobal.h"
#include "support/ProgramDirFixture.h"

namespace {

class IndexesTest : public ProgramDirFixture {
protected:
    static QStringList indexes(const QString &schema)
    {
        db::Statement st = gcnDB.prepare(
            QStringLiteral("select name from %1.sqlite_master where type = 'index' and sql is not null order by name")
                .arg(schema));
        QStringList names;
        while (st.step())
            names << st.text(0);
        return names;
    }
};

TEST_F(IndexesTest, AnOldDatabaseGainsTheScreeningIndexesAtOpening)
{
    createDatabases();
    openDatabases();
    // The indexes as an earlier version left them.
    gcnDB.executeScript(QStringLiteral("drop index mst.ttstocks_日付_市場コード;"
                                       "create index mst.ttstocks_日付 on ttstocks (日付);"
                                       "drop index main.ttcontracthistory_銘柄コード_市場コード_登録日付;"));
    gcnDB.close();

    for (int opening = 0; opening < 2; ++opening) {
        openDatabases();
        EXPECT_EQ(indexes(QStringLiteral("mst")), QStringList{QStringLiteral("ttstocks_日付_市場コード")});
        EXPECT_TRUE(indexes(QStringLiteral("main"))
                        .contains(QStringLiteral("ttcontracthistory_銘柄コード_市場コード_登録日付")));
        gcnDB.close();
    }
}

} // namespace
