// The books of a reservation walked through many sequences of the real functions: the order
// cycle, notices (partial, late), day changes with averaging down, sales and buys
// entered by hand and deletions. After every step the share columns keep their one meaning.

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "marketdata/modMarket.h"
#include "platform/browser/Browser.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "support/ReservationRows.h"
#include "support/TradingFixture.h"
#include "trading/NoticeBooking.h"
#include "trading/PlacedOrders.h"
#include "trading/YakuzyouNotice.h"
#include "trading/modBroker.h"
#include "trading/modNanpin.h"
#include "trading/modOrderCycle.h"
#include "trading/modOrderDue.h"
#include "trading/modReservation.h"

#include <QLabel>

#include <map>
#include <random>

namespace {

const QString kCode = QStringLiteral("1001");
const QString kMarket = QStringLiteral("t1");
constexpr qint64 kNumber = 1;

// The reservation's share columns and state as stored.
struct Books {
    int state = 0;
    int errorCode = 0;
    qint64 wanted = 0; // 株数
    qint64 bought = 0;
    qint64 sold = 0;
};

// An execution at the broker whose notice is still to come.
struct Execution {
    qint64 orderNo = 0;
    QDate day;
    bool buy = true;
    qint64 shares = 0;
    bool orphan = false; // its reservation was replaced or deleted since
    bool byHand = false; // the user entered it by hand already
};

// An order the broker holds, executable on its day only.
struct BrokerOrder {
    qint64 orderNo = 0;
    QDate day;
    bool buy = true;
    qint64 shares = 0;
    qint64 executed = 0;
};

class BookSequences : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        addBond(kCode, kMarket, QStringLiteral("Acme"));
        setLoginAndMailbox();
        sysBS.SelZituKounyu = 0;
        glngStartMinute = 0;
        sysOD.ODRiekiAutoType = 1;
        sysOD.ODSongiriAutoType = 0;
        sysOD.ODNanpin = 1;
        sysOD.ODNanpinKai = 4;
        sysOD.ODNanpinWariai = 0;
    }

    void TearDown() override
    {
        broker::resetStep();
        TradingFixture::TearDown();
    }

    static Books books()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral(
            "select 処理区分, エラーコード, 株数, 約定株数買, 約定株数売 from ttresevation where 予約番号 = ?"));
        st.bind(1, kNumber);
        if (!st.step())
            return {-1};
        return {int(st.int64(0)), int(st.int64(1)), st.int64(2), st.int64(3), st.int64(4)};
    }

    static qint64 historyShares(const QString &side)
    {
        db::Statement st = gcnDB.prepare(QStringLiteral(
            "select ifnull(sum(約定株数), 0) from ttcontracthistory where 予約番号 = ? and 売買区分 = ?"));
        st.bindAll(kNumber, side);
        st.step();
        return st.int64(0);
    }

    static OD reservationTemplate()
    {
        OD order = sysOD;
        order.ODBrand = kCode;
        order.ODSizyouCode = kMarket;
        order.ODKabusu = 300;
        order.ODSasiNariKai1 = 2;
        order.ODSasiNariUri1 = 2;
        order.ODRiekiWariaiUri1 = 15;
        order.ODKurikaesiKai = 2;
        return order;
    }

    static void newReservation(const QDateTime &now)
    {
        qint64 number = kNumber;
        insertReservation(now, number, 0, kubunZyunbi, 0, 0, reservationTemplate());
    }

    // The day's close of the processing day, which decides profit taking and averaging down.
    static void storeClose(const QDate &day, double close)
    {
        addPrice(kCode, kMarket, day, close);
        gdtLastKabukaDate = day;
    }

    // A notice of the stock's executions at 1000 yen, booked as a pass books it.
    static NoticeBooking book(qint64 orderNo, const QDateTime &at, bool buy, qint64 shares, const QString &code = kCode)
    {
        YakuzyouNotice notice;
        notice.executedAt = at;
        notice.orderNo = orderNo;
        notice.buy = buy;
        notice.torihikiKubun = 1;
        notice.code = code;
        notice.shares = shares;
        notice.price = 1000;
        QStringList log;
        db::Transaction transaction(gcnDB);
        const NoticeBooking booking = bookNotice(notice, sys::now(), log);
        transaction.commit();
        return booking;
    }

    // A refusal of the broker as the web-step completion writes it.
    static void refuse(const etrOrderInfo &order, int code, const QDateTime &now)
    {
        gcnDB.execute(QStringLiteral("update ttresevation set エラーコード = ?, 更新日付 = ? where 予約番号 = ?"), code,
                      db::dateTimeText(now), order.予約番号);
    }

    // The acceptance as the web-step completion writes it.
    static void accept(const etrOrderInfo &order, qint64 orderNo, const QDateTime &now)
    {
        db::Transaction transaction(gcnDB);
        ASSERT_TRUE(recordPlacedOrder({orderNo, now.date(), order.予約番号, order.売買区分, order.株数, 0}));
        gcnDB.execute(
            QStringLiteral("update ttresevation set エラーコード = 0, 処理区分 = ?, 注文番号 = ?, 更新日付 = ?"
                           " where 予約番号 = ?"),
            order.売買区分 == 1 ? int(kubunKaiTyumon) : int(kubunUriTyumon), orderNo, db::dateTimeText(now),
            order.予約番号);
        transaction.commit();
    }

    void walk(unsigned seed, int steps);
};

