#include "platform/ui/FlexGrid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A shown 3-column grid with two data rows.
class FlexGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setCols(3);
        grid.setRows(3);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                grid.setTextMatrix(r, c, QStringLiteral("%1-%2").arg(r).arg(c));
        }
        grid.resize(400, 200);
    }

    QPoint cellCentre(int row, int col) { return grid.visualRect(grid.model()->index(row - 1, col)).center(); }

    ui::FlexGrid grid;
};

TEST_F(FlexGridTest, HiddenColumnsKeepTheirText)
{
    grid.setColWidth(0, 0);
    grid.setColWidth(1, 1500);
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_EQ(grid.ColWidth(0), 0);
    EXPECT_EQ(grid.ColWidth(1), 1500);
    EXPECT_EQ(grid.columnWidth(1), 100);
    EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("2-0"));

    grid.setRow(1);
    grid.setCol(0);
    EXPECT_EQ(grid.Text(), QStringLiteral("1-0"));
    grid.setText(QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("0-2")); // the header row is row 0
    EXPECT_EQ(grid.TextMatrix(3, 0), QString());             // outside the grid
}

TEST_F(FlexGridTest, RowsGrowEmptyAndShrinkFromTheEnd)
{
    grid.setRows(5);
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("2-1"));
    EXPECT_EQ(grid.TextMatrix(4, 1), QString());
    grid.setRow(4);
    grid.setRows(2);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Row(), 1); // the current row follows into the grid
    grid.setRows(0);
    EXPECT_EQ(grid.Rows(), 1); // the header row always stays
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("0-0"));
}

TEST_F(FlexGridTest, RemoveItemMovesRowsUpAndSparesTheHeader)
{
    grid.setRows(4);
    grid.setTextMatrix(3, 0, QStringLiteral("3-0"));
    grid.RemoveItem(1);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("2-0"));
    EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("3-0"));
    grid.RemoveItem(0);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("0-0"));
}

TEST_F(FlexGridTest, ClearEmptiesTextsOnlyAndColoursBelongToTheCurrentCell)
{
    grid.setRow(2);
    grid.setCol(1);
    grid.setCellBackColor(QColor(0, 128, 0));
    grid.setCellForeColor(Qt::white);
    EXPECT_EQ(grid.CellBackColor(), QColor(0, 128, 0));
    grid.setCol(2);
    EXPECT_NE(grid.CellBackColor(), QColor(0, 128, 0));

    grid.Clear();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), QString());
    EXPECT_EQ(grid.TextMatrix(2, 1), QString());
    grid.setCol(1);
    EXPECT_EQ(grid.CellBackColor(), QColor(0, 128, 0));
    EXPECT_EQ(grid.CellForeColor(), QColor(Qt::white));
}

TEST_F(FlexGridTest, ColumnAlignmentAndHeaderAlignment)
{
    grid.setColAlignment(1, ui::flexAlignCenterCenter);
    grid.setTextMatrix(0, 1, QStringLiteral("head"));
    grid.setColAlignment(1, ui::flexAlignLeftCenter);
    grid.setTextMatrix(1, 1, QStringLiteral("data"));
    EXPECT_EQ(grid.ColAlignment(1), ui::flexAlignLeftCenter);
    EXPECT_EQ(grid.horizontalHeaderItem(1)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_EQ(grid.item(0, 1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(grid.item(1, 1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter)); // the whole column

    // General alignment: numbers right, other text left.
    grid.setTextMatrix(1, 2, QStringLiteral("abc"));
    grid.setTextMatrix(2, 2, QStringLiteral("12"));
    EXPECT_EQ(grid.item(0, 2)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(grid.item(1, 2)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST_F(FlexGridTest, RowHeightsIncludeTheHeaderRow)
{
    grid.setRowHeight(0, 300);
    grid.setRowHeight(1, 450);
    EXPECT_EQ(grid.RowHeight(0), 300);
    EXPECT_EQ(grid.horizontalHeader()->height(), 20);
    EXPECT_EQ(grid.RowHeight(1), 450);
    grid.setRowHeight(2, grid.RowHeight(0));
    EXPECT_EQ(grid.RowHeight(2), 300);
}

TEST_F(FlexGridTest, MousePressesSelectBeforeTheSignal)
{
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QList<QList<int>> seen; // button, Row, Col, MouseRow, MouseCol at the signal
    QObject::connect(&grid, &ui::FlexGrid::MouseDown, [&](int button, int, int, int) {
        seen.append({button, grid.Row(), grid.Col(), grid.MouseRow(), grid.MouseCol()});
    });

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
    grid.setCol(2); // code moves the current cell without a signal
    grid.setRow(1);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, cellCentre(2, 0));
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(20, 190)); // below the last row

    const QList<QList<int>> expected{{ui::flexLeftButton, 2, 1, 2, 1}, {ui::flexRightButton, 2, 2, 2, 0}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(FlexGridTest, ADoubleClickIsOnePressAndArrowKeysMoveTheCurrentCell)
{
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy spy(&grid, &ui::FlexGrid::MouseDown);
    const QPointF at = cellCentre(1, 1);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &doubleClick);
    EXPECT_EQ(spy.count(), 0);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(1, 1));
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(FlexGridTest, ShiftKeysAndSelectionEnd)
{
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy spy(&grid, &ui::FlexGrid::MouseDown);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, cellCentre(1, 0));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(1).toInt(), ui::flexShiftMask | ui::flexCtrlMask);
    grid.setColSel(2);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.ColSel(), 2);
    // Highlighted from the current cell to the selection end, the current cell left out.
    EXPECT_EQ(grid.selectedItems().size(), 2);
    EXPECT_FALSE(grid.item(0, 0)->isSelected());
    EXPECT_TRUE(grid.item(0, 2)->isSelected());
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

} // namespace
