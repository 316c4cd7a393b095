#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "support/MessageBoxRecorder.h"
#include "support/TradingFixture.h"
#include "trading/NoticeBooking.h"
#include "trading/PlacedOrders.h"
#include "trading/YakuzyouNotice.h"
#include "trading/frmManuMsg.h"
#include "trading/frmOrderMini.h"
#include "trading/frmSetYakuzyouData.h"
#include "trading/modBrandGrid.h"
#include "trading/modSizing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename Widget>
Widget *child(const QWidget &window, const char *name)
{
    auto *widget = window.findChild<Widget *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void click(const QWidget &window, const char *name)
{
    child<QPushButton>(window, name)->click();
}

void leave(QWidget *widget, Qt::FocusReason reason = Qt::TabFocusReason)
{
    QFocusEvent event(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(widget, &event);
}

class ManualDialogsTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        gdtLastKabukaDate = QDate(2026, 12, 9);
        addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("Acme"), 500);
        addPrice(QStringLiteral("1234"), QStringLiteral("t1"), gdtLastKabukaDate, 1500);
        addBond(QStringLiteral("5678"), QStringLiteral("t1"), QStringLiteral("NoPrice"));
        boxes.reset();
    }

    MessageBoxRecorder &boxes = MessageBoxRecorder::instance();
};

TEST_F(ManualDialogsTest, ConfirmationNeedsTheTick)
{
    gstrManuMsg = QStringLiteral("1234を決済しますか?");
    frmManuMsg dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("確認"));
    EXPECT_EQ(child<QLabel>(dialog, "lblMsg")->text(), gstrManuMsg);
    click(dialog, "cmdOK");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(glngManuMsgResult, 7);
    child<QCheckBox>(dialog, "chkKakunin")->setChecked(true);
    click(dialog, "cmdOK");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(glngManuMsgResult, 6);

    frmManuMsg again; // a new dialog starts from no
    EXPECT_EQ(glngManuMsgResult, 7);
    again.show();
    child<QCheckBox>(again, "chkKakunin")->setChecked(true);
    click(again, "cmdCancel");
    EXPECT_EQ(glngManuMsgResult, 7);
}

TEST_F(ManualDialogsTest, PickedStockJoinsTheCandidateList)
{
    ui::FlexGrid candidates;
    setBrandGridHeader(candidates);
    frmOrderMini dialog(candidates);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("個別銘柄指定"));
    auto *market = child<QComboBox>(dialog, "cmbSizyouCode");
    auto *code = child<QLineEdit>(dialog, "txtBrandCode");
    auto *name = child<QLabel>(dialog, "lblBrandName");
    auto *shares = child<QLineEdit>(dialog, "txtKabuSu");

    click(dialog, "cmdSet"); // nothing chosen
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("その銘柄は指定できません。")});
    EXPECT_EQ(boxes.calls()[0].style, ui::vbOKOnly);

    market->setCurrentText(QStringLiteral("東1"));
    code->setText(QStringLiteral("1234"));
    leave(code);
    EXPECT_EQ(name->text(), QStringLiteral("Acme(東1)"));
    EXPECT_EQ(shares->text(), QStringLiteral("500"));

    code->setText(QStringLiteral("5678")); // in the master, no price that day
    leave(market, Qt::PopupFocusReason);   // its list opening is no leaving
    EXPECT_EQ(boxes.calls().size(), 1);
    leave(market);
    EXPECT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(name->text(), QString());

    click(dialog, "cmdSet"); // reported, but it may still be added
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(candidates.Rows(), 3);
    EXPECT_EQ(candidates.TextMatrix(1, 0), QStringLiteral("5678"));
    EXPECT_EQ(candidates.TextMatrix(1, 1), QStringLiteral("t1"));
}

class ManualExecutionTest : public ManualDialogsTest {
protected:
    void SetUp() override
    {
        ManualDialogsTest::SetUp();
        sysOD.ODKabusu = 1000;
        sysOD.ODBrand = QStringLiteral("7203");
        sysOD.ODSasiNariKai1 = 1;
        sysOD.ODSasiNariUri1 = 1;
        sysOD.ODRiekiWariaiUri1 = 15;
        dialog = std::make_unique<frmSetYakuzyouData>(orders);
        dialog->show();
    }

