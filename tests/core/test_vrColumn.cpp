#include "core/modDB.h"
#include "core/modGlobal.h"
#include "platform/db/Error.h"
#include "support/ProgramDirFixture.h"

#include <QFile>

namespace {

class VrColumnTest : public ProgramDirFixture {};

TEST_F(VrColumnTest, AddsOnlyMissingColumnsAndKeepsStoredValues)
{
    createDatabases();
    {
        db::Connection price;
        price.open(priceDatabasePath());
        price.executeScript(QStringLiteral(
            "insert into ttstocks (銘柄コード, 市場コード, 日付, VRA) values ('7203', 't1', '2026-12-01', 55.5);"
            "alter table ttstocks drop column VRB;"));
    }
    EXPECT_FALSE(checkVRColumn());
    EXPECT_TRUE(checkVRColumn());

    db::Connection price;
    price.open(priceDatabasePath());
    db::Statement st = price.prepare(QStringLiteral("select VRA, VRB from ttstocks"));
    ASSERT_TRUE(st.step());
    EXPECT_DOUBLE_EQ(st.real(0), 55.5);
    EXPECT_FALSE(st.isNull(1));
    EXPECT_DOUBLE_EQ(st.real(1), 0);
}

TEST_F(VrColumnTest, UnreadableDatabaseIsAnErrorNotARecalculation)
{
    QFile garbage(priceDatabasePath());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    EXPECT_THROW(checkVRColumn(), std::exception);
}

} // namespace
