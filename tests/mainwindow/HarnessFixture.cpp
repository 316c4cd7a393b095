#include "HarnessFixture.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"

#include <QCoreApplication>

void HarnessFixture::SetUp()
{
    LoopbackDayFixture::SetUp();
    ASSERT_TRUE(setRegistryAll());
    gcnDB.close();
    closeLog(glngLogFileNo);
    glngLogFileNo = 0;
}

QProcess &HarnessFixture::startHarness(const QString &start, const QString &until, const QString &pause)
{
    // The fake broker in this process dates its notices by this process's clock: it shows
    // the harness's moment as far as this process knows it (the start, then the pause), so
    // that a notice names the day its order was placed.
    sys::setNow(QDateTime::fromString(start, QStringLiteral("yyyy-MM-dd HH:mm")));
    m_pause = QDateTime::fromString(pause, QStringLiteral("yyyy-MM-dd HH:mm"));
    QStringList arguments{QStringLiteral("--home"),  dir(), QStringLiteral("--start"), start,
                          QStringLiteral("--until"), until};
    if (!pause.isEmpty())
        arguments << QStringLiteral("--pause") << pause;
    harness.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/support/nimbra_simday"));
    harness.setArguments(arguments);
    harness.setProcessChannelMode(QProcess::MergedChannels);
    harness.start();
    EXPECT_TRUE(harness.waitForStarted());
    return harness;
}

bool HarnessFixture::waitForPause()
{
    QByteArray seen;
    while (harness.state() == QProcess::Running && harness.waitForReadyRead(90000)) {
        seen += harness.readAll();
        if (seen.contains("paused\n")) {
            pausedOutput = seen;
            sys::setNow(m_pause);
            return true;
        }
    }
    pausedOutput = seen;
    return false;
}

void HarnessFixture::resume()
{
    harness.write("\n");
    harness.waitForBytesWritten();
}

QString HarnessFixture::reservationColumn(const QString &column)
{
    openDatabases();
    db::Statement st = gcnDB.prepare(QStringLiteral("select ") + column +
                                     QStringLiteral(" from ttresevation where 銘柄コード = '1001' order by 予約番号"));
    const QString value = st.step() ? st.text(0) : QStringLiteral("none");
    gcnDB.close();
    return value;
}