    void TearDown() override
    {
        dialog.reset();
        ManualDialogsTest::TearDown();
    }

    void fill(const QString &market, const QString &code, const QString &shares, const QString &price,
              const QString &number, const QString &orderNo)
    {
        child<QComboBox>(*dialog, "cmbSizyouCode")->setCurrentText(market);
        child<QLineEdit>(*dialog, "txtBrandCode")->setText(code);
        child<QLineEdit>(*dialog, "txtKabuSu")->setText(shares);
        child<QLineEdit>(*dialog, "txtKingaku")->setText(price);
        child<QLineEdit>(*dialog, "txtYoyakuNo")->setText(number);
        child<QLineEdit>(*dialog, "txtTyumonNo")->setText(orderNo);
    }

    ui::FlexGrid orders;
    std::unique_ptr<frmSetYakuzyouData> dialog;
};

TEST_F(ManualExecutionTest, BadBoxesWriteNothing)
{
    const QString bad = QStringLiteral("を正しく入力してください。");
    const struct {
        QString market, code, shares, price, number, orderNo, label;
    } cases[] = {
        {QStringLiteral("東1"),
         QStringLiteral("123"),
         QStringLiteral("100"),
         QStringLiteral("1500"),
         {},
         {},
         QStringLiteral("銘柄コード")},
        {QStringLiteral("東1"),
         QStringLiteral("12a4"),
         QStringLiteral("100"),
         QStringLiteral("1500"),
         {},
         {},
         QStringLiteral("銘柄コード")},
        {QString(),
         QStringLiteral("1234"),
         QStringLiteral("100"),
         QStringLiteral("1500"),
         {},
         {},
         QStringLiteral("市場")},
        {QStringLiteral("東1"),
         QStringLiteral("1234"),
         QString(),
         QStringLiteral("1500"),
         {},
         {},
         QStringLiteral("約定株数")},
        {QStringLiteral("東1"),
         QStringLiteral("1234"),
         QStringLiteral("0"),
         QStringLiteral("1500"),
         {},
         {},
         QStringLiteral("約定株数")},
        {QStringLiteral("東1"),
         QStringLiteral("1234"),
         QStringLiteral("100"),
         QStringLiteral("15.5.5"),
         {},
         {},
         QStringLiteral("約定金額")},
        {QStringLiteral("東1"),
         QStringLiteral("1234"),
         QStringLiteral("100"),
         QStringLiteral("-1500"),
         {},
         {},
         QStringLiteral("約定金額")},
        {QStringLiteral("東1"),
         QStringLiteral("1234"),
         QStringLiteral("100"),
         QStringLiteral("1500"),
         QStringLiteral("x"),
         {},
         QStringLiteral("予約番号")},
        {QStringLiteral("東1"),
         QStringLiteral("1234"),
         QStringLiteral("100"),
         QStringLiteral("1500"),
         {},
         QStringLiteral("12-3"),
         QStringLiteral("注文番号")},
    };
    for (const auto &c : cases) {
        boxes.reset();
        fill(c.market, c.code, c.shares, c.price, c.number, c.orderNo);
        click(*dialog, "cmdSet");
        EXPECT_EQ(boxes.texts(), QStringList{c.label + bad}) << c.label.toStdString();
        EXPECT_EQ(boxes.calls().value(0).style, ui::vbOKOnly + ui::vbExclamation);
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 0);
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 0);
}

