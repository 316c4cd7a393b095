// A whole trading day on the simulated clock against the loopback broker, mailbox and mail
// server: start-up, automatic start, balance step, screening and preparation, a buy, its
// notice, a profit-taking sell and its notice.
#include "LoopbackDayFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "marketdata/modKabuka.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"
#include "screening/ScreeningRandom.h"
#include "support/CandidateMarket.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeSmtpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/ReservationRows.h"
#include "trading/PlacedOrders.h"
#include "trading/modOrderZyunbi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class TradingDay : public LoopbackDayFixture {
protected:
    void SetUp() override
    {
        LoopbackDayFixture::SetUp();
        ScreeningRandom::setFixed(ScreeningKeys{1, 1});
        SelEMail = 1;
        EMail = QStringLiteral("user@example.com");
        sysOD.ODRiekiAutoType = 1; // automatic profit taking
    }

    int count(const QString &sql)
    {
        db::Statement st = gcnDB.prepare(sql);
        return st.step() ? int(st.int64(0)) : -1;
    }
};

TEST_F(TradingDay, BuysTheDaysCandidateAndSellsItAtTheProfitTarget)
{
    FakeBrokerSite::Behaviour site;
    site.cash = QStringLiteral("1,000,000");
    site.holdings = {};
    // Within the day's price limits around the close of 930, and 15 % below it: the profit
    // target is reached at once.
    site.fillPrice = 790;
    broker.setBehaviour(site);

    sys::SimulatedClock clock(japan(QDate(2026, 12, 10), QTime(8, 25)));
    window().show();
    clock.runUntil(japan(QDate(2026, 12, 10), QTime(15, 0)));

    const QStringList lines = logLines();
    // The capital gives three purchase slots, so the reference stock is bought beside the
    // day's candidate; each is bought and sold once.
    const QList<FakeBrokerSite::Order> orders = broker.ordersOf(QStringLiteral("1001"));
    ASSERT_EQ(orders.size(), 2) << lines.join(u'\n').toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from ttcontracthistory where 銘柄コード = '1001'")), 2);
    EXPECT_EQ(count(QStringLiteral("select 処理区分 from ttresevation where 銘柄コード = '1001'")), 9);
    EXPECT_GE(smtp.messages().size(), 2) << "both notices forwarded";
    EXPECT_EQ(label("lblRunStatus").text(), kRunning);
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

// An acceptance that repeats the number of an order placed that day (a false acceptance)
// neither takes that order's place nor marks its reservation ordered: the outcome is unknown
// and the run stops for the user to look at the broker's site.
TEST_F(TradingDay, AnAcceptanceRepeatingAnOrderNumberIsNotBelieved)
{
    FakeBrokerSite::Behaviour site;
    site.cash = QStringLiteral("1,000,000");
    site.holdings = {};
    broker.setBehaviour(site);
    gcnDB.execute(QStringLiteral("insert into ttplacedorder (注文番号, 注文日, 予約番号, 売買区分, 株数)"
                                 " values (100001, '2026-12-10', 99, 1, 100)"));

    sys::SimulatedClock clock(japan(QDate(2026, 12, 10), QTime(8, 25)));
    window().show();
    clock.runUntil(japan(QDate(2026, 12, 10), QTime(10, 0)));

    ASSERT_EQ(broker.acceptedOrderCount(), 1) << logLines().join(u'\n').toStdString();
    EXPECT_EQ(count(QStringLiteral("select 予約番号 from ttplacedorder where 注文番号 = 100001")), 99);
    EXPECT_EQ(count(QStringLiteral("select count(*) from ttresevation where エラーコード = 90 and 処理区分 = 0")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from ttresevation where 注文番号 = 100001")), 0);
    EXPECT_EQ(logLines().filter(QStringLiteral("★同じ注文番号の受付が既にあるため記録しない(注文番号:100001/")).size(),
              1);
    EXPECT_NE(label("lblRunStatus").text(), kRunning);
    EXPECT_EQ(messages().filter(QStringLiteral("注文の結果を確認できませんでした。")).size(), 1);
}

} // namespace

namespace {

// An unattended day with a stop-loss sell due: a held position of 7203 bought yesterday at
// 1,200, whose stop-loss price of 1,080 the close of 930 has reached. A message box stays
// open until the end of the day, as it would with nobody at the desk; the program tells
// the mailbox's news without one, so the sell goes out all the same.
class UnattendedDay : public TradingDay {
protected:
    void SetUp() override
    {
        TradingDay::SetUp();
        FakeBrokerSite::Behaviour site;
        site.cash = QStringLiteral("1,000,000");
        site.holdings = {{QStringLiteral("7203"), QStringLiteral("100"), QStringLiteral("1,200")}};
        broker.setBehaviour(site);
        sysOD.ODSongiriAutoType = 1; // automatic stop loss
        sysOD.ODNanpin = 0;
        addReservation(ReservationColumns{{QStringLiteral("予約番号"), 1},
                                          {QStringLiteral("取引区分"), 1},
                                          {QStringLiteral("銘柄コード"), QStringLiteral("7203")},
                                          {QStringLiteral("市場コード"), QStringLiteral("t1")},
                                          {QStringLiteral("株数"), 100},
                                          {QStringLiteral("繰返回数"), 1},
                                          {QStringLiteral("実行回数買"), 1},
                                          {QStringLiteral("処理区分"), 2},
                                          {QStringLiteral("割合売1"), 20},
                                          {QStringLiteral("割合売2"), 10},
                                          {QStringLiteral("日数売2"), 30},
                                          {QStringLiteral("登録日付"), QStringLiteral("2026-12-09 09:00:00")},
                                          {QStringLiteral("更新日付"), QStringLiteral("2026-12-09 09:10:00")},
                                          {QStringLiteral("約定金額買"), 1200.0},
                                          {QStringLiteral("約定株数買"), 100},
                                          {QStringLiteral("注文番号"), 424242}});
        ASSERT_TRUE(recordPlacedOrder({424242, QDate(2026, 12, 9), 1, 1, 100, 100}));
        MessageBoxRecorder::instance().setWhileOpen([this] { clock.runUntil(end); });
    }

    void putMail(const QString &name, const QByteArray &mail)
    {
        QFile file(QDir(maildrop.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(mail);
    }

    // Runs the day from 08:25 to 15:00 and checks that the stop-loss sell of all 100 shares
    // went out, no box was raised and the information line begins with `info`.
    void runTheDayAndExpectTheSell(const QString &info)
    {
        window().show();
        clock.runUntil(end);
        const QStringList lines = logLines();
        EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
        const QList<FakeBrokerSite::Order> orders = broker.ordersOf(QStringLiteral("7203"));
        ASSERT_EQ(orders.size(), 1) << lines.join(u'\n').toStdString();
        EXPECT_EQ(orders.first().fields.value(QStringLiteral("trade_kbn")), QStringLiteral("2")); // cash sell
        EXPECT_EQ(orders.first().fields.value(QStringLiteral("input_quantity")), QStringLiteral("100"));
        EXPECT_TRUE(label("lblInfo").text().startsWith(info)) << label("lblInfo").text().toStdString();
        EXPECT_EQ(label("lblRunStatus").text(), kRunning);
    }

    const QDateTime end = japan(QDate(2026, 12, 10), QTime(15, 0));
    sys::SimulatedClock clock{japan(QDate(2026, 12, 10), QTime(8, 25))};
};

// A notice of yesterday's buy that names another stock comes after the start, before the
// first order may go; the box that told it sat inside the order tick.
TEST_F(UnattendedDay, AMisfitNoticeWhileRunningHoldsNoLaterStopLossSell)
{
    clock.schedule(japan(QDate(2026, 12, 10), QTime(8, 27)), [this] {
        FakeBrokerSite::Order forged;
        forged.orderNumber = QStringLiteral("424242");
        forged.fields = {{QStringLiteral("trade_kbn"), QStringLiteral("1")},
                         {QStringLiteral("stock_sec_code"), QStringLiteral("6758")},
                         {QStringLiteral("input_quantity"), QStringLiteral("100")}};
        QByteArray mail = FakeBrokerSite::noticeMail(forged, 1200);
        mail.replace("2026-12-10 08:27", "2026-12-09 14:30");
        putMail(QStringLiteral("forged.eml"), mail);
    });
    runTheDayAndExpectTheSell(
        QStringLiteral("注文と合わない約定通知があったため記録しませんでした。(1通)ログを確認してください。"));
    const QStringList lines = logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const QString &line) {
                                return line.startsWith(
                                    QStringLiteral("★約定通知が注文と合わないため処理しない(注文番号:424242"));
                            }),
              1);
}

// A mailbox that keeps the mails it is told to delete; the box that told it came before the
// automatic start.
TEST_F(UnattendedDay, AMailboxThatKeepsDeletedMailsHoldsNoStartAndNoSell)
{
    pop3.setRefuseDeletions(true);
    putMail(QStringLiteral("hello.eml"), "Subject: hello\r\n\r\nhello\r\n");
    runTheDayAndExpectTheSell(QStringLiteral("メールサーバが受信済みのメールの削除を受け付けません。"));
}

} // namespace

namespace {

TEST_F(TradingDay, APaperDayNeverReachesTheBroker)
{
    sysBS.SelZituKounyu = 1;
    sys::SimulatedClock clock(japan(QDate(2026, 12, 10), QTime(8, 25)));
    window().show();
    clock.runUntil(japan(QDate(2026, 12, 10), QTime(10, 0)));

    EXPECT_EQ(label("lblRunStatus").text(), kRunning);
    EXPECT_TRUE(broker.requests().isEmpty()) << broker.requests().join(u'\n').toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from ttresevation where 銘柄コード = '1001'")), 1)
        << "the day's candidate is prepared all the same";
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

} // namespace

namespace {

// The night's daily block on the candidate market, tick by tick.
class NightBlock : public TradingDay {
protected:
    void tickAt(const QDateTime &moment)
    {
        sys::setNow(moment);
        tmrOrder_Timer(run());
    }
    int reservationsOf(const QString &code)
    {
        return count(QStringLiteral("select count(*) from ttresevation where 銘柄コード = '") + code +
                     QStringLiteral("' and 処理区分 = 0"));
    }
};

// The buys of yesterday that the day change finishes free their slots before the day's
// preparation counts them.
TEST_F(NightBlock, CountsTheSlotsAfterTheDayChange)
{
    for (int number = 1; number <= 3; ++number)
        addReservation({.予約番号 = number,
                        .銘柄コード = QStringLiteral("7203"),
                        .株数 = 100,
                        .処理区分 = 1,
                        .登録日付 = QStringLiteral("2026-12-09 09:00:00"),
                        .更新日付 = QStringLiteral("2026-12-09 09:05:00"),
                        .市場コード = QStringLiteral("t1"),
                        .注文番号 = 100000 + number});
    sysBS.KounyuTensu = 3;
    gdtLastDailyDate = QDate(2026, 12, 9);
    tickAt(japan(QDate(2026, 12, 10), QTime(2, 0)));
    EXPECT_EQ(count(QStringLiteral("select count(*) from ttresevation where 処理区分 = 9")), 3);
    EXPECT_EQ(reservationsOf(QStringLiteral("1001")), 1) << logLines().join(u'\n').toStdString();
}

// A price update that could not complete prepares no new buy that day; the day before's
// prices would have chosen them.
TEST_F(NightBlock, AStoppedUpdatePreparesNoNewBuys)
{
    const struct {
        QDate day;
        bool stopped;
    } cases[] = {
        {QDate(2026, 12, 10), false}, // the processing day 12/09 is the newest trading day: nothing to fetch
        {QDate(2026, 12, 11), true},  // 12/10 is missing and the quote site does not answer
    };
    // Enough stocks for the import to take the silent site for down and stop.
    for (int code = 3001; code <= 3000 + kDeadSiteStocks; ++code)
        gcnDB.execute(
            QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 単元株数) values (?, 't1', ?, 100)"),
            QString::number(code), QStringLiteral("株式会社") + QString::number(code));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString());
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gdtLastDailyDate = c.day.addDays(-1);
        gdtLastOrderZyunbiDate = QDate();
        tickAt(japan(c.day, QTime(2, 0)));
        EXPECT_EQ(reservationsOf(QStringLiteral("1001")), c.stopped ? 0 : 1);
        EXPECT_EQ(label("lblInfo").text(),
                  c.stopped ? QStringLiteral("最新データを取得できなかったため、本日の新規買い注文は準備しません")
                            : QString());
        EXPECT_EQ(
            logLines().contains(QStringLiteral("***最新データを取得できなかったため本日の新規買い注文は準備しない")),
            c.stopped);
        EXPECT_EQ(gdtLastDailyDate, c.day) << "the block runs once a day all the same";
    }
}

} // namespace
