#include "core/modGlobal.h"
#include "mainwindow/ResultLists.h"
#include "platform/ui/FlexGrid.h"
#include "support/TradingFixture.h"

#include <gtest/gtest.h>

namespace {

class ResultListsTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("ABCDEFG"));
        gcnDB.execute(QStringLiteral("update tmmarket set 市場名略称 = 'XYZ' where 市場コード = 't1'"));
    }
    void addExecution(qint64 number, const char *received, const char *side, qint64 price, qint64 shares)
    {
        gcnDB.execute(
            QStringLiteral("insert into ttcontracthistory (注文番号, 受付日時, 売買区分, 銘柄コード, 約定株数,"
                           " 約定金額, 予約番号, 市場コード) values (?, ?, ?, '1234', ?, ?, ?, 't1')"),
            100 + number, QString::fromLatin1(received), QString::fromLatin1(side), shares, price, number);
    }
    QStringList column(int col) const
    {
        QStringList texts;
        for (int r = 1; r < grid.Rows(); ++r)
            texts << grid.TextMatrix(r, col);
        return texts;
    }
    ui::FlexGrid grid;
};

TEST_F(ResultListsTest, EmptyHistoryLeavesTheHeaderOnly)
{
    grid.setRows(4);
    setYakuzyouList(grid);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 4), QStringLiteral("　約定日"));
    EXPECT_EQ(grid.TextMatrix(0, 5), QStringLiteral("　　　銘柄"));
    EXPECT_EQ(grid.TextMatrix(0, 6), QStringLiteral("　　内容"));
    setYakuzyouList2(grid);
    EXPECT_EQ(grid.Rows(), 1);
}

TEST_F(ResultListsTest, ByDateListsEveryExecutionBuysFirst)
{
    addExecution(1, "2026-12-02 10:00:00", "2", 1100, 100);
    addExecution(1, "2026-12-01 09:00:00", "1", 1234, 1000);
    addExecution(2, "2026-12-02 10:00:00", "1", 500, 100);
    setYakuzyouList(grid);
    EXPECT_EQ(column(4),
              (QStringList{QStringLiteral("2026/12/01"), QStringLiteral("2026/12/02"), QStringLiteral("2026/12/02")}));
    EXPECT_EQ(column(6), (QStringList{QStringLiteral("1,234円:1,000株:買"), QStringLiteral("500円:100株:買"),
                                      QStringLiteral("1,100円:100株:売")}));
    EXPECT_EQ(grid.TextMatrix(1, 5), QStringLiteral("1234:ABCD (XY)"));
    EXPECT_EQ(column(3), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")}));
    EXPECT_EQ(grid.ColWidth(3), 0);
}

TEST_F(ResultListsTest, ByStockClosesEachGroupWithItsProfit)
{
    addExecution(1, "2026-12-01 09:00:00", "1", 1000, 50);
    addExecution(1, "2026-12-01 09:01:00", "1", 1000, 50);
    addExecution(1, "2026-12-03 09:00:00", "2", 1100, 100);
    addExecution(2, "2026-12-04 09:00:00", "1", 700, 100);      // bought only
    addExecution(3, "2026-12-05 09:00:00", "1", 2000000, 2000); // 4,000,000,000 yen
    addExecution(3, "2026-12-06 09:00:00", "2", 2100000, 2000);
    addExecution(4, "2026-12-07 09:00:00", "1", 100, 10);
    addExecution(4, "2026-12-08 09:00:00", "3", 90, 10); // unknown side: no text, counted as a sale
    setYakuzyouList2(grid);
    const QString profit = QStringLiteral("　　損益");
    EXPECT_EQ(column(4).mid(3, 1), QStringList{profit});
    EXPECT_EQ(column(6), (QStringList{
                             QStringLiteral("1,000円:50株:買"),
                             QStringLiteral("1,000円:50株:買"),
                             QStringLiteral("1,100円:100株:売"),
                             QStringLiteral("10,000円"),
                             QStringLiteral("700円:100株:買"),
                             QStringLiteral("0円"),
                             QStringLiteral("2,000,000円:2,000株:買"),
                             QStringLiteral("2,100,000円:2,000株:売"),
                             QStringLiteral("200,000,000円"),
                             QStringLiteral("100円:10株:買"),
                             QStringLiteral("90円:10株:"),
                             QStringLiteral("-100円"),
                         }));
    // A profit row carries no key, so no press or popup acts on it.
    EXPECT_EQ(grid.TextMatrix(4, 0), QString());
    EXPECT_EQ(grid.TextMatrix(4, 3), QString());
}

} // namespace
