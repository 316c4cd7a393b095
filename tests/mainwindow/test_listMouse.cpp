#include "core/modGlobal.h"
#include "mainwindow/ListMouse.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "support/MessageBoxRecorder.h"
#include "support/TradingFixture.h"
#include "trading/frmManuMsg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(OrderPopup, ItemsByStateAndRunning)
{
    const struct {
        int state;
        bool stopped;
        bool cancel, mente;
    } cases[] = {
        {0, true, true, true},    {2, true, false, true},   {3, true, false, true},
        {0, false, false, false}, {2, false, false, false},
    };
    QAction kyousei, cancel, mente;
    for (const auto &c : cases) {
        kyousei.setVisible(true);
        setOrderPopupItems(kyousei, cancel, mente, c.state, c.stopped);
        EXPECT_FALSE(kyousei.isVisible());
        EXPECT_EQ(cancel.isVisible(), c.cancel) << c.state << c.stopped;
        EXPECT_EQ(mente.isVisible(), c.mente) << c.state << c.stopped;
    }
}

TEST(OrderCell, ActionByColumnStateCellAndMinutes)
{
    const QDate day(2026, 12, 10);
    const int start = 10 * 60;
    const QString settle = QStringLiteral("決済");
    const QString withdraw = QStringLiteral("取消");
    const struct {
        int column, state;
        QString cell;
        QTime time;
        OrderCellAction action;
    } cases[] = {
        {.column = 8, .state = 2, .cell = settle, .time = QTime(10, 30), .action = OrderCellAction::Settle},
        {.column = 7, .state = 2, .cell = settle, .time = QTime(10, 30), .action = OrderCellAction::SelectOnly},
        // Settling already asked for: the cell is empty and offers nothing.
        {.column = 8, .state = 2, .cell = QString(), .time = QTime(10, 30), .action = OrderCellAction::SelectOnly},
        {.column = 8, .state = 0, .cell = withdraw, .time = QTime(10, 2), .action = OrderCellAction::DeleteHistory},
        {.column = 8, .state = 0, .cell = withdraw, .time = QTime(10, 3), .action = OrderCellAction::SelectOnly},
        {.column = 8, .state = 0, .cell = QString(), .time = QTime(10, 2), .action = OrderCellAction::SelectOnly},
        {.column = 8,
         .state = 3,
         .cell = QStringLiteral("売開始"),
         .time = QTime(10, 0),
         .action = OrderCellAction::SelectOnly},
    };
    for (const auto &c : cases)
        EXPECT_EQ(orderCellAction(c.column, c.state, c.cell, QDateTime(day, c.time), start), c.action)
            << c.column << c.state << c.cell.toStdString() << c.time.toString().toStdString();
}

