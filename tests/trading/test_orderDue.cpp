#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "support/TradingFixture.h"
#include "trading/modBroker.h"
#include "trading/modOrderDue.h"

#include <functional>

namespace {

using Columns = QList<QPair<QString, QVariant>>;

class OrderDueTest : public TradingFixture {
protected:
    const QDate processingDay{2026, 12, 9};

    void SetUp() override
    {
        TradingFixture::SetUp();
        order = OD();
        order.ODRiekiAutoType = 1;
        order.ODSongiriAutoType = 1;
    }

    // A held position bought at 1000 yen: profit take at 15 %, stop loss at 10 %, 30 days.
    Columns held(qint64 number, const QString &updated = QStringLiteral("2026-12-01 10:00:00"))
    {
        return {{QStringLiteral("予約番号"), number},
                {QStringLiteral("処理区分"), 2},
                {QStringLiteral("銘柄コード"), QStringLiteral("1001")},
                {QStringLiteral("市場コード"), QStringLiteral("t1")},
                {QStringLiteral("株数"), 100},
                {QStringLiteral("約定株数買"), 100},
                {QStringLiteral("約定金額買"), 1000.0},
                {QStringLiteral("割合売1"), 15.0},
                {QStringLiteral("割合売2"), 10},
                {QStringLiteral("日数売2"), 30},
                {QStringLiteral("更新日付"), updated}};
    }

    static Columns with(Columns columns, const QString &name, const QVariant &value)
    {
        for (auto &column : columns) {
            if (column.first == name) {
                column.second = value;
                return columns;
            }
        }
        columns.append({name, value});
        return columns;
    }

    qint64 dueNumber()
    {
        QString text;
        const std::optional<DueReservation> due = selectDueReservation(processingDay, order, text);
        return due ? due->number : 0;
    }

    OD order;
};

TEST_F(OrderDueTest, DueRules)
{
    const struct {
        const char *name;
        double close;
        Columns row;
        std::function<void(OD &)> settings;
        bool due;
    } cases[] = {
        {"profit take reached", 1150, held(1), {}, true},
        {"profit take short by a yen", 1149, held(1), {}, false},
        {"profit take off", 1200, held(1), [](OD &o) { o.ODRiekiAutoType = 0; }, false},
        {"stop loss reached", 900, held(1), {}, true},
        {"stop loss short by a yen", 901, held(1), {}, false},
        {"stop loss off", 800, held(1), [](OD &o) { o.ODSongiriAutoType = 0; }, false},
        {"holding days passed", 1000, with(held(1), QStringLiteral("日数売2"), 7), {}, true},
        {"holding days end later that day", 1000, with(held(1), QStringLiteral("日数売2"), 8), {}, false},
        {"averaging down not done", 900, with(held(1), QStringLiteral("注文回"), 1),
         [](OD &o) {
             o.ODNanpin = 1;
             o.ODNanpinKai = 3;
         },
         false},
        {"averaging down done", 900, with(held(1), QStringLiteral("注文回"), 2),
         [](OD &o) {
             o.ODNanpin = 1;
             o.ODNanpinKai = 3;
         },
         true},
        {"averaging down empty count, none allowed", 900, with(held(1), QStringLiteral("注文回"), QVariant()),
         [](OD &o) {
             o.ODNanpin = 1;
             o.ODNanpinKai = 1;
         },
         true},
        {"averaging down empty count, purchases to come", 900, with(held(1), QStringLiteral("注文回"), QVariant()),
         [](OD &o) {
             o.ODNanpin = 1;
             o.ODNanpinKai = 3;
         },
         false},
        {"both rules off, held", 1500, held(1),
         [](OD &o) {
             o.ODRiekiAutoType = 0;
             o.ODSongiriAutoType = 0;
         },
         false},
        {"both rules off, settle asked", 1000, with(held(1), QStringLiteral("手動注文区分"), 1),
         [](OD &o) {
             o.ODRiekiAutoType = 0;
             o.ODSongiriAutoType = 0;
         },
         true},
        {"buy waiting", 1000, with(held(1), QStringLiteral("処理区分"), 0), {}, true},
        {"buy waiting in state 4", 1000, with(held(1), QStringLiteral("処理区分"), 4), {}, true},
        {"buy ordered", 1500, with(held(1), QStringLiteral("処理区分"), 1), {}, false},
        {"sell ordered", 500, with(held(1), QStringLiteral("処理区分"), 3), {}, false},
        {"outcome unknown",
         1000,
         with(with(held(1), QStringLiteral("処理区分"), 0), QStringLiteral("エラーコード"), 90),
         {},
         false},
        {"outcome unknown, held", 800, with(held(1), QStringLiteral("エラーコード"), 90), {}, false},
        {"refused before",
         1000,
         with(with(held(1), QStringLiteral("処理区分"), 0), QStringLiteral("エラーコード"), 2),
         {},
         true},
    };
    for (const auto &c : cases) {
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        addReservation(c.row);
        addPrice(QStringLiteral("1001"), QStringLiteral("t1"), processingDay, c.close);
        order = OD();
        order.ODRiekiAutoType = 1;
        order.ODSongiriAutoType = 1;
        if (c.settings)
            c.settings(order);
        EXPECT_EQ(dueNumber(), c.due ? 1 : 0) << c.name;
    }
}

TEST_F(OrderDueTest, OldestFirstThenByNumberAndOnlyWithThePriceOfTheDay)
{
    addPrice(QStringLiteral("1001"), QStringLiteral("t1"), processingDay, 1000);
    addPrice(QStringLiteral("1002"), QStringLiteral("t1"), processingDay.addDays(-1), 1000);
    const Columns waiting = with(held(0), QStringLiteral("処理区分"), 0);
    addReservation(with(with(waiting, QStringLiteral("予約番号"), 5), QStringLiteral("更新日付"),
                        QStringLiteral("2026-12-08 09:00:00")));
    addReservation(with(with(waiting, QStringLiteral("予約番号"), 4), QStringLiteral("更新日付"),
                        QStringLiteral("2026-12-08 09:00:00")));
    addReservation(with(with(waiting, QStringLiteral("予約番号"), 3), QStringLiteral("更新日付"),
                        QStringLiteral("2026-12-08 09:00:01")));
    // Older, and asked to settle, but its stock has no price row on the processing day.
    addReservation(with(
        with(with(held(2, QStringLiteral("2026-11-01 09:00:00")), QStringLiteral("銘柄コード"), QStringLiteral("1002")),
             QStringLiteral("手動注文区分"), 1),
        QStringLiteral("予約番号"), 2));
    EXPECT_EQ(dueNumber(), 4);
    gcnDB.execute(QStringLiteral("delete from ttresevation where 予約番号 = 4"));
    EXPECT_EQ(dueNumber(), 5);
}

TEST_F(OrderDueTest, OrderFromTheDueRow)
{
    addPrice(QStringLiteral("1001"), QStringLiteral("t1"), processingDay, 1000);
    addReservation(with(with(with(with(with(with(held(1), QStringLiteral("処理区分"), 0), QStringLiteral("株数"), 600),
                                       QStringLiteral("約定株数買"), 400),
                                  QStringLiteral("指成区分買"), 1),
                             QStringLiteral("指値買11"), 990),
                        QStringLiteral("取引区分"), 2));
    QString text;
    std::optional<DueReservation> due = selectDueReservation(processingDay, order, text);
    ASSERT_TRUE(due);
    etrOrderInfo buy = orderFor(*due);
    EXPECT_EQ((QList<int>{buy.予約番号, buy.売買区分, buy.株数, buy.取引区分, buy.指成区分, buy.指値}),
              (QList<int>{1, 1, 200, 2, 1, 990}));
    EXPECT_EQ(buy.銘柄コード, QStringLiteral("1001"));
    EXPECT_EQ(buy.市場コード, QStringLiteral("t1"));

    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2, 株数 = 400, 約定株数売 = 100,"
                                 " 指成区分売 = 2, 指値売11 = 1200, 手動注文区分 = 1"));
    due = selectDueReservation(processingDay, order, text);
    ASSERT_TRUE(due);
    const etrOrderInfo sell = orderFor(*due);
    EXPECT_EQ((QList<int>{sell.売買区分, sell.株数, sell.指成区分, sell.指値}), (QList<int>{2, 300, 2, 1200}));
    // A wanted count below the shares held never sells fewer than are held.
    gcnDB.execute(QStringLiteral("update ttresevation set 株数 = 100"));
    due = selectDueReservation(processingDay, order, text);
    ASSERT_TRUE(due);
    EXPECT_EQ(orderFor(*due).株数, 300);
}

