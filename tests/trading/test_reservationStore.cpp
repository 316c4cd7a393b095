#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "support/MessageBoxRecorder.h"
#include "support/TradingFixture.h"
#include "trading/PlacedOrders.h"
#include "trading/modReservation.h"

#include <functional>

namespace {

class ReservationStoreTest : public TradingFixture {
protected:
    const QDateTime moment{QDate(2026, 12, 9), QTime(10, 15, 30)};

    void SetUp() override
    {
        TradingFixture::SetUp();
        order.ODOrderType = 1;
        order.ODBrand = QStringLiteral("1234");
        order.ODKabusu = 300;
        order.ODSizyouCode = QStringLiteral("t1");
        order.ODSasiNariKai1 = 2;
        order.ODSasiNariUri1 = 1;
        order.ODKaine11 = 990;
        order.ODUrine11 = 1200;
        order.ODRiekiWariaiUri1 = 15.5;
        order.ODSongiriTypeUri1 = 1;
        order.ODSongiriWariaiUri1 = 10;
        order.ODSongiriDUri1 = 16;
        order.ODKurikaesiKai = 3;
    }

    // A reservation with its executions.
    void addWithHistory(qint64 number, int repeats, int state, int bought, int sold)
    {
        addReservation(
            {.予約番号 = number, .繰返回数 = repeats, .処理区分 = state, .約定株数買 = bought, .約定株数売 = sold});
        for (int i = 0; i < 2; ++i)
            gcnDB.execute(QStringLiteral("insert into ttcontracthistory (予約番号, 売買区分) values (?, '1')"), number);
    }

    int historyRows(qint64 number)
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ttcontracthistory where 予約番号 = ?"));
        st.bind(1, number);
        st.step();
        return int(st.int64(0));
    }

    OD order;
};

TEST_F(ReservationStoreTest, StateNames)
{
    const QList<QPair<int, QString>> cases{
        {0, QStringLiteral("注文準備")},
        {1, QStringLiteral("買注済")},
        {2, QStringLiteral("買約定")},
        {3, QStringLiteral("売注済")},
        {4, QStringLiteral("売約定")},
        {9, QStringLiteral("処理済")},
        {99, QStringLiteral("キャンセル")},
        {5, QString()},
        {-1, QString()},
    };
    for (const auto &[state, name] : cases)
        EXPECT_EQ(getSyoriKubunName(state), name) << state;
}

TEST_F(ReservationStoreTest, InsertTakesANewNumberOrReplacesTheRow)
{
    EXPECT_EQ(getMaxYoyakuNo(), 0);
    qint64 number = 0;
    insertReservation(moment, number, 0, 0, 0, 0, order);
    EXPECT_EQ(number, 1);
    addReservation({.予約番号 = 7, .処理区分 = 2});
    number = 0;
    insertReservation(moment, number, 0, 0, 0, 0, order);
    EXPECT_EQ(number, 8);

    // Replacing 7: every column comes from the insert; the later writers' columns start over.
    gcnDB.execute(
        QStringLiteral("update ttresevation set 注文番号 = 55, 手動注文区分 = 1, 注文回 = 2 where 予約番号 = 7"));
    number = 7;
    insertReservation(moment, number, 1, 2, 1010, 300, order);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 3);
    const QList<QPair<QString, QString>> expected{
        {QStringLiteral("取引区分"), QStringLiteral("1")},
        {QStringLiteral("指成区分買"), QStringLiteral("2")},
        {QStringLiteral("指成区分売"), QStringLiteral("1")},
        {QStringLiteral("銘柄コード"), QStringLiteral("1234")},
        {QStringLiteral("株数"), QStringLiteral("300")},
        {QStringLiteral("指値買11"), QStringLiteral("990")},
        {QStringLiteral("指値売11"), QStringLiteral("1200")},
        {QStringLiteral("注文期間区分"), QStringLiteral("0")},
        {QStringLiteral("注文期間"), QStringLiteral("2026-12-09")},
        {QStringLiteral("繰返回数"), QStringLiteral("3")},
        {QStringLiteral("実行回数買"), QStringLiteral("1")},
        {QStringLiteral("実行回数売"), QStringLiteral("0")},
        {QStringLiteral("処理区分"), QStringLiteral("2")},
        {QStringLiteral("エラーコード"), QStringLiteral("0")},
        {QStringLiteral("条件区分売1"), QStringLiteral("1")},
        {QStringLiteral("条件区分売2"), QStringLiteral("1")},
        {QStringLiteral("割合売1"), QStringLiteral("15.5")},
        {QStringLiteral("割合売2"), QStringLiteral("10")},
        {QStringLiteral("日数売2"), QStringLiteral("16")},
        {QStringLiteral("登録日付"), QStringLiteral("2026-12-09 10:15:30")},
        {QStringLiteral("更新日付"), QStringLiteral("2026-12-09 10:15:30")},
        {QStringLiteral("市場コード"), QStringLiteral("t1")},
        {QStringLiteral("約定金額買"), QStringLiteral("1010.0")},
        {QStringLiteral("約定株数買"), QStringLiteral("300")},
        {QStringLiteral("約定日付買"), QStringLiteral("2026-12-09 10:15:30")},
        {QStringLiteral("約定金額売"), QStringLiteral("0.0")},
        {QStringLiteral("約定株数売"), QStringLiteral("0")},
        {QStringLiteral("注文番号"), QStringLiteral("0")},
        {QStringLiteral("手動注文区分"), QStringLiteral("0")},
        {QStringLiteral("注文回"), QString()},
    };
    for (const auto &[column, value] : expected)
        EXPECT_EQ(reservationValue(7, column).toString(), value) << column.toStdString();
}