TEST_F(ManualExecutionTest, NewNumberIsShownAndTheOrderListRebuilt)
{
    child<QDateTimeEdit>(*dialog, "dtpDateST")->setDateTime(QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
    fill(QStringLiteral("東1"), QStringLiteral("１２３４"), QStringLiteral("300"), QStringLiteral("1510"), {},
         QStringLiteral("4321"));
    click(*dialog, "cmdSet");
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(child<QLineEdit>(*dialog, "txtYoyakuNo")->text(), QStringLiteral("1"));
    EXPECT_EQ(reservationValue(1, QStringLiteral("処理区分")).toString(), QStringLiteral("2"));
    EXPECT_EQ(reservationValue(1, QStringLiteral("株数")).toString(), QStringLiteral("300"));
    EXPECT_EQ(reservationValue(1, QStringLiteral("約定株数買")).toString(), QStringLiteral("300"));
    EXPECT_EQ(reservationValue(1, QStringLiteral("指成区分売")).toString(), QStringLiteral("2"));
    EXPECT_EQ(reservationValue(1, QStringLiteral("割合売1")).toString(), QStringLiteral("15.0"));
    EXPECT_EQ(reservationValue(1, QStringLiteral("登録日付")).toString(), QStringLiteral("2026-12-08 00:00:00"));
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 1);
    EXPECT_EQ(orders.Rows(), 2);
    EXPECT_EQ(orders.TextMatrix(1, 1), QStringLiteral("0"));
    EXPECT_EQ(orders.TextMatrix(1, 2), QStringLiteral("1"));
    // The live order record keeps what the user set.
    EXPECT_EQ(sysOD.ODKabusu, 1000);
    EXPECT_EQ(sysOD.ODBrand, QStringLiteral("7203"));
    EXPECT_EQ(sysOD.ODSasiNariKai1, 1);
    EXPECT_EQ(sysOD.ODSasiNariUri1, 1);
}

// A sale whose notice never came or did not fit is booked on the reservation that holds the
// shares, as the notice would have been: the order it names takes the shares, so that its
// notice cannot count them again.
TEST_F(ManualExecutionTest, ASaleIsBookedOnTheReservationThatHoldsTheShares)
{
    sys::setNow(QDateTime(QDate(2026, 12, 9), QTime(15, 30)));
    addReservation({.予約番号 = 7,
                    .銘柄コード = QStringLiteral("1234"),
                    .株数 = 300,
                    .処理区分 = 3,
                    .市場コード = QStringLiteral("t1"),
                    .約定金額買 = 1500,
                    .約定株数買 = 300,
                    .約定株数売 = 0,
                    .注文番号 = 777});
    ASSERT_TRUE(recordPlacedOrder({777, QDate(2026, 12, 9), 7, 2, 300, 0}));
    child<QComboBox>(*dialog, "cmbBaibai")->setCurrentText(QStringLiteral("売"));
    child<QDateTimeEdit>(*dialog, "dtpDateST")->setDateTime(QDateTime(QDate(2026, 12, 9), QTime(0, 0)));

    const struct {
        const char *name;
        QString code, shares, number, label;
    } refusals[] = {
        {"no reservation named", QStringLiteral("1234"), QStringLiteral("300"), {}, QStringLiteral("予約番号")},
        {"another stock's", QStringLiteral("7203"), QStringLiteral("300"), QStringLiteral("7"),
         QStringLiteral("予約番号")},
        {"more than held", QStringLiteral("1234"), QStringLiteral("400"), QStringLiteral("7"),
         QStringLiteral("約定株数")},
    };
    for (const auto &r : refusals) {
        SCOPED_TRACE(r.name);
        boxes.reset();
        fill(QStringLiteral("東1"), r.code, r.shares, QStringLiteral("1200"), r.number, QStringLiteral("777"));
        click(*dialog, "cmdSet");
        EXPECT_EQ(boxes.texts(), QStringList{r.label + QStringLiteral("を正しく入力してください。")});
        EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 0);
    }

    boxes.reset();
    fill(QStringLiteral("東1"), QStringLiteral("1234"), QStringLiteral("300"), QStringLiteral("1200"),
         QStringLiteral("7"), QStringLiteral("777"));
    click(*dialog, "cmdSet");
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(reservationValue(7, QStringLiteral("処理区分")).toString(), QStringLiteral("9"));
    EXPECT_EQ(reservationValue(7, QStringLiteral("約定株数売")).toString(), QStringLiteral("300"));
    EXPECT_EQ(reservationValue(7, QStringLiteral("約定金額売")).toDouble(), 1200);
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 1);
    EXPECT_EQ(findPlacedOrder(777, QDate(2026, 12, 9))->executed, 300);
}

