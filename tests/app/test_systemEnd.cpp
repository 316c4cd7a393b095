// The program itself, started as a process and asked by the system to end (SIGTERM, as a
// logout, a shutdown or `kill` sends it): it ends as closing its window does, broker left,
// database backed up, log closed, lock given back, exit code 0. A second request ends it
// at once.
#include "support/FakeQuoteSite.h"
#include "support/ProgramDirFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

namespace {

class SystemEnd : public ProgramDirFixture {
protected:
    // A user's program directory on the fake quote site, in paper mode with every login
    // and mailbox value stored, so that the program starts running by itself.
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        site.start();
        layOutForSite(site);
        storeSettings({{QStringLiteral("UserID"), QStringLiteral("U")},
                       {QStringLiteral("Password"), QStringLiteral("P")},
                       {QStringLiteral("Password2"), QStringLiteral("T")},
                       {QStringLiteral("POP3Server"), QStringLiteral("127.0.0.1:1")},
                       {QStringLiteral("POPUserID"), QStringLiteral("u")},
                       {QStringLiteral("POPPassword"), QStringLiteral("p")},
                       {QStringLiteral("SelZituKounyu"), QStringLiteral("1")}});
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
        ProgramDirFixture::TearDown();
    }

    // Starts the program and waits until it runs by itself.
    void startRunning()
    {
        program.setProgram(QStringLiteral(NIMBRA_PROGRAM));
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start();
        ASSERT_TRUE(program.waitForStarted());
        EXPECT_TRUE(QTest::qWaitFor([this] { return logLines().contains(QStringLiteral("運転開始")); }, 90000))
            << logLines().join(u'\n').toStdString();
    }
    void signal(int number) const { ASSERT_EQ(::kill(pid_t(program.processId()), number), 0); }

    static QStringList backups()
    {
        return QDir(qEnvironmentVariable("NIMBRA_HOME")).entryList({QStringLiteral("Nimbra[1-7].mdb")}, QDir::Files);
    }

    FakeQuoteSite site{{.seed = 5, .stocks = 8, .days = 40, .lastDay = {}}};
    QProcess program;
};

TEST_F(SystemEnd, TermEndsTheRunInTheOrderOfTheWindowsClose)
{
    ASSERT_NO_FATAL_FAILURE(startRunning());
    signal(SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(backups().size(), 1) << "the exit backup";
    EXPECT_FALSE(QFile::exists(path(QStringLiteral(".Nimbra.lock")))) << "the lock is given back";
    const QStringList lines = logLines();
    const qsizetype asked = lines.indexOf(QStringLiteral("システムから終了を要求されました"));
    ASSERT_GE(asked, 0) << lines.join(u'\n').toStdString();
    const qsizetype left = lines.indexOf(QStringLiteral("etrClose実行開始"), asked);
    EXPECT_GT(left, asked) << "the broker is left";
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("バックアップ完了("))) << lines.last().toStdString();
}

TEST_F(SystemEnd, ASecondRequestEndsItAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(startRunning());
    signal(SIGTERM);
    // The first request has the backup window up: it waits two seconds before it copies.
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return logLines().contains(QStringLiteral("システムから終了を要求されました")); }, 10000));
    signal(SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit) << "ended by the signal itself";
    EXPECT_TRUE(backups().isEmpty());
}

} // namespace
