#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "support/TradingFixture.h"
#include "trading/GridTexts.h"
#include "trading/modOrderDue.h"
#include "trading/modOrderGrid.h"

namespace {

class OrderGridTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 2)));
        glngStartMinute = 600;
        addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("ABCDEFG"));
        gcnDB.execute(QStringLiteral("update tmmarket set 市場名略称 = 'XYZ' where 市場コード = 't1'"));
        grid.setRowHeight(0, 300);
    }

    void add(qint64 number, int state, const QString &updated, std::optional<qint64> purchases = std::nullopt,
             int manual = 0, int errorCode = 0)
    {
        addReservation({.予約番号 = number,
                        .銘柄コード = QStringLiteral("1234"),
                        .株数 = 300,
                        .処理区分 = state,
                        .エラーコード = errorCode,
                        .更新日付 = updated,
                        .市場コード = QStringLiteral("t1"),
                        .約定株数買 = 100,
                        .注文番号 = 7000 + number,
                        .手動注文区分 = manual,
                        .注文回 = purchases});
    }

    ui::FlexGrid grid;
};

TEST_F(OrderGridTest, EmptyListHasTheHeaderOnly)
{
    add(1, 9, QStringLiteral("2026-12-09 10:00:00"));
    grid.setRows(5);
    setOrderGrid(grid);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 9);
    EXPECT_EQ(rowTexts(grid, 0), (QStringList{{},
                                              {},
                                              {},
                                              {},
                                              {},
                                              QStringLiteral("　注文日"),
                                              QStringLiteral("　　　　銘　　柄"),
                                              QStringLiteral("　状態"),
                                              QStringLiteral("処理")}));
    QList<int> widths;
    for (int c = 0; c < 9; ++c)
        widths << grid.ColWidth(c);
    EXPECT_EQ(widths, (QList<int>{0, 0, 0, 0, 0, 1100, 2250, 800, 800}));
}

TEST_F(OrderGridTest, RowsTextsAndActionCells)
{
    add(1, 2, QStringLiteral("2026-12-09 15:00:00"), 0);         // held, first purchase
    add(2, 2, QStringLiteral("2026-12-09 15:00:00"), 1, 1);      // settle asked, one averaging down
    add(3, 3, QStringLiteral("2026-12-09 14:00:00"));            // sell ordered, no count yet
    add(4, 0, QStringLiteral("2026-12-09 13:00:00"), 5);         // waiting: name alone
    add(5, 1, QStringLiteral("2026-12-09 15:00:00"));            // buy ordered: same time, lower state first
    add(6, 0, QStringLiteral("2026-12-09 12:00:00"), {}, 0, 90); // order sent, answer lost
    addReservation(
        {.予約番号 = 7, .銘柄コード = QStringLiteral("9999"), .市場コード = QStringLiteral("t1")}); // not in the master
    setOrderGrid(grid);

    ASSERT_EQ(grid.Rows(), 7);
    EXPECT_EQ(rowTexts(grid, 2),
              (QStringList{QStringLiteral("1234"), QStringLiteral("7001"), QStringLiteral("1"), QStringLiteral("2"),
                           QStringLiteral("t1"), QStringLiteral("2026/12/09"), QStringLiteral("1234ABC(XY) 100株"),
                           QStringLiteral("買約定1"), QStringLiteral("決済")}));
    const struct {
        QString number;
        QString stock;
        QString state;
        QString action;
        QColor back;
        bool headerHeight;
    } expected[] = {
        {.number = QStringLiteral("5"),
         .stock = QStringLiteral("1234ABC(XY) 300株"),
         .state = QStringLiteral("買注済"),
         .action = {},
         .back = {},
         .headerHeight = true},
        {.number = QStringLiteral("1"),
         .stock = QStringLiteral("1234ABC(XY) 100株"),
         .state = QStringLiteral("買約定1"),
         .action = QStringLiteral("決済"),
         .back = QColor(0, 128, 0),
         .headerHeight = false},
        {.number = QStringLiteral("2"),
         .stock = QStringLiteral("1234ABC(XY) 100株"),
         .state = QStringLiteral("買約定2"),
         .action = {},
         .back = {},
         .headerHeight = true},
        {.number = QStringLiteral("3"),
         .stock = QStringLiteral("1234ABC(XY) 100株"),
         .state = QStringLiteral("売注済"),
         .action = QStringLiteral("売開始"),
         .back = QColor(0, 0, 255),
         .headerHeight = false},
        {.number = QStringLiteral("4"),
         .stock = QStringLiteral("1234ABC(XY) 300株"),
         .state = QStringLiteral("注文準備"),
         .action = QStringLiteral("取消"),
         .back = QColor(0, 128, 0),
         .headerHeight = false},
        {.number = QStringLiteral("6"),
         .stock = QStringLiteral("1234ABC(XY) 300株"),
         .state = QStringLiteral("結果不明"),
         .action = QStringLiteral("取消"),
         .back = QColor(0, 128, 0),
         .headerHeight = false},
    };
    int row = 0;
    for (const auto &e : expected) {
        ++row;
        EXPECT_EQ(grid.TextMatrix(row, 2), e.number) << row;
        EXPECT_EQ(grid.TextMatrix(row, 6), e.stock) << row;
        EXPECT_EQ(grid.TextMatrix(row, 7), e.state) << row;
        EXPECT_EQ(grid.TextMatrix(row, 8), e.action) << row;
        grid.setRow(row);
        grid.setCol(8);
        EXPECT_EQ(grid.CellBackColor(), e.back) << row;
        if (e.back.isValid()) {
            EXPECT_EQ(grid.CellForeColor(), QColor(Qt::white)) << row;
        }
        EXPECT_EQ(grid.RowHeight(row) == 300, e.headerHeight) << row;
    }
    EXPECT_EQ(grid.ColAlignment(6), ui::flexAlignLeftCenter);
    EXPECT_EQ(grid.ColAlignment(8), ui::flexAlignCenterCenter);

    // Three minutes after the start the waiting rows offer no cancel.
    sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 3)));
    setOrderGrid(grid);
    EXPECT_EQ(grid.TextMatrix(5, 8), QString());
    EXPECT_EQ(grid.RowHeight(5), 300);
}

// A rebuild asked for while one runs is not lost and does not interleave with it.
TEST_F(OrderGridTest, ACallDuringARebuildRunsOnceAfterIt)
{
    add(1, 0, QStringLiteral("2026-12-09 10:00:00"));
    int nested = 0;
    QObject::connect(grid.model(), &QAbstractItemModel::rowsInserted, [&] {
        if (nested++ == 0) {
            add(2, 0, QStringLiteral("2026-12-09 11:00:00"));
            setOrderGrid(grid);
            EXPECT_EQ(grid.Rows(), 2); // the running rebuild is not disturbed
        }
    });
    setOrderGrid(grid);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("2"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("1"));
}

} // namespace
