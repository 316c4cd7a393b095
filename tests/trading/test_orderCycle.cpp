#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/browser/Browser.h"
#include "platform/sys/Clock.h"
#include "support/FakeBrokerSite.h"
#include "support/TradingFixture.h"
#include "trading/modBroker.h"
#include "trading/modOrderCycle.h"
#include "trading/modOrderDue.h"

#include <QLabel>
#include <QSignalSpy>

namespace {

// The order cycle against the fake broker on loopback.
class OrderCycleTest : public TradingFixture {
protected:
    const QDateTime now{QDate(2026, 12, 10), QTime(10, 15)};

    void SetUp() override
    {
        TradingFixture::SetUp();
        sys::setNow(now);
        broker.start();
        broker.writeSiteFile(dir());
        gdtLastKabukaDate = QDate(2026, 12, 9);
        setLoginAndMailbox();
        addPrice(QStringLiteral("1001"), QStringLiteral("t1"), gdtLastKabukaDate, 1000);
    }

    void TearDown() override
    {
        broker.stop();
        TradingFixture::TearDown();
    }

    void addWaitingBuy(qint64 number)
    {
        addReservation({.予約番号 = number,
                        .取引区分 = 1,
                        .指成区分買 = 2,
                        .銘柄コード = QStringLiteral("1001"),
                        .株数 = 600,
                        .処理区分 = 0,
                        .更新日付 = QStringLiteral("2026-12-09 15:00:00"),
                        .市場コード = QStringLiteral("t1"),
                        .約定株数買 = 400});
    }

    FakeBrokerSite broker;
    browser::Browser webOrder;
    QLabel lblMsg;
};

TEST_F(OrderCycleTest, ADueReservationOpensABrokerStep)
{
    addWaitingBuy(3);
    QSignalSpy completed(&webOrder, &browser::Browser::DocumentComplete);
    EXPECT_EQ(doOrderCycle(lblMsg, webOrder), OrderCycleOutcome::StepStarted);
    EXPECT_EQ(etrRunningMode, 1);
    EXPECT_EQ(lblMsg.text(), QStringLiteral("10:15:予約番号3の注文を処理しています。"));
    EXPECT_EQ((QList<int>{etrOrder.予約番号, etrOrder.売買区分, etrOrder.株数, etrOrder.取引区分, etrOrder.指成区分}),
              (QList<int>{3, 1, 200, 1, 2}));
    EXPECT_EQ(etrUserID, QStringLiteral("U"));
    EXPECT_EQ(etrPassword2, QStringLiteral("T"));
    ASSERT_TRUE(completed.wait(5000)); // the browser went to the broker's gateway
    EXPECT_TRUE(completed.at(0).at(0).toString().contains(QStringLiteral("/ETGate/")));

    const QStringList lines = logLines();
    const QStringList expected{QStringLiteral("--------------------"),
                               QStringLiteral("予約番号:3"),
                               QStringLiteral("売買区分:1"),
                               QStringLiteral("取引区分:1"),
                               QStringLiteral("株数:200"),
                               QStringLiteral("銘柄コード:1001"),
                               QStringLiteral("市場コード:t1"),
                               QStringLiteral("--------------------"),
                               QStringLiteral("★etrOpen開始"),
                               QStringLiteral("★etrOpen終了"),
                               QStringLiteral("★etrLogin開始"),
                               QStringLiteral("★etrLogin終了")};
    EXPECT_EQ(lines.mid(lines.indexOf(expected.first()), expected.size()), expected);
}

TEST_F(OrderCycleTest, NothingDueLogsTheQueryWithItsValues)
{
    EXPECT_EQ(doOrderCycle(lblMsg, webOrder), OrderCycleOutcome::Skipped);
    const QStringList lines = logLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("***処理する銘柄なしselect "))) << lines.last().toStdString();
    EXPECT_TRUE(lines.last().contains(QStringLiteral("b.日付 = '2026-12-09'")));
    EXPECT_EQ(etrRunningMode, 0);
}

TEST_F(OrderCycleTest, AGateSendsNothing)
{
    addWaitingBuy(1);
    const struct {
        const char *name;
        int paper;
        QString password2;
        QString line;
    } cases[] = {
        {"paper mode", 1, QStringLiteral("T"), QStringLiteral("***実購入せずに動作のため注文処理をとばす")},
        {"no trade password", 0, QStringLiteral(" "), QStringLiteral("***ログインできない場合は注文処理をとばす")},
    };
    for (const auto &c : cases) {
        sysBS.SelZituKounyu = c.paper;
        Password2 = c.password2;
        EXPECT_EQ(doOrderCycle(lblMsg, webOrder), OrderCycleOutcome::Skipped) << c.name;
        EXPECT_EQ(etrRunningMode, 0) << c.name;
        EXPECT_EQ(etrOrder.予約番号, 0) << c.name;
        EXPECT_EQ(logLines().last(), c.line) << c.name;
        restartLog();
    }
    EXPECT_TRUE(broker.requests().isEmpty());
}

} // namespace
