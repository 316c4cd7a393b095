// The start-up update killed with SIGKILL at moments of each of its steps and started
// again until it completes: both databases must end exactly as after one run that was
// never interrupted (every column but the time stamps), and the log says that the
// interrupted update was completed.
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modCalc.h"
#include "platform/db/Connection.h"
#include "support/FakeMaster.h"
#include "support/FakeQuoteSite.h"
#include "support/LogTexts.h"
#include "support/ProgramDirFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <functional>

namespace {

const QDate kSiteLastDay(2007, 6, 27); // a Wednesday
const QDate kStoredUpTo(2007, 6, 22);  // the three days after it are missing at the start
const QDateTime kStart(kSiteLastDay.addDays(1), QTime(8, 0));

bool saysItCompletesAnInterruptedUpdate(const QString &logFile)
{
    const QStringList log = logTexts(logFile);
    return std::any_of(log.begin(), log.end(), [](const QString &line) {
        return line.startsWith(QStringLiteral("前回中断された最新データの更新("));
    });
}

// Every row of every table of one database file as text, columns in table order and
// reals at full precision; the time-stamp columns are left out.
QStringList databaseRows(const QString &file)
{
    db::Connection connection;
    connection.open(file);
    QStringList rows;
    for (const QString &table : connection.tableNames()) {
        QStringList columns;
        for (const QString &column : connection.columnNames(table))
            if (column != QStringLiteral("登録日付") && column != QStringLiteral("更新日付"))
                columns.append(QStringLiteral("case typeof(\"%1\") when 'real' then printf('%.17g', \"%1\")"
                                              " else quote(\"%1\") end")
                                   .arg(column));
        db::Statement query =
            connection.prepare(QStringLiteral("select ") + columns.join(QStringLiteral(" || '|' || ")) +
                               QStringLiteral(" from \"") + table + QStringLiteral("\" order by 1"));
        QStringList tableRows;
        while (query.step())
            tableRows.append(table + u':' + query.text(0));
        tableRows.sort();
        rows += tableRows;
    }
    return rows;
}

void copyDirectory(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir())
            copyDirectory(entry.filePath(), target);
        else
            ASSERT_TRUE(QFile::copy(entry.filePath(), target)) << target.toStdString();
    }
}

class InterruptedUpdateTest : public ProgramDirFixture {
protected:
    // Moment of a kill, asked while the update runs: the site's requests since the run
    // started and the log's lines so far.
    using KillWhen = std::function<bool(int requests, const QStringList &log)>;

    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        glngLogFileNo = openLog();
        site.start();
        site.writeSiteFile(dir());
        storeFakeMaster(site.market());
        storePricesUpTo(kStoredUpTo);
        changeRegistryLayout(); // the indicator periods a start puts in place
        calcKabuka(0, site.market().firstDay(), kStoredUpTo, QString(), QString(), nullptr);
        gcnDB.close();
        closeLog(glngLogFileNo);
        glngLogFileNo = 0;
    }

    void TearDown() override
    {
        site.stop();
        ProgramDirFixture::TearDown();
    }

    // The prices an earlier run stored: every stock's days up to `last`, the split day marked.
    void storePricesUpTo(const QDate &last)
    {
        const FakeMarket &market = site.market();
        db::Transaction change(gcnDB);
        db::Statement insert = gcnDB.prepare(QStringLiteral(
            "insert into ttstocks (銘柄コード, 日付, 終値, 始値, 安値, 高値, 出来高, 調整終値, 分割区分, 登録日付,"
            " 更新日付, 市場コード) values (?, ?, ?, ?, ?, ?, ?, ?, ?, '2007-06-21 08:00:00', '2007-06-21 08:00:00', "
            "?)"));
        for (const FakeStock &stock : market.stocks()) {
            for (const FakeDay &day : market.history(stock.code, stock.market)) {
                if (day.date > last)
                    continue;
                const bool split = stock.code == market.splitStock().code &&
                                   stock.market == market.splitStock().market && day.date == market.splitDay();
                insert.reset();
                insert.bindAll(stock.code, day.date, day.close, day.open, day.low, day.high, day.volume,
                               double(day.adjustedClose), split ? 2 : 0, stock.market);
                insert.run();
            }
        }
        change.commit();
    }

    // A copy of the program directory as it stood before the update.
    QString freshCopy(const QString &name)
    {
        const QString copy = dir() + QStringLiteral("/runs/") + name;
        copyDirectory(dir() + QStringLiteral("/start"), copy);
        return copy;
    }

    void keepStartingPoint()
    {
        const QString start = dir() + QStringLiteral("/start");
        QDir().mkpath(start);
        for (const QString &file : QDir(dir()).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(dir() + u'/' + file, start + u'/' + file));
        if (QDir(dir() + QStringLiteral("/config")).exists())
            copyDirectory(dir() + QStringLiteral("/config"), start + QStringLiteral("/config"));
    }

    // Runs the start-up update in `programDir` as a process of its own; kills it with
    // SIGKILL as soon as `killWhen` holds. True when the update ran to its end.
    bool runUpdate(const QString &programDir, const KillWhen &killWhen = {})
    {
        QProcess update;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("NIMBRA_HOME"), programDir);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), programDir + QStringLiteral("/config"));
        update.setProcessEnvironment(env);
        update.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const int requestsBefore = site.requestCount();
        update.start(QCoreApplication::applicationDirPath() + QStringLiteral("/support/startup_update"),
                     {QStringLiteral("--dir"), programDir, QStringLiteral("--now"), kStart.toString(Qt::ISODate)});
        EXPECT_TRUE(update.waitForStarted());
        QElapsedTimer running;
        running.start();
        while (!update.waitForFinished(2)) {
            if (killWhen &&
                killWhen(site.requestCount() - requestsBefore, logTexts(programDir + QStringLiteral("/Nimbra.log")))) {
                update.kill(); // SIGKILL: no cleanup of any kind
                update.waitForFinished();
                return false;
            }
            if (running.elapsed() > 60000) {
                update.kill();
                update.waitForFinished();
                ADD_FAILURE() << "the update did not end within a minute";
                return false;
            }
        }
        EXPECT_EQ(update.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(update.exitCode(), 0);
        return update.exitStatus() == QProcess::NormalExit && update.exitCode() == 0;
    }

    static KillWhen afterRequests(int requests)
    {
        return [requests](int made, const QStringList &) { return made >= requests; };
    }

    // As soon as the log holds `line`, and the site has answered `requests` more since.
    static KillWhen afterLine(const QString &line, int requests = 0)
    {
        auto requestsAtLine = std::make_shared<std::optional<int>>();
        return [=](int made, const QStringList &log) {
            if (!*requestsAtLine && log.contains(line))
                *requestsAtLine = made;
            return *requestsAtLine && made >= **requestsAtLine + requests;
        };
    }

    FakeQuoteSite site{{.seed = 3, .stocks = 6, .days = 8, .lastDay = kSiteLastDay}}; // split day 2007-06-22
};

