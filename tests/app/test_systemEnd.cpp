// The program itself, started as a process and asked by the system to end (SIGTERM as a
// logout, a shutdown or `kill` sends it, SIGINT from Ctrl-C, SIGHUP from a closed
// terminal) at each moment of its life: it ends as closing its window does, once what runs
// has stopped by its own stop, broker left, database backed up, log closed, locks given
// back, exit code 0, and nothing new is begun after the request. A second request ends it
// at once.
#include "core/modRegistry.h"
#include "platform/settings/SettingsStore.h"
#include "platform/sys/InstanceLock.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeQuoteSite.h"
#include "support/ProgramDirFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

using namespace std::chrono_literals;

class SystemEnd : public ProgramDirFixture {
protected:
    // A user's program directory on the fake quote site, in paper mode with every login
    // and mailbox value stored, so that the program starts running by itself; no prices
    // yet, so the start-up fetches the history first.
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        site.start();
        layOutForSite(site);
        ASSERT_GT(broker.start(), 0);
        ASSERT_GT(mailbox.start(), 0);
        // One [Hosts] section naming the quote site and the broker.
        QFile siteFile(path(QStringLiteral("Nimbra_site.ini")));
        ASSERT_TRUE(siteFile.open(QIODevice::WriteOnly));
        siteFile.write((site.hostsLines() + broker.hostsLines().section(u'\n', 1)).toUtf8());
        siteFile.close();
        storeSettings(runningSettings(Mode::Paper));
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
        ProgramDirFixture::TearDown();
    }

    // Paper mode, or real mode on the fake broker and mailbox; without the trade password
    // the login dialog opens at start-up.
    enum class Mode { Paper, Real, RealWithoutTradePassword };
    settings::Values runningSettings(Mode mode) const
    {
        return {{QStringLiteral("UserID"), QStringLiteral("U")},
                {QStringLiteral("Password"), QStringLiteral("P")},
                {QStringLiteral("Password2"), mode == Mode::RealWithoutTradePassword ? QString() : QStringLiteral("T")},
                {QStringLiteral("POP3Server"), mailbox.address()},
                {QStringLiteral("POPUserID"), QStringLiteral("u")},
                {QStringLiteral("POPPassword"), QStringLiteral("p")},
                {QStringLiteral("SelZituKounyu"), mode == Mode::Paper ? QStringLiteral("1") : QStringLiteral("0")}};
    }

    void start()
    {
        program.setProgram(QStringLiteral(NIMBRA_PROGRAM));
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start();
        ASSERT_TRUE(program.waitForStarted());
    }
    bool logged(const QString &line, int timeoutMs) const
    {
        return QTest::qWaitFor([&] { return logLines().contains(line); }, timeoutMs);
    }
    // Starts the program and waits until it runs by itself.
    void startRunning()
    {
        ASSERT_NO_FATAL_FAILURE(start());
        EXPECT_TRUE(logged(QStringLiteral("運転開始"), 90000)) << logLines().join(u'\n').toStdString();
    }
    // The processor time the program has used, in clock ticks.
    qint64 cpuTicks() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(program.processId()));
        if (!stat.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
    }
    // Waits until the program has used no processor time for half a second: it waits in a
    // window for a person.
    void waitUntilIdle() const
    {
        QElapsedTimer quiet;
        quiet.start();
        qint64 last = cpuTicks();
        const bool idle = QTest::qWaitFor(
            [&] {
                if (const qint64 now = cpuTicks(); now != last) {
                    last = now;
                    quiet.restart();
                }
                return quiet.elapsed() >= 500;
            },
            60000);
        ASSERT_TRUE(idle);
    }
    void signal(int number) const { ASSERT_EQ(::kill(pid_t(program.processId()), number), 0); }

    static QString settingsLock()
    {
        return settings::fileForKey(HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey()) + QStringLiteral(".lock");
    }
    // The log's lines from the request on.
    QStringList linesSinceRequest() const
    {
        const QStringList lines = logLines();
        const qsizetype asked = lines.indexOf(QStringLiteral("システムから終了を要求されました"));
        return asked < 0 ? QStringList() : lines.mid(asked);
    }

    FakeQuoteSite site{{.seed = 5, .stocks = 3, .days = 10, .lastDay = {}}};
    FakeBrokerSite broker;
    QTemporaryDir maildrop;
    FakePop3Server mailbox{maildrop.path(), QStringLiteral("u"), QStringLiteral("p")};
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
    const QStringList lines = linesSinceRequest();
    ASSERT_FALSE(lines.isEmpty()) << logLines().join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("etrClose実行開始"))) << "the broker is left";
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("バックアップ完了("))) << lines.last().toStdString();
}

TEST_F(SystemEnd, ASecondRequestEndsItAtOnce)
{
    // The first request waits for the page in hand of a slow site.
    site.setTimeoutDelay(3000ms);
    site.setFailure(FakeQuoteSite::Failure::Timeout);
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(QTest::qWaitFor([this] { return site.requestCount() > 0; }, 60000));
    signal(SIGTERM);
    ASSERT_TRUE(logged(QStringLiteral("システムから終了を要求されました"), 10000));
    signal(SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit) << "ended by the signal itself";
    EXPECT_TRUE(backups().isEmpty());
}

