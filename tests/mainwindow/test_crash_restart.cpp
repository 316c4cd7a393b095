// The day harness killed while the broker holds the answer to an order, then started again:
// the order whose outcome is unknown is never sent a second time.
#include "LoopbackDayFixture.h"

#include "core/SettingsRecords.h"
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "platform/db/Connection.h"
#include "screening/ScreeningRandom.h"
#include "support/CandidateMarket.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeSmtpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

class CrashRestart : public LoopbackDayFixture {
protected:
    void SetUp() override
    {
        LoopbackDayFixture::SetUp();
        // The program in the harness reads all of it from its files, as a user's would.
        ASSERT_TRUE(setRegistryAll());
        gcnDB.close();
        closeLog(glngLogFileNo);
        glngLogFileNo = 0;
    }

    QProcess &startHarness(const QString &start, const QString &until)
    {
        harness.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/support/nimbra_simday"));
        harness.setArguments(
            {QStringLiteral("--home"), dir(), QStringLiteral("--start"), start, QStringLiteral("--until"), until});
        harness.setProcessChannelMode(QProcess::MergedChannels);
        harness.start();
        EXPECT_TRUE(harness.waitForStarted());
        return harness;
    }

    QString reservationColumn(const QString &column)
    {
        openDatabases();
        db::Statement st = gcnDB.prepare(QStringLiteral("select ") + column +
                                         QStringLiteral(" from ttresevation where 銘柄コード = '1001'"));
        const QString value = st.step() ? st.text(0) : QStringLiteral("none");
        gcnDB.close();
        return value;
    }

    QProcess harness;
};

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

TEST_F(CrashRestart, AReservationPreparedBeforeAnEndGoesOutOnceAfterTheRestart)
{
    FakeBrokerSite::Behaviour site;
    site.holdings = {};
    broker.setBehaviour(site);
    // Ended while the pause after the start still holds the order cycle back: the
    // reservation is prepared, nothing has been sent.
    startHarness(QStringLiteral("2026-12-10 08:25"), QStringLiteral("2026-12-10 08:27"));
    ASSERT_TRUE(harness.waitForFinished(90000));
    ASSERT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("0"));
    EXPECT_TRUE(broker.orders().isEmpty());

    startHarness(QStringLiteral("2026-12-10 09:00"), QStringLiteral("2026-12-10 09:30"));
    ASSERT_TRUE(harness.waitForFinished(90000));
    EXPECT_EQ(harness.exitCode(), 0) << harness.readAll().toStdString();
    EXPECT_EQ(broker.ordersOf(QStringLiteral("1001")).size(), 1) << "exactly one order after the restart";
}

} // namespace