void BookSequences::walk(unsigned seed, int steps)
{
    std::mt19937 random(seed);
    const auto chance = [&random](int percent) { return int(random() % 100) < percent; };
    const double closes[] = {950, 1000, 1200};

    QDateTime now(QDate(2026, 12, 7), QTime(9, 0)); // a Monday
    storeClose(tradingDayBefore(now.date()), 1000);
    sys::setNow(now);
    newReservation(now);
    std::vector<BrokerOrder> orders;
    std::vector<Execution> pending;
    qint64 expectBought = 0;
    qint64 expectSold = 0;
    qint64 sellExecutionsBooked = 0;
    qint64 nextOrderNo = 100;
    qint64 heldAtBroker = 0; // the shares the broker's executions leave
    qint64 soldAtBroker = 0;
    // Per order, the shares entered by hand whose notice has not come: the first notices of
    // the order up to that many are taken as theirs.
    std::map<qint64, qint64> awaitingByHand;
    browser::Browser webOrder;
    QLabel lblMsg;

    for (int step = 0; step < steps; ++step) {
        const int event = int(random() % 8);
        SCOPED_TRACE(QStringLiteral("seed %1 step %2 event %3").arg(seed).arg(step).arg(event).toStdString());
        now = now.addSecs(5 * 60);
        sys::setNow(now);
        const Books before = books();
        switch (event) {
        case 0:
        case 1: { // the order cycle sends what is due
            if (now.time() > QTime(14, 50))
                break;
            if (doOrderCycle(lblMsg, webOrder) != OrderCycleOutcome::StepStarted)
                break;
            const etrOrderInfo order = etrOrder;
            broker::resetStep();
            ASSERT_GT(order.株数, 0) << "an order of no shares";
            if (order.売買区分 == 2 && order.株数 > heldAtBroker) {
                // Sold meanwhile by an order whose notice has not come: the broker refuses.
                refuse(order, etrErrHoldingsShort, now);
                break;
            }
            accept(order, ++nextOrderNo, now);
            orders.push_back({nextOrderNo, now.date(), order.売買区分 == 1, order.株数, 0});
            break;
        }
        case 2:
        case 3: { // today's order executes in part or whole; its notice comes later
            for (BrokerOrder &o : orders) {
                if (o.day != now.date() || o.executed >= o.shares)
                    continue;
                const qint64 rest = o.shares - o.executed;
                const qint64 shares = chance(50) ? rest : std::max<qint64>(1, rest / 2);
                o.executed += shares;
                heldAtBroker += o.buy ? shares : -shares;
                soldAtBroker += o.buy ? 0 : shares;
                pending.push_back({o.orderNo, o.day, o.buy, shares});
                break;
            }
            break;
        }
        case 4: { // a notice arrives, maybe late
            if (pending.empty())
                break;
            const size_t at = random() % pending.size();
            const Execution e = pending[at];
            const NoticeBooking booking = book(e.orderNo, QDateTime(e.day, QTime(10, 0)), e.buy, e.shares);
            const bool takenByHand = !e.orphan && e.shares <= awaitingByHand[e.orderNo];
            if (takenByHand)
                awaitingByHand[e.orderNo] -= e.shares;
            const bool expected = !e.orphan && !takenByHand;
            EXPECT_EQ(booking.yoyakuNo != 0, expected) << booking.misfit.toStdString();
            EXPECT_TRUE(booking.misfit.isEmpty()) << booking.misfit.toStdString();
            EXPECT_EQ(booking.alreadyBooked, takenByHand);
            if (expected) {
                (e.buy ? expectBought : expectSold) += e.shares;
                sellExecutionsBooked += e.buy ? 0 : 1;
            }
            pending.erase(pending.begin() + qptrdiff(at));
            break;
        }
        case 5: { // the night: day change and averaging down on the new close
            QDate day = now.date().addDays(1);
            while (!isTradingDay(day))
                day = day.addDays(1);
            storeClose(now.date(), closes[random() % 3]);
            now = QDateTime(day, QTime(9, 0));
            sys::setNow(now);
            dayChangeReservation(now);
            checkNanpin(now, gdtLastKabukaDate, sysOD);
            break;
        }
        case 6: { // a sale entered by hand: an execution whose notice has not come
            auto sale = std::find_if(pending.begin(), pending.end(),
                                     [](const Execution &e) { return !e.buy && !e.orphan && !e.byHand; });
            if (sale == pending.end())
                break;
            YakuzyouNotice entered;
            entered.executedAt = now;
            entered.buy = false;
            entered.torihikiKubun = 1;
            entered.code = kCode;
            entered.shares = sale->shares;
            entered.price = 1000;
            QStringList log;
            db::Transaction transaction(gcnDB);
            SaleByHand result = bookSaleByHand(entered, kNumber, now, log);
            if (result == SaleByHand::OrderNumberNeeded) {
                entered.orderNo = sale->orderNo; // as the broker's site shows it
                result = bookSaleByHand(entered, kNumber, now, log);
            }
            transaction.commit();
            if (result == SaleByHand::Booked) {
                expectSold += sale->shares;
                ++sellExecutionsBooked;
                sale->byHand = true;
                awaitingByHand[sale->orderNo] += sale->shares;
                if (chance(30))
                    pending.erase(sale); // its notice never comes
            } else {
                EXPECT_EQ(result, SaleByHand::BuyOut);
            }
            break;
        }
        case 7: { // a buy entered by hand replaces the reservation, or it is deleted
            if (!chance(25))
                break;
            for (Execution &e : pending)
                e.orphan = true;
            orders.clear();
            expectBought = expectSold = sellExecutionsBooked = heldAtBroker = soldAtBroker = 0;
            awaitingByHand.clear();
            if (chance(50)) {
                qint64 number = kNumber;
                insertManualExecution(now, number, reservationTemplate(), 0, 1000, 300);
                expectBought = heldAtBroker = 300;
            } else {
                deleteReservation(kNumber);
                newReservation(now);
            }
            break;
        }
        }

        const Books after = books();
        ASSERT_NE(after.state, -1);
        EXPECT_LE(after.sold, after.bought);
        EXPECT_LE(after.sold, soldAtBroker) << "a sale never counted twice";
        EXPECT_EQ(after.bought, historyShares(QStringLiteral("1")));
        EXPECT_EQ(after.sold, historyShares(QStringLiteral("2")));
        EXPECT_EQ(after.bought, expectBought) << "each execution counted once";
        EXPECT_EQ(after.sold, expectSold) << "each sale counted once";
        db::Statement sales = gcnDB.prepare(
            QStringLiteral("select count(*) from ttcontracthistory where 予約番号 = ? and 売買区分 = '2'"));
        sales.bind(1, kNumber);
        sales.step();
        EXPECT_EQ(sales.int64(0), sellExecutionsBooked) << "each sale's profit counted once";
        EXPECT_GE(after.wanted, after.bought) << "株数 is the shares to have bought in all";
        if (after.bought > after.sold) {
            EXPECT_NE(after.state, int(kubunSyoriZumi)) << "a row that holds shares is never finished";
        }
        EXPECT_NE(after.errorCode, int(etrErrNoShares)) << "an order of no shares came due";
        if (testing::Test::HasFailure()) {
            ADD_FAILURE() << "before: state " << before.state << " 株数 " << before.wanted << " bought "
                          << before.bought << " sold " << before.sold << "; after: state " << after.state << " 株数 "
                          << after.wanted << " bought " << after.bought << " sold " << after.sold;
            return;
        }
    }
}