TEST_F(ManualExecutionTest, AnExistingNumberIsReplacedOnlyAfterYes)
{
    addReservation({.予約番号 = 5, .処理区分 = 9});
    gcnDB.execute(QStringLiteral("insert into ttcontracthistory (予約番号, 売買区分) values (5, '1'), (5, '2')"));
    fill(QStringLiteral("東1"), QStringLiteral("1234"), QStringLiteral("100"), QStringLiteral("1500"),
         QStringLiteral("5"), QStringLiteral("99"));
    const QString question = QStringLiteral("予約番号5の予約と約定履歴を置き換えます。よろしいですか?");

    boxes.queueAnswer(ui::vbNo);
    click(*dialog, "cmdSet");
    EXPECT_EQ(boxes.texts(), QStringList{question});
    EXPECT_EQ(boxes.calls()[0].style, ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(reservationValue(5, QStringLiteral("処理区分")).toString(), QStringLiteral("9"));
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 2);

    boxes.queueAnswer(ui::vbYes);
    click(*dialog, "cmdSet");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(reservationValue(5, QStringLiteral("処理区分")).toString(), QStringLiteral("2"));
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 1);
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 1);
}

} // namespace

namespace {

// A held row of 1234 bought 300 at 1000 with its sell order 777 of today out, and the
// close of the day before that makes 1450 a price of the day.
class SaleByHandTest : public ManualExecutionTest {
protected:
    const QDateTime balanceRead{QDate(2026, 12, 10), QTime(9, 0)};
    const QDateTime entered{QDate(2026, 12, 10), QTime(10, 42, 5)};

    void SetUp() override
    {
        ManualExecutionTest::SetUp();
        gcnDB.execute(QStringLiteral("update ttstocks set 終値 = 1200, 調整終値 = 1200"));
        addReservation({.予約番号 = 7,
                        .銘柄コード = QStringLiteral("1234"),
                        .株数 = 300,
                        .処理区分 = 3,
                        .登録日付 = QStringLiteral("2026-12-10 08:00:00"),
                        .市場コード = QStringLiteral("t1"),
                        .約定金額買 = 1000,
                        .約定株数買 = 300,
                        .注文番号 = 777});
        gcnDB.execute(QStringLiteral("insert into ttcontracthistory (注文番号, 受付日時, 売買区分, 銘柄コード,"
                                     " 約定株数, 約定金額, 予約番号, 市場コード)"
                                     " values (555, '2026-12-10 08:05:00', '1', '1234', 300, 1000, 7, 't1')"));
        ASSERT_TRUE(recordPlacedOrder({777, entered.date(), 7, 2, 300, 0}));
        sys::setNow(entered);
        // The dialog as the user opens it now.
        dialog = std::make_unique<frmSetYakuzyouData>(orders);
        dialog->show();
        child<QComboBox>(*dialog, "cmbBaibai")->setCurrentText(QStringLiteral("売"));
    }

    NoticeBooking bookTheRealNotice()
    {
        YakuzyouNotice notice;
        notice.executedAt = QDateTime(entered.date(), QTime(10, 30));
        notice.orderNo = 777;
        notice.buy = false;
        notice.torihikiKubun = 1;
        notice.code = QStringLiteral("1234");
        notice.shares = 300;
        notice.price = 1450;
        QStringList log;
        db::Transaction transaction(gcnDB);
        const NoticeBooking booking = bookNotice(notice, sys::now(), log);
        transaction.commit();
        return booking;
    }
};

} // namespace