// The moments of the program's life at which the request comes, and each signal.
enum class Moment { SecondStart, Splash, LoginDialog, StartUpDownload, Idle };

struct EndCase {
    Moment moment;
    int signal;
};

std::string nameOf(const EndCase &c)
{
    static const char *const moments[] = {"SecondStart", "Splash", "LoginDialog", "StartUpDownload", "Idle"};
    const char *signal = c.signal == SIGTERM ? "Term" : c.signal == SIGINT ? "Int" : "Hup";
    return std::string(moments[int(c.moment)]) + signal;
}

std::string caseName(const testing::TestParamInfo<EndCase> &info)
{
    return nameOf(info.param);
}

void PrintTo(const EndCase &c, std::ostream *out)
{
    *out << nameOf(c);
}

class EndAtEachMoment : public SystemEnd, public testing::WithParamInterface<EndCase> {
protected:
    // Brings the program to the case's moment; false when the moment keeps the databases
    // closed (nothing to back up).
    bool reachMoment()
    {
        switch (GetParam().moment) {
        case Moment::SecondStart:
            // Another copy holds this folder.
            otherCopy = std::make_unique<sys::InstanceLock>(sys::programInstanceLockPath());
            EXPECT_EQ(otherCopy->acquire(), sys::InstanceLock::Result::Acquired);
            start();
            waitUntilIdle(); // "既に起動されています。" waits for its OK
            return false;
        case Moment::Splash:
            storeSettings(runningSettings(Mode::Real));
            start();
            EXPECT_TRUE(logged(QStringLiteral("スプラッシュ起動"), 60000));
            QTest::qWait(500);
            return true;
        case Moment::LoginDialog:
            storeSettings(runningSettings(Mode::RealWithoutTradePassword));
            start();
            EXPECT_TRUE(logged(QStringLiteral("ID入力チェック"), 60000));
            waitUntilIdle(); // "ログイン情報設定" waits for its input
            return true;
        case Moment::StartUpDownload:
            // Every page of the site comes half a second late.
            site.setTimeoutDelay(500ms);
            site.setFailure(FakeQuoteSite::Failure::Timeout);
            storeSettings(runningSettings(Mode::Real));
            start();
            EXPECT_TRUE(QTest::qWaitFor([this] { return site.requestCount() >= 3; }, 60000));
            return true;
        case Moment::Idle:
            startRunning();
            return true;
        }
        return false;
    }

    std::unique_ptr<sys::InstanceLock> otherCopy;
};

TEST_P(EndAtEachMoment, EndsInOrderAndBeginsNothingNew)
{
    const bool databasesOpen = reachMoment();
    ASSERT_FALSE(HasFailure());
    const bool wasRunning = logLines().contains(QStringLiteral("運転開始"));
    const int requestsBefore = site.requestCount();
    const qsizetype mailCommandsBefore = mailbox.commands().size();
    const qsizetype brokerRequestsBefore = broker.requests().size();
    QElapsedTimer ending;
    ending.start();
    signal(GetParam().signal);
    // The stop waits at most for the page in hand; the rest is the close and its backup.
    ASSERT_TRUE(program.waitForFinished(30000));
    const qint64 tookMs = ending.elapsed();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_LT(tookMs, 15000);

    EXPECT_FALSE(QFile::exists(settingsLock())) << "the settings' lock is given back";
    if (!otherCopy) {
        EXPECT_FALSE(QFile::exists(sys::programInstanceLockPath())) << "the folder's lock is given back";
    }
    ASSERT_EQ(backups().size(), databasesOpen ? 1 : 0);
    if (databasesOpen) {
        EXPECT_TRUE(isWholeDatabase(path(backups().first())));
    }
    EXPECT_LE(site.requestCount() - requestsBefore, 1) << "only the page in hand is fetched";
    EXPECT_EQ(mailbox.commands().size(), mailCommandsBefore) << "no mail read";
    EXPECT_EQ(broker.requests().size(), brokerRequestsBefore) << "no broker contact";

    const QStringList lines = logLines();
    if (databasesOpen) {
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().startsWith(QStringLiteral("バックアップ完了("))) << lines.join(u'\n').toStdString();
    } else {
        EXPECT_TRUE(lines.isEmpty()) << "the second start opens no log";
    }
    EXPECT_EQ(lines.contains(QStringLiteral("運転開始")), wasRunning) << "no automatic start after the request";
    const QStringList since = linesSinceRequest();
    for (const QString &begun : {QStringLiteral("日次処理"), QStringLiteral("●計算処理開始"),
                                 QStringLiteral("●分割銘柄情報取得開始"), QStringLiteral("自動起動開始処理")})
        EXPECT_FALSE(since.contains(begun)) << begun.toStdString();
}

std::vector<EndCase> everyMomentAndSignal()
{
    std::vector<EndCase> cases;
    for (const Moment moment :
         {Moment::SecondStart, Moment::Splash, Moment::LoginDialog, Moment::StartUpDownload, Moment::Idle})
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            cases.push_back({moment, signal});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, EndAtEachMoment, testing::ValuesIn(everyMomentAndSignal()), caseName);

} // namespace