TEST_F(ReservationStoreTest, ManualExecutionReplacesReservationAndHistory)
{
    addWithHistory(4, 1, 9, 100, 100);
    qint64 number = 4;
    insertManualExecution(moment, number, order, 8765, 1010, 300);
    EXPECT_EQ(historyRows(4), 1);
    db::Statement st = gcnDB.prepare(QStringLiteral(
        "select 注文番号, 受付日時, 取引区分, 売買区分, 指成区分, 銘柄コード, 約定株数, 約定金額, 市場コード"
        " from ttcontracthistory where 予約番号 = 4"));
    ASSERT_TRUE(st.step());
    QStringList row;
    for (int c = 0; c < 9; ++c)
        row << st.text(c);
    EXPECT_EQ(row, (QStringList{QStringLiteral("8765"), QStringLiteral("2026-12-09 10:15:30"), QStringLiteral("1"),
                                QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1234"), QStringLiteral("300"),
                                QStringLiteral("1010"), QStringLiteral("t1")}));
    EXPECT_EQ(reservationValue(4, QStringLiteral("処理区分")).toString(), QStringLiteral("2"));
    EXPECT_EQ(reservationValue(4, QStringLiteral("実行回数買")).toString(), QStringLiteral("1"));

    number = 0;
    insertManualExecution(moment, number, order, 1, 500, 100);
    EXPECT_EQ(number, 5);
    EXPECT_EQ(historyRows(5), 1);
}

TEST_F(ReservationStoreTest, DeleteRirekiByRepeatsAndShares)
{
    const struct {
        int repeats;
        int state;
        int bought;
        int sold;
        QString stateAfter; // empty: the row is gone
        QString repeatsAfter;
        int historyAfter;
    } cases[] = {
        {.repeats = 1, .state = 9, .bought = 100, .sold = 100, .stateAfter = {}, .repeatsAfter = {}, .historyAfter = 0},
        {.repeats = 3,
         .state = 9,
         .bought = 100,
         .sold = 100,
         .stateAfter = QStringLiteral("9"),
         .repeatsAfter = QStringLiteral("2"),
         .historyAfter = 2}, // sold out: no position
        {.repeats = 3,
         .state = 3,
         .bought = 200,
         .sold = 100,
         .stateAfter = QStringLiteral("2"),
         .repeatsAfter = QStringLiteral("2"),
         .historyAfter = 2}, // holds shares
        {.repeats = 3,
         .state = 0,
         .bought = 0,
         .sold = 0,
         .stateAfter = QStringLiteral("0"),
         .repeatsAfter = QStringLiteral("2"),
         .historyAfter = 2}, // bought nothing
    };
    qint64 number = 0;
    for (const auto &c : cases) {
        addWithHistory(++number, c.repeats, c.state, c.bought, c.sold);
        deleteRireki(number);
        EXPECT_EQ(reservationValue(number, QStringLiteral("処理区分")).toString(), c.stateAfter) << number;
        EXPECT_EQ(reservationValue(number, QStringLiteral("繰返回数")).toString(), c.repeatsAfter) << number;
        EXPECT_EQ(historyRows(number), c.historyAfter) << number;
    }
    deleteRireki(77); // no such reservation: nothing changes
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 3);
    EXPECT_TRUE(logLines().contains(QStringLiteral("***保有株数がないため処理区分は変えない(予約番号=4)")));
}

// A deleted reservation takes its placed orders along: a new reservation that reuses its
// number never receives the old orders' notices.
TEST_F(ReservationStoreTest, DeleteReservationAndDeleteAllAfterYes)
{
    addWithHistory(1, 1, 2, 100, 0);
    addWithHistory(2, 1, 2, 100, 0);
    for (const qint64 number : {1, 2})
        ASSERT_TRUE(recordPlacedOrder({500 + number, moment.date(), number, 1, 100, 100}));
    deleteReservation(1);
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 1);
    EXPECT_EQ(historyRows(1), 0);
    EXPECT_EQ(historyRows(2), 2);
    EXPECT_FALSE(findPlacedOrder(501, moment.date()));
    EXPECT_TRUE(findPlacedOrder(502, moment.date()));

    MessageBoxRecorder &boxes = MessageBoxRecorder::instance();
    boxes.queueAnswer(ui::vbNo);
    EXPECT_FALSE(deleteAllOrders(1));
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 1);
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].text, QStringLiteral("全ての注文情報・約定履歴を削除します。\r\n"
                                                    "現在注文中のも・保持しているものは手動で決済してください。\r\n"
                                                    "処理を実行してもよろしいですか?"));
    EXPECT_EQ(boxes.calls()[0].style, ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2);

    boxes.queueAnswer(ui::vbYes);
    EXPECT_TRUE(deleteAllOrders(1));
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 0);
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 0);
    EXPECT_EQ(rowCount(QStringLiteral("ttplacedorder")), 0);

    addWithHistory(3, 1, 2, 100, 0);
    EXPECT_TRUE(deleteAllOrders(0)); // no question
    EXPECT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(rowCount(QStringLiteral("ttcontracthistory")), 0);
}