// A sale entered with the date as offered and no order number is charged to the row's open
// sell order and dated now; its notice, when it comes, is known as booked: the sale and its
// profit count once. Without the notice the sale stands as entered.
TEST_F(SaleByHandTest, ASaleByHandCountsOnceWhetherItsNoticeComesOrNot)
{
    EXPECT_EQ(child<QDateTimeEdit>(*dialog, "dtpDateST")->date(), entered.date());
    fill(QStringLiteral("東1"), QStringLiteral("1234"), QStringLiteral("300"), QStringLiteral("1450"),
         QStringLiteral("7"), {});
    click(*dialog, "cmdSet");
    ASSERT_TRUE(boxes.calls().isEmpty()) << boxes.texts().join(u'|').toStdString();
    EXPECT_EQ(reservationValue(7, QStringLiteral("処理区分")).toString(), QStringLiteral("9"));
    EXPECT_EQ(reservationValue(7, QStringLiteral("約定日付売")).toString(), QStringLiteral("2026-12-10 10:42:05"));
    EXPECT_EQ(getKakuteiSonekiSince(balanceRead), 135000);
    EXPECT_EQ(findPlacedOrder(777, entered.date())->executed, 300);

    const NoticeBooking booking = bookTheRealNotice();
    EXPECT_EQ(booking.yoyakuNo, 0);
    EXPECT_TRUE(booking.alreadyBooked);
    EXPECT_TRUE(booking.misfit.isEmpty());
    EXPECT_EQ(reservationValue(7, QStringLiteral("約定株数売")).toString(), QStringLiteral("300"));
    EXPECT_EQ(getKakuteiSonekiSince(balanceRead), 135000);
    EXPECT_EQ(getKakuteiSoneki(QDateTime(entered.date(), QTime(0, 0))), 135000);
}

// A sale by hand is refused while a buy of the row is out: that buy's notice would leave a
// finished row holding shares.
TEST_F(SaleByHandTest, ASaleByHandWaitsForTheBuyOut)
{
    const struct {
        const char *name;
        int state;
        int errorCode;
        qint64 wanted;
    } cases[] = {
        {"an extra buy accepted", 1, 0, 600},
        {"an extra buy sent, its answer lost", 0, 90, 600},
        {"an extra buy in doubt held again by the day change", 2, 90, 600},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = ?, エラーコード = ?, 株数 = ?"), c.state,
                      c.errorCode, c.wanted);
        boxes.reset();
        fill(QStringLiteral("東1"), QStringLiteral("1234"), QStringLiteral("100"), QStringLiteral("1450"),
             QStringLiteral("7"), {});
        click(*dialog, "cmdSet");
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("予約番号7は買い注文の結果が出ていないため売約定を"
                                                            "登録できません。買い注文の約定を先に登録してください。")});
        EXPECT_EQ(reservationValue(7, QStringLiteral("約定株数売")).toString(), QStringLiteral("0"));
        EXPECT_TRUE(dialog->isVisible());
    }
}

// A buy entered by hand that replaces a reservation takes its placed orders with it: the
// replaced order's late notice adds nothing to the position entered.
TEST_F(ManualExecutionTest, AReplacedReservationsLateNoticeAddsNothing)
{
    sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 40)));
    addReservation({.予約番号 = 5,
                    .銘柄コード = QStringLiteral("1234"),
                    .株数 = 300,
                    .処理区分 = 1,
                    .市場コード = QStringLiteral("t1"),
                    .注文番号 = 888});
    ASSERT_TRUE(recordPlacedOrder({888, QDate(2026, 12, 10), 5, 1, 300, 0}));
    child<QDateTimeEdit>(*dialog, "dtpDateST")->setDateTime(QDateTime(QDate(2026, 12, 10), QTime(0, 0)));
    boxes.queueAnswer(ui::vbYes);
    fill(QStringLiteral("東1"), QStringLiteral("1234"), QStringLiteral("300"), QStringLiteral("2001.5"),
         QStringLiteral("5"), QStringLiteral("888"));
    click(*dialog, "cmdSet");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_DOUBLE_EQ(reservationValue(5, QStringLiteral("約定金額買")).toDouble(), 2001.5);
    EXPECT_EQ(reservationValue(5, QStringLiteral("約定日付買")).toString(), QStringLiteral("2026-12-10 09:40:00"));

    YakuzyouNotice late;
    late.executedAt = QDateTime(QDate(2026, 12, 10), QTime(9, 31));
    late.orderNo = 888;
    late.code = QStringLiteral("1234");
    late.shares = 300;
    late.price = 2001.5;
    QStringList log;
    db::Transaction transaction(gcnDB);
    EXPECT_EQ(bookNotice(late, sys::now(), log).yoyakuNo, 0);
    transaction.commit();
    EXPECT_EQ(reservationValue(5, QStringLiteral("約定株数買")).toString(), QStringLiteral("300"));
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 1);
}