TEST_F(BookSequences, EveryWalkKeepsTheBooks)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gcnDB.execute(QStringLiteral("delete from ttcontracthistory"));
        gcnDB.execute(QStringLiteral("delete from ttplacedorder"));
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        walk(seed, 150);
        if (HasFailure())
            return;
    }
}

} // namespace

namespace {

class BookCases : public BookSequences {
protected:
    void SetUp() override
    {
        BookSequences::SetUp();
        addBond(QStringLiteral("6758"), kMarket, QStringLiteral("Other"));
    }

    static void addHeld(qint64 number, const QString &code, int state, qint64 wanted, qint64 bought, qint64 sold,
                        int errorCode = 0, const QString &updated = QStringLiteral("2026-12-07 09:00:00"))
    {
        addReservation({.予約番号 = number,
                        .取引区分 = 1,
                        .指成区分買 = 2,
                        .指成区分売 = 2,
                        .銘柄コード = code,
                        .株数 = wanted,
                        .注文期間 = QStringLiteral("2026-12-07"),
                        .処理区分 = state,
                        .エラーコード = errorCode,
                        .割合売1 = 15,
                        .登録日付 = QStringLiteral("2026-12-07 09:00:00"),
                        .更新日付 = updated,
                        .市場コード = kMarket,
                        .約定金額買 = 1000,
                        .約定株数買 = bought,
                        .約定金額売 = sold > 0 ? 1100 : 0,
                        .約定株数売 = sold});
    }