TEST_F(OrderDueTest, QueryTextShowsItsValues)
{
    order.ODNanpin = 1;
    order.ODNanpinKai = 3;
    QString text;
    EXPECT_FALSE(selectDueReservation(processingDay, order, text));
    EXPECT_TRUE(text.contains(QStringLiteral("ifnull(a.注文回, 0) >= 2)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("<= '2026-12-09 00:00:00'"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("b.日付 = '2026-12-09'"))) << text.toStdString();
    EXPECT_FALSE(text.contains(u'?'));
}

TEST_F(OrderDueTest, Gates)
{
    const QDate thursday(2026, 12, 10);
    const QString closed = QStringLiteral("***時間外のため注文処理をとばす");
    const struct {
        QDateTime now;
        int startMinute = 0;
        QString password2 = QStringLiteral("p2");
        int paper = 0;
        int runningMode = 0;
        QString skip{};
    } cases[] = {
        {.now = {thursday, {8, 29}}, .skip = closed},
        {.now = {thursday, {8, 30}}},
        {.now = {thursday, {14, 50, 59}}},
        {.now = {thursday, {14, 51}}, .skip = closed},
        {.now = {thursday, {10, 2}}, .startMinute = 600, .skip = QStringLiteral("***開始から3分は注文処理をとばす")},
        {.now = {thursday, {10, 3}}, .startMinute = 600},
        {.now = {thursday, {10, 3}},
         .password2 = QStringLiteral("   "),
         .skip = QStringLiteral("***ログインできない場合は注文処理をとばす")},
        {.now = {QDate(2026, 12, 31), {10, 0}}, .skip = QStringLiteral("***稼働日ではないため注文処理をとばす")},
        {.now = {QDate(2026, 12, 12), {10, 0}}, .skip = QStringLiteral("***稼働日ではないため注文処理をとばす")},
        {.now = {QDate(2026, 12, 31), {10, 0}},
         .paper = 1,
         .skip = QStringLiteral("***実購入せずに動作のため注文処理をとばす")},
        {.now = {thursday, {10, 3}},
         .runningMode = 1,
         .skip = QStringLiteral("***証券会社サイトで処理中のため注文処理をとばす")},
        {.now = {thursday, {10, 3}}, .runningMode = 3},
    };
    UserID = QStringLiteral("u");
    Password = QStringLiteral("p");
    POP3Server = QStringLiteral("127.0.0.1:1");
    POPUserID = QStringLiteral("pu");
    POPPassword = QStringLiteral("pp");
    for (const auto &c : cases) {
        glngStartMinute = c.startMinute;
        Password2 = c.password2;
        sysBS.SelZituKounyu = c.paper;
        etrRunningMode = c.runningMode;
        EXPECT_EQ(orderCycleSkipReason(c.now), c.skip) << c.now.toString().toStdString();
    }
}

} // namespace