TEST_F(InterruptedUpdateTest, AKilledUpdateIsCompletedToTheDatabasesOfAnUninterruptedRun)
{
    ASSERT_LE(site.market().splitDay(), kStoredUpTo) << "the split pass has a flagged row to handle";
    keepStartingPoint();
    const QString reference = freshCopy(QStringLiteral("reference"));
    ASSERT_TRUE(runUpdate(reference));
    const QStringList referencePrices = databaseRows(reference + QStringLiteral("/Nimbra_mst.mdb"));
    const QStringList referenceWork = databaseRows(reference + QStringLiteral("/Nimbra.mdb"));
    ASSERT_NE(referencePrices, databaseRows(dir() + QStringLiteral("/Nimbra_mst.mdb"))) << "the update stored days";
    EXPECT_FALSE(saysItCompletesAnInterruptedUpdate(reference + QStringLiteral("/Nimbra.log")));

    const int importRequests = int(site.market().stocks().size()) * 3; // three missing days
    const struct {
        const char *moment;
        std::vector<KillWhen> kills; // one per run; the run after the last completes
    } cases[] = {
        {"first pages of the import", {afterRequests(2)}},
        {"middle of the import", {afterRequests(importRequests / 2 + 1)}},
        {"calculation", {afterLine(QStringLiteral("●計算処理開始"))}},
        {"split pass", {afterLine(QStringLiteral("●分割銘柄情報取得開始"), 4)}},
        {"split pass, at its last pages", {afterLine(QStringLiteral("●分割銘柄情報取得開始"), 7)}},
        {"caution refresh", {afterLine(QStringLiteral("●注意銘柄情報取得開始"))}},
        {"killed again while completing", {afterRequests(importRequests / 3), afterRequests(3)}},
    };
    int run = 0;
    for (const auto &c : cases) {
        const QString programDir = freshCopy(QStringLiteral("kill%1").arg(++run));
        bool interrupted = false;
        for (const KillWhen &kill : c.kills)
            interrupted = !runUpdate(programDir, kill) || interrupted;
        EXPECT_TRUE(interrupted) << c.moment << ": the kill came after the update had ended";
        ASSERT_TRUE(runUpdate(programDir)) << c.moment;

        EXPECT_EQ(databaseRows(programDir + QStringLiteral("/Nimbra_mst.mdb")), referencePrices) << c.moment;
        EXPECT_EQ(databaseRows(programDir + QStringLiteral("/Nimbra.mdb")), referenceWork) << c.moment;
        EXPECT_TRUE(saysItCompletesAnInterruptedUpdate(programDir + QStringLiteral("/Nimbra.log"))) << c.moment;
    }
}

} // namespace