    etrOrderInfo cycle()
    {
        if (doOrderCycle(lblMsg, webOrder) != OrderCycleOutcome::StepStarted)
            return {};
        const etrOrderInfo order = etrOrder;
        broker::resetStep();
        return order;
    }

    browser::Browser webOrder;
    QLabel lblMsg;
};

} // namespace

// Averaging down after a partial sale buys what the first lots call for: the day change
// leaves 株数 at the shares bought, not at the shares held. Beside it the row never sold.
TEST_F(BookCases, AveragingDownAfterAPartialSaleBuysMore)
{
    for (const qint64 sold : {100, 200, 0}) {
        SCOPED_TRACE(sold);
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gcnDB.execute(QStringLiteral("delete from ttplacedorder"));
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        // 300 bought; a limit sell of all of them filled `sold` of them on the 7th.
        addHeld(kNumber, kCode, sold > 0 ? kubunUriTyumon : kubunKaiYakuzyou, 300, 300, sold);
        qint64 orderNo = 500;
        QDateTime now(QDate(2026, 12, 8), QTime(9, 0));
        const std::vector<qint64> expectedBuys{300, 150};
        for (const qint64 expected : expectedBuys) {
            sys::setNow(now);
            storeClose(now.date().addDays(-1), 950);
            dayChangeReservation(now);
            EXPECT_EQ(checkNanpin(now, gdtLastKabukaDate, sysOD), 1);
            now = now.addSecs(60 * 60);
            sys::setNow(now);
            const etrOrderInfo order = cycle();
            EXPECT_EQ(order.売買区分, 1);
            EXPECT_EQ(order.株数, expected);
            accept(order, ++orderNo, now); // accepted, never filled
            now = QDateTime(now.date().addDays(1), QTime(9, 0));
        }
        EXPECT_EQ(books().bought, 300);
        EXPECT_EQ(books().sold, sold);
    }
}

