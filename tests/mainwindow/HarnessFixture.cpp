#include "HarnessFixture.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// The program's own present moment: the time stamp of the newest line of its log, which
// it writes on its simulated clock (an invalid moment before the first line).
QDateTime programMoment(const QString &logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    constexpr qint64 tail = 4096;
    log.seek(std::max<qint64>(0, log.size() - tail));
    const QList<QByteArray> lines = log.readAll().split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QDateTime moment =
            QDateTime::fromString(QString::fromLatin1(line->left(19)), QStringLiteral("yyyy/MM/dd hh:mm:ss"));
        if (moment.isValid())
            return QDateTime(moment.date(), moment.time(), sys::japanZone());
    }
    return {};
}

} // namespace

void HarnessFixture::SetUp()
{
    LoopbackDayFixture::SetUp();
    ASSERT_TRUE(setRegistryAll());
    gcnDB.close();
    closeLog(glngLogFileNo);
    glngLogFileNo = 0;
    // The harness runs the program on its own simulated clock: its notices are dated by it.
    broker.setNoticeClock([log = dir() + QStringLiteral("/Nimbra.log")] { return programMoment(log); });
}

QProcess &HarnessFixture::startHarness(const QString &start, const QString &until, const QString &pause)
{
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
