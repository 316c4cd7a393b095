#include "core/modGlobal.h"
#include "platform/ui/FlexGrid.h"
#include "support/TradingFixture.h"
#include "trading/GridTexts.h"
#include "trading/modBrandGrid.h"

namespace {

class BrandGridTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        gdtLastKabukaDate = QDate(2026, 12, 9);
    }

    ui::FlexGrid grid;
};

TEST_F(BrandGridTest, HeaderLeavesTheHeaderAndOneEmptyRow)
{
    grid.setRows(7);
    grid.setTextMatrix(3, 0, QStringLiteral("old"));
    setBrandGridHeader(grid);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Cols(), 5);
    EXPECT_EQ(rowTexts(grid, 0),
              (QStringList{
                  {}, {}, QStringLiteral("　　　　　銘柄"), QStringLiteral("終値　"), QStringLiteral("出来高　　")}));
    EXPECT_EQ(rowTexts(grid, 1), QStringList(5));
    EXPECT_EQ((QList<int>{grid.ColWidth(0), grid.ColWidth(1), grid.ColWidth(2), grid.ColWidth(3), grid.ColWidth(4)}),
              (QList<int>{0, 0, 2400, 1000, 1400}));
    EXPECT_EQ(grid.ColAlignment(2), ui::flexAlignLeftCenter);
    EXPECT_EQ(grid.ColAlignment(4), ui::flexAlignRightCenter);
}

TEST_F(BrandGridTest, AppendedRowsKeepTheEmptyLastRow)
{
    addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("ABCDEFGH"));
    addPrice(QStringLiteral("1234"), QStringLiteral("t1"), gdtLastKabukaDate, 12345.5, 1234567);
    addBond(QStringLiteral("5678"), QStringLiteral("t1"), QStringLiteral("ABC"));
    addBond(QStringLiteral("9999"), QStringLiteral("tm"), QStringLiteral("NOPRICE"));
    setBrandGridHeader(grid);

    EXPECT_EQ(addBrandGridRow(grid, QStringLiteral("1234"), QStringLiteral("t1")), 1);
    EXPECT_EQ(grid.Rows(), 3);
    addPrice(QStringLiteral("5678"), QStringLiteral("t1"), gdtLastKabukaDate, 999);
    addBrandGridRow(grid, QStringLiteral("5678"), QStringLiteral("t1"));
    addBrandGridRow(grid, QStringLiteral("9999"), QStringLiteral("tm"));
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Row(), 3);

    EXPECT_EQ(rowTexts(grid, 1),
              (QStringList{QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("1234:ABCDEF (東1)"),
                           QStringLiteral("12,346"), QStringLiteral("1,234,567")}));
    EXPECT_EQ(rowTexts(grid, 2)[2], QStringLiteral("5678:ABC (東1)"));
    EXPECT_EQ(rowTexts(grid, 3), (QStringList{QStringLiteral("9999"), QStringLiteral("tm"), QStringLiteral("9999: ()"),
                                              QStringLiteral("0"), QStringLiteral("0")}));
    EXPECT_EQ(rowTexts(grid, 4), QStringList(5));
}

TEST_F(BrandGridTest, MarketNameIsCutToTwoCharacters)
{
    gcnDB.execute(QStringLiteral("update tmmarket set 市場名略称 = 'XYZ' where 市場コード = 't1'"));
    addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("Co"));
    addPrice(QStringLiteral("1234"), QStringLiteral("t1"), gdtLastKabukaDate, 100);
    setBrandGridHeader(grid);
    addBrandGridRow(grid, QStringLiteral("1234"), QStringLiteral("t1"));
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("1234:Co (XY)"));
}

} // namespace