TEST_F(ReservationStoreTest, SettleRequestClearsTheUnknownOutcomeOnly)
{
    sys::setNow(moment);
    addReservation({.予約番号 = 1, .エラーコード = 90});
    addReservation({.予約番号 = 2, .エラーコード = 2});
    setManualOrder(1);
    setManualOrder(2);
    EXPECT_EQ(reservationValue(1, QStringLiteral("エラーコード")).toString(), QStringLiteral("0"));
    EXPECT_EQ(reservationValue(2, QStringLiteral("エラーコード")).toString(), QStringLiteral("2"));
    EXPECT_EQ(reservationValue(2, QStringLiteral("手動注文区分")).toString(), QStringLiteral("1"));
    EXPECT_EQ(reservationValue(2, QStringLiteral("更新日付")).toString(), QStringLiteral("2026-12-09 10:15:30"));
}

TEST_F(ReservationStoreTest, OrderCountByModeAndDayBounds)
{
    const QDate day(2026, 12, 9);
    const struct {
        int state;
        QString registered;
    } rows[] = {
        {2, QStringLiteral("2026-12-08 23:59:59")}, {2, QStringLiteral("2026-12-09 00:00:00")},
        {3, QStringLiteral("2026-12-09 23:59:59")}, {9, QStringLiteral("2026-12-10 00:00:00")},
        {0, QStringLiteral("2026-12-09 12:00:00")},
    };
    int number = 0;
    for (const auto &row : rows)
        addReservation({.予約番号 = ++number, .処理区分 = row.state, .登録日付 = row.registered});

    const struct {
        int mode;
        int count;
    } cases[] = {{1, 2}, {2, 4}, {3, 3}, {0, 5}, {7, 5}};
    for (const auto &c : cases)
        EXPECT_EQ(getOrderCount(c.mode, day), c.count) << "mode " << c.mode;
    gcnDB.execute(QStringLiteral("delete from ttresevation"));
    EXPECT_EQ(getOrderCount(0, day), 0);
}

// A temporary trigger makes the second statement of each change fail: the first one must
// be undone and the error must reach the caller.
TEST_F(ReservationStoreTest, AFailingSecondStatementLeavesTheFirstUndone)
{
    const QDateTime dayChange(QDate(2026, 12, 10), QTime(2, 0));
    const struct {
        const char *name;
        QString trigger;
        std::function<void()> change;
    } cases[] = {
        {"deleteReservation", QStringLiteral("before delete on ttcontracthistory"), [] { deleteReservation(1); }},
        {"deleteRireki", QStringLiteral("before delete on ttcontracthistory"), [] { deleteRireki(1); }},
        {"deleteAllOrders", QStringLiteral("before delete on ttcontracthistory"), [] { deleteAllOrders(0); }},
        {"insertReservation", QStringLiteral("before insert on ttresevation"),
         [this] {
             qint64 number = 1;
             insertReservation(moment, number, 0, 0, 0, 0, order);
         }},
        {"insertContractHistory", QStringLiteral("before insert on ttcontracthistory"),
         [this] { insertContractHistory(moment, 1, {}, {}, 0, 0, 0, 2); }},
        {"insertManualExecution", QStringLiteral("before insert on ttcontracthistory"),
         [this] {
             qint64 number = 1;
             insertManualExecution(moment, number, order, 0, 0, 0);
         }},
        {"dayChangeReservation", QStringLiteral("before update on ttresevation"),
         [dayChange] { dayChangeReservation(dayChange); }},
    };
    for (const auto &c : cases) {
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gcnDB.execute(QStringLiteral("delete from ttcontracthistory"));
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        addWithHistory(1, 1, 0, 0, 0);
        gcnDB.execute(QStringLiteral("update ttresevation set 更新日付 = '2026-12-01 09:00:00'"));
        addPrice(QStringLiteral("1234"), QStringLiteral("t1"), QDate(2026, 1, 5), 100);
        gcnDB.executeScript(QStringLiteral("create temp trigger fail ") + c.trigger +
                            QStringLiteral(" begin select raise(abort, 'injected'); end"));
        EXPECT_THROW(c.change(), db::Error) << c.name;
        gcnDB.executeScript(QStringLiteral("drop trigger temp.fail"));
        EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 1) << c.name;
        EXPECT_EQ(reservationValue(1, QStringLiteral("処理区分")).toString(), QStringLiteral("0")) << c.name;
        EXPECT_EQ(historyRows(1), 2) << c.name;
        EXPECT_EQ(rowCount(QStringLiteral("ttstocks")), 1) << c.name;
    }
}

} // namespace