TEST(Settle, RefusalsByRunStateDayAndTime)
{
    const QString running = QStringLiteral("運転中");
    const QDate thursday(2026, 12, 10);
    const struct {
        QString status;
        QDateTime now;
        const char *refusal;
    } cases[] = {
        {QStringLiteral("停止中"), QDateTime(QDate(2026, 12, 12), QTime(10, 0)), "運転を開始してから押してください。"},
        {running, QDateTime(QDate(2026, 12, 12), QTime(10, 0)), "取引時間外なので決済ボタンは使用できません。"},
        {running, QDateTime(thursday, QTime(14, 50)), "14時45分以降は決済ボタンは使用できません。"},
        {running, QDateTime(thursday, QTime(14, 40)), ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(settleRefusal(c.status, c.now), QString::fromUtf8(c.refusal)) << c.now.toString().toStdString();
}

TEST(GridPress, RightPressMakesThePressedRowCurrent)
{
    ui::FlexGrid grid;
    grid.setCols(3);
    grid.setRows(5);
    for (int r = 1; r < 5; ++r)
        grid.setTextMatrix(r, 0, QString::number(r));
    grid.resize(300, 200);
    grid.show();
    grid.setRow(1);
    QSignalSpy presses(&grid, &ui::FlexGrid::MouseDown);
    const QRect cell = grid.visualRect(grid.model()->index(2, 1)); // row 3 with the header counted
    QTest::mousePress(grid.viewport(), Qt::RightButton, {}, cell.center());
    ASSERT_EQ(presses.size(), 1);
    EXPECT_EQ(presses.at(0).at(0).toInt(), 2);
    EXPECT_EQ(grid.Row(), 3);
    const ListColumns columns{.code = 0, .market = 1, .number = 0, .state = -1, .stock = 2, .action = -1};
    grid.setTextMatrix(3, 2, QStringLiteral("3:ABC (XY)"));
    const ListRow pressed = readListRow(grid, columns);
    EXPECT_EQ(pressed.row, 3);
    EXPECT_EQ(pressed.stock.mstrBrandCode, QStringLiteral("3"));
    EXPECT_EQ(pressed.stock.mlngYoyakuNo, 3);
    EXPECT_EQ(pressed.stockText, QStringLiteral("3:ABC"));

    QMenu popup;
    EXPECT_TRUE(popupAllowed(pressed, popup));
    popup.menuAction()->setEnabled(false);
    EXPECT_FALSE(popupAllowed(pressed, popup));
    popup.menuAction()->setEnabled(true);
    grid.setRow(4);
    grid.setTextMatrix(4, 0, QStringLiteral("  "));
    EXPECT_FALSE(popupAllowed(readListRow(grid, columns), popup));
}

class SettleRequestTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        MessageBoxRecorder::instance().reset();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(14, 40)));
        gdtLastKabukaDate = QDate(2026, 12, 9);
        addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("ABC"));
        addPrice(QStringLiteral("1234"), QStringLiteral("t1"), gdtLastKabukaDate, 1000);
        addReservation(
            {.予約番号 = 8, .銘柄コード = QStringLiteral("1234"), .処理区分 = 2, .市場コード = QStringLiteral("t1")});
    }
    // Answers the settlement dialog once it is open: ticked and yes, or closed.
    void answerDialog(bool confirm)
    {
        QTimer::singleShot(0, [confirm] {
            QWidget *dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            if (confirm) {
                dialog->findChild<QCheckBox *>()->setChecked(true);
                for (QPushButton *b : dialog->findChildren<QPushButton *>())
                    if (b->text().contains(QStringLiteral("はい")))
                        b->click();
            } else {
                dialog->close();
            }
        });
    }
    const SelectedStock stock{QStringLiteral("1234"), QStringLiteral("t1"), 8};
};

TEST_F(SettleRequestTest, StoppedRefusesAndUnconfirmedWritesNothing)
{
    EXPECT_FALSE(requestSettle(nullptr, QStringLiteral("停止中"), stock));
    ASSERT_EQ(MessageBoxRecorder::instance().texts(),
              QStringList{QStringLiteral("運転を開始してから押してください。")});
    EXPECT_EQ(MessageBoxRecorder::instance().calls().at(0).style, ui::vbInformation);

    answerDialog(false);
    EXPECT_FALSE(requestSettle(nullptr, QStringLiteral("運転中"), stock));
    EXPECT_TRUE(gstrManuMsg.startsWith(QStringLiteral("1234:ABC(")));
    EXPECT_TRUE(gstrManuMsg.endsWith(QStringLiteral(")の決済処理を行います。よろしいですか?\r\n"
                                                    "(※．市場の状況によっては注文が成立しない場合があります。)\r\n")));
    EXPECT_EQ(reservationValue(8, QStringLiteral("手動注文区分")).toInt(), 0);
}

TEST_F(SettleRequestTest, ConfirmedMarksOnceAndNeverASoldPosition)
{
    answerDialog(true);
    EXPECT_TRUE(requestSettle(nullptr, QStringLiteral("運転中"), stock));
    EXPECT_EQ(reservationValue(8, QStringLiteral("手動注文区分")).toInt(), 1);

    // Already marked: a second request asks for no second sale.
    answerDialog(true);
    EXPECT_FALSE(requestSettle(nullptr, QStringLiteral("運転中"), stock));

    // Sold while the dialog was open (the timers run meanwhile): nothing is marked.
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 3, 手動注文区分 = 0 where 予約番号 = 8"));
    answerDialog(true);
    EXPECT_FALSE(requestSettle(nullptr, QStringLiteral("運転中"), stock));
    EXPECT_EQ(reservationValue(8, QStringLiteral("手動注文区分")).toInt(), 0);
}

} // namespace