// An order of no shares is never sent, whatever a row holds: the row is marked for the user
// and told on the information line, and the cycle serves the next row.
TEST_F(BookCases, AnOrderOfNoSharesIsRefusedAndTheRunGoesOn)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(10, 0));
    sys::setNow(now);
    storeClose(QDate(2026, 12, 7), 1000);
    // Stored by an earlier version: 株数 held 200 after a partial sale, then averaged down.
    addHeld(1, kCode, kubunZyunbi, 300, 300, 100, 0, QStringLiteral("2026-12-08 08:00:00"));
    addHeld(2, kCode, kubunZyunbi, 300, 0, 0, 0, QStringLiteral("2026-12-08 08:30:00"));

    EXPECT_EQ(doOrderCycle(lblMsg, webOrder), OrderCycleOutcome::Skipped);
    EXPECT_EQ(books().errorCode, int(etrErrNoShares));
    EXPECT_TRUE(logLines().contains(
        QStringLiteral("***注文株数が0以下のため注文しない(予約番号:1/売買区分:1/株数:0/銘柄コード:1001)")));
    EXPECT_EQ(
        refusedOrdersInfoText(),
        QStringLiteral("注文株数が0以下のため注文しなかった予約があります(予約番号:1)。注文一覧を確認してください。"));
    const etrOrderInfo next = cycle();
    EXPECT_EQ(next.予約番号, 2);
    EXPECT_EQ(next.株数, 300);

    setManualOrder(1); // the user looked at it
    EXPECT_EQ(books().errorCode, 0);
    EXPECT_EQ(refusedOrdersInfoText(), QString());
}

// No path books a sale beyond the shares held: a sell notice that would is refused, a buy
// that leaves a finished row holding shares makes it held again. Beside them a partial sale
// followed by the full sale.
TEST_F(BookCases, NoSaleIsBookedBeyondTheSharesHeld)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(11, 0));
    sys::setNow(now);
    const QDateTime at(now.date(), QTime(10, 0));

    addHeld(1, kCode, kubunUriTyumon, 300, 300, 0);
    ASSERT_TRUE(recordPlacedOrder({801, now.date(), 1, 2, 300, 0}));
    EXPECT_EQ(book(801, at, false, 100).yoyakuNo, 1);
    EXPECT_EQ(books().state, int(kubunUriTyumon));
    EXPECT_EQ(book(801, at, false, 200).yoyakuNo, 1);
    EXPECT_EQ(books().state, int(kubunSyoriZumi));
    EXPECT_EQ(books().sold, 300);

    // A row that holds 100 with a sell order of 300 of an older layout out.
    gcnDB.execute(QStringLiteral("delete from ttresevation"));
    addHeld(1, kCode, kubunUriTyumon, 300, 300, 200);
    ASSERT_TRUE(recordPlacedOrder({802, now.date(), 1, 2, 300, 0}));
    const NoticeBooking beyond = book(802, at, false, 200);
    EXPECT_EQ(beyond.yoyakuNo, 0);
    EXPECT_EQ(beyond.misfit, QStringLiteral("約定株数(200)が保有株数(100)を超える"));
    EXPECT_EQ(books().sold, 200);

    // An extra buy's notice on a row whose shares were all sold meanwhile.
    gcnDB.execute(QStringLiteral("delete from ttresevation"));
    addHeld(1, kCode, kubunSyoriZumi, 400, 300, 300);
    ASSERT_TRUE(recordPlacedOrder({803, now.date(), 1, 1, 100, 0}));
    EXPECT_EQ(book(803, at, true, 100).yoyakuNo, 1);
    EXPECT_EQ(books().state, int(kubunKaiYakuzyou));
}

// Where the broker numbers its orders anew each day, yesterday's order of another stock with
// the same number does not take today's notice, and the order in doubt of today receives it.
TEST_F(BookCases, AnOrderOfAnotherDayDoesNotHideTheOrderInDoubt)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(11, 0));
    sys::setNow(now);
    addHeld(1, QStringLiteral("6758"), kubunKaiYakuzyou, 300, 300, 0);
    ASSERT_TRUE(recordPlacedOrder({5, QDate(2026, 12, 7), 1, 1, 300, 300}));
    addHeld(2, kCode, kubunZyunbi, 300, 0, 0, int(etrErrOutcomeUnknown), QStringLiteral("2026-12-08 09:10:00"));

    const NoticeBooking booking = book(5, QDateTime(now.date(), QTime(9, 12)), true, 300);
    EXPECT_EQ(booking.yoyakuNo, 2);
    EXPECT_TRUE(booking.misfit.isEmpty());
    db::Statement st = gcnDB.prepare(QStringLiteral("select 処理区分, 約定株数買, エラーコード from ttresevation"
                                                    " where 予約番号 = 2"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.int64(1), 300);
    EXPECT_EQ(st.int64(2), 0);
}
