// A whole trading day on the simulated clock against the loopback broker, mailbox and mail
// server: start-up, automatic start, balance step, screening and preparation, a buy, its
// notice, a profit-taking sell and its notice.
#include "LoopbackDayFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"
#include "screening/ScreeningRandom.h"
#include "support/CandidateMarket.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeSmtpServer.h"
#include "support/MessageBoxRecorder.h"

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
    void TearDown() override
    {
        ScreeningRandom::setFixed(std::nullopt);
        MainWindowFixture::TearDown();
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
