// The day harness across the night: a buy filled on day 1 whose notice (or its second
// part) comes only after the 02:00 daily block has rolled the day over. Its shares are
// held on day 2 and their sell goes out for all of them.
#include "HarnessFixture.h"

#include "core/SettingsRecords.h"
#include "core/modRegistrySet.h"
#include "support/FakeBrokerSite.h"

#include <QDir>
#include <QFile>

#include <mutex>

namespace {

class LateNoticeHarness : public HarnessFixture {
protected:
    void SetUp() override
    {
        HarnessFixture::SetUp();
        sysOD.ODRiekiAutoType = 1; // automatic profit taking
        ASSERT_TRUE(setRegistryAll());
        broker.setMailDirectory(QString());
        broker.setNoticeCallback([this](const QString &name, const QByteArray &mail) {
            const std::lock_guard lock(m_mutex);
            if (isBuyOf1001(name) && (!m_secondPartOnly || name.endsWith(QStringLiteral("-2"))))
                m_held[name] = mail;
            else
                deliver(name, mail);
        });
    }

    // The buy of stock 1001 fills in two executions, and only the second notice is held back.
    void holdSecondPartOnly()
    {
        behaviour.firstFill = 100;
        m_secondPartOnly = true;
    }

    // Puts the held notices into the mailbox; false when none was held.
    bool deliverHeld()
    {
        const std::lock_guard lock(m_mutex);
        for (auto it = m_held.cbegin(); it != m_held.cend(); ++it)
            deliver(it.key(), it.value());
        return !m_held.isEmpty();
    }

    // Runs the harness from day 1 13:00 to day 2 09:00, paused at 03:00 of day 2 for the
    // held notice; `beforeDelivery` checks the night's outcome. Returns the orders of 1001.
    QList<FakeBrokerSite::Order> runAcrossTheNight(const std::function<void()> &beforeDelivery)
    {
        FakeBrokerSite::Behaviour site = behaviour;
        site.cash = QStringLiteral("1,000,000");
        site.holdings = {};
        site.fillPrice = 790; // within the day's limits, and 15 % below the close: the profit target is reached
        broker.setBehaviour(site);
        startHarness(QStringLiteral("2026-12-10 13:00"), QStringLiteral("2026-12-11 09:00"),
                     QStringLiteral("2026-12-11 03:00"));
        EXPECT_TRUE(waitForPause()) << pausedOutput.toStdString();
        beforeDelivery();
        EXPECT_TRUE(deliverHeld());
        resume();
        EXPECT_TRUE(harness.waitForFinished(300000));
        const QByteArray output = harness.readAll();
        EXPECT_EQ(harness.exitCode(), 0) << output.toStdString();
        EXPECT_FALSE(output.contains("message box")) << output.toStdString();
        return broker.ordersOf(QStringLiteral("1001"));
    }

    FakeBrokerSite::Behaviour behaviour;

private:
    bool isBuyOf1001(const QString &name) const
    {
        for (const FakeBrokerSite::Order &order : broker.orders())
            if (name.startsWith(QStringLiteral("notice-") + order.orderNumber) &&
                order.fields.value(QStringLiteral("stock_sec_code")) == QLatin1String("1001") &&
                order.fields.value(QStringLiteral("trade_kbn")) == QLatin1String("1"))
                return true;
        return false;
    }
    void deliver(const QString &name, const QByteArray &mail) const
    {
        QFile file(QDir(maildrop.path()).filePath(name + QStringLiteral(".eml")));
        if (file.open(QIODevice::WriteOnly))
            file.write(mail);
    }

    std::mutex m_mutex;
    bool m_secondPartOnly = false; // else the whole notice of the buy of 1001 is held
    QMap<QString, QByteArray> m_held;
};

// A cash sell of the whole of the day-1 buy.
void expectSoldInFull(const QList<FakeBrokerSite::Order> &orders)
{
    ASSERT_GE(orders.size(), 2);
    const FakeBrokerSite::Order &buy = orders.first();
    EXPECT_EQ(buy.fields.value(QStringLiteral("trade_kbn")), QStringLiteral("1")); // cash buy
    const auto sell = std::find_if(orders.cbegin(), orders.cend(), [](const FakeBrokerSite::Order &order) {
        return order.fields.value(QStringLiteral("trade_kbn")) == QLatin1String("2"); // cash sell
    });
    ASSERT_NE(sell, orders.cend()) << "no sell of the shares bought on day 1";
    EXPECT_EQ(sell->fields.value(QStringLiteral("input_quantity")), buy.fields.value(QStringLiteral("input_quantity")));
}

TEST_F(LateNoticeHarness, ANoticeReadAfterTheDayChangeMakesTheSharesHeldAndSold)
{
    const QList<FakeBrokerSite::Order> orders = runAcrossTheNight([this] {
        EXPECT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("9"))
            << "the night's block finished the buy whose notice had not come";
    });
    expectSoldInFull(orders);
    EXPECT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("9"));
    EXPECT_EQ(reservationColumn(QStringLiteral("約定株数売")), reservationColumn(QStringLiteral("約定株数買")));
    EXPECT_NE(reservationColumn(QStringLiteral("約定株数買")), QStringLiteral("0"));
}

TEST_F(LateNoticeHarness, ASecondPartialNoticeAfterTheDayChangeRaisesTheSharesHeld)
{
    holdSecondPartOnly();
    const QList<FakeBrokerSite::Order> orders = runAcrossTheNight([&] {
        EXPECT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("2"));
        EXPECT_EQ(reservationColumn(QStringLiteral("株数")), QStringLiteral("100"))
            << "the night's block made the part bought a held position";
    });
    expectSoldInFull(orders);
    EXPECT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("9"));
    EXPECT_EQ(reservationColumn(QStringLiteral("約定株数売")), reservationColumn(QStringLiteral("約定株数買")));
}

} // namespace
