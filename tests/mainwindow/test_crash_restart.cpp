// The day harness killed (SIGKILL) while the broker holds a page of an order step, then
// started again: an order whose outcome is unknown is never sent a second time, and one
// that had not left yet goes out exactly once.
#include "HarnessFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/db/Connection.h"
#include "screening/ScreeningRandom.h"
#include "support/CandidateMarket.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeSmtpServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

namespace {

using CrashRestart = HarnessFixture;

TEST_F(CrashRestart, AnOrderKilledWhileItsAnswerIsHeldIsNeverSentAgain)
{
    FakeBrokerSite::Behaviour site;
    site.holdings = {};
    site.slowAnswer = std::chrono::milliseconds(4000); // the acceptance page is held back
    broker.setBehaviour(site);

    startHarness(QStringLiteral("2026-12-10 08:25"), QStringLiteral("2026-12-10 10:00"));
    QElapsedTimer waited;
    waited.start();
    while (broker.orders().isEmpty() && harness.state() == QProcess::Running && waited.elapsed() < 60000)
        QThread::msleep(20);
    ASSERT_EQ(broker.orders().size(), 1) << harness.readAll().toStdString();
    harness.kill(); // SIGKILL: no unload, no backup
    harness.waitForFinished();
    EXPECT_EQ(reservationColumn(QStringLiteral("エラーコード")), QStringLiteral("90"));

    site.slowAnswer = std::chrono::milliseconds(0);
    broker.setBehaviour(site);
    startHarness(QStringLiteral("2026-12-10 10:30"), QStringLiteral("2026-12-10 11:30"));
    ASSERT_TRUE(harness.waitForFinished(90000));
    EXPECT_EQ(harness.exitCode(), 0) << harness.readAll().toStdString();
    EXPECT_EQ(broker.ordersOf(QStringLiteral("1001")).size(), 1) << "no second order";
    // Its notice mail attaches the order: the position is held, the unknown mark remains
    // only until then.
    const QString state = reservationColumn(QStringLiteral("処理区分"));
    const QString error = reservationColumn(QStringLiteral("エラーコード"));
    EXPECT_TRUE(state == QStringLiteral("2") || error == QStringLiteral("90"))
        << state.toStdString() << "/" << error.toStdString();
}

TEST_F(CrashRestart, AnOrderKilledWhileItsFormIsHeldGoesOutOnceAfterTheRestart)
{
    FakeBrokerSite::Behaviour site;
    site.holdings = {};
    site.slowForm = std::chrono::milliseconds(60000); // the order form is held back
    broker.setBehaviour(site);

    startHarness(QStringLiteral("2026-12-10 08:25"), QStringLiteral("2026-12-10 10:00"));
    const auto formRequested = [this] {
        const QStringList requests = broker.requests();
        return std::any_of(requests.cbegin(), requests.cend(),
                           [](const QString &request) { return request.contains(u"WPLETstT001Control"); });
    };
    QElapsedTimer waited;
    waited.start();
    while (!formRequested() && harness.state() == QProcess::Running && waited.elapsed() < 60000)
        QThread::msleep(20);
    ASSERT_TRUE(formRequested()) << harness.readAll().toStdString();
    harness.kill(); // SIGKILL before the form could be filled in and sent
    harness.waitForFinished();
    EXPECT_TRUE(broker.orders().isEmpty());
    // Nothing can have reached the broker, and the store says so: the reservation is still
    // waiting to be ordered, not marked as an order of unknown outcome.
    EXPECT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("0"));
    EXPECT_EQ(reservationColumn(QStringLiteral("エラーコード")), QStringLiteral("0"));

    site.slowForm = std::chrono::milliseconds(0);
    broker.setBehaviour(site);
    startHarness(QStringLiteral("2026-12-10 10:30"), QStringLiteral("2026-12-10 11:30"));
    ASSERT_TRUE(harness.waitForFinished(90000));
    EXPECT_EQ(harness.exitCode(), 0) << harness.readAll().toStdString();
    EXPECT_EQ(broker.ordersOf(QStringLiteral("1001")).size(), 1) << "exactly one order after the restart";
    // The day's other reservation goes out as well, each stock once.
    QStringList codes;
    for (const FakeBrokerSite::Order &order : broker.orders())
        codes.append(order.fields.value(QStringLiteral("stock_sec_code")));
    EXPECT_EQ(codes.size(), QSet<QString>(codes.cbegin(), codes.cend()).size()) << codes.join(u' ').toStdString();
    // Its notice mail found the order: the position is held, nothing is left to check.
    EXPECT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("2"));
    EXPECT_EQ(reservationColumn(QStringLiteral("エラーコード")), QStringLiteral("0"));
}

} // namespace
