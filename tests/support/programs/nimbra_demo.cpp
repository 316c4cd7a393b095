// Shows the whole program at work without any outside host (`make run`):
//
//   nimbra_demo --dir build/demo --nimbra build/bin/Nimbra [--real]
//
// Starts the fake broker, mailbox and mail server on 127.0.0.1, lays out a program directory
// in --dir (both databases with a small market whose stock 1001 passes the screening, the
// site file pointing at the fakes, settings with a stored broker user and mailbox in paper
// mode, or in real mode against the fake broker with --real) and runs Nimbra there until
// it is closed. Settings live in <dir>/config, apart from the user's own.
#include "core/SettingsRecords.h"
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modRegistrySet.h"
#include "initdb/DatabaseFiles.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "support/CandidateMarket.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeProgramArgs.h"
#include "support/FakeSmtpServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace {

// The two weekdays before `today`: the data day before the processing day, and that day.
std::pair<QDate, QDate> lastTwoWeekdays(QDate today)
{
    QDate days[2];
    for (int found = 0; found < 2;) {
        today = today.addDays(-1);
        if (today.dayOfWeek() <= 5)
            days[found++] = today;
    }
    return {days[1], days[0]};
}

// The installation's pictures lie beside the program; the demo directory, the program
// directory of this run, gets the ones it lacks.
void copyPictures(const QString &programPath, const QString &dir)
{
    const QDir source(QFileInfo(programPath).absolutePath() + QStringLiteral("/Images"));
    const QString target = dir + QStringLiteral("/Images/");
    QDir().mkpath(target);
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), target + name);
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto args = FakeProgramArgs::parse(argc, argv, {QStringLiteral("--dir"), QStringLiteral("--nimbra")},
                                             {QStringLiteral("--real")});
    if (!args || !args->values.contains(QStringLiteral("--dir")) ||
        !args->values.contains(QStringLiteral("--nimbra"))) {
        std::fprintf(stderr, "usage: nimbra_demo --dir DIR --nimbra PATH_TO_NIMBRA [--real]\n");
        return 2;
    }
    const QString dir = QDir(args->values.value(QStringLiteral("--dir"))).absolutePath();
    const QString maildrop = dir + QStringLiteral("/maildrop");
    QDir().mkpath(maildrop);
    QDir().mkpath(dir + QStringLiteral("/outbox"));
    copyPictures(args->values.value(QStringLiteral("--nimbra")), dir);
    qputenv("NIMBRA_HOME", dir.toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir + QStringLiteral("/config")).toUtf8());
    sys::setExeName(QStringLiteral("Nimbra"));

    const sys::Status created = createMissingDatabases(dir, QStringLiteral("Nimbra"));
    if (!created.ok()) {
        std::fprintf(stderr, "%s\n", created.problem().toUtf8().constData());
        return 1;
    }
    openWorkDatabase(gcnDB, workDatabasePath(), priceDatabasePath());
    {
        db::Statement known = gcnDB.prepare(QStringLiteral("select count(*) from tmbond where 銘柄コード = '1001'"));
        const bool fresh = known.step() && known.int64(0) == 0;
        known.reset();
        if (fresh) {
            const auto [previous, processing] = lastTwoWeekdays(sys::now().date());
            addCandidateMarket(gcnDB, previous, processing);
            // Whole candles, so that the price chart of a pressed stock has something to show.
            gcnDB.execute(QStringLiteral("update ttstocks set 始値 = 調整終値 - 5, 高値 = 調整終値 + 10,"
                                         " 安値 = 調整終値 - 15 where 始値 is null"));
        }
    }
    gcnDB.close();

    FakeBrokerSite broker;
    broker.setMailDirectory(maildrop);
    broker.start();
    FakePop3Server pop3(maildrop, QStringLiteral("mailuser"), QStringLiteral("mailpass"));
    pop3.start();
    FakeSmtpServer smtp(dir + QStringLiteral("/outbox"));
    smtp.start();
    writeFile(dir + QStringLiteral("/Nimbra_site.ini"),
              broker.hostsLines() + QStringLiteral("\nSmtp=") + smtp.url() +
                  QStringLiteral("\n[Mail]\nSenderAddress=nimbra@example.com\nSupportAddress=support@example.com\n"));

    UserID = QStringLiteral("U");
    Password = QStringLiteral("P");
    Password2 = QStringLiteral("T");
    POP3Server = pop3.address();
    POPUserID = QStringLiteral("mailuser");
    POPPassword = QStringLiteral("mailpass");
    sysBS.SelZituKounyu = args->switches.contains(QStringLiteral("--real")) ? 0 : 1;
    sysBS.TousiGanpon = 1000000;
    sysBS.KounyuTensu = 1;
    sysSizyou.SLSizyouT1 = 1;
    sysOD.ODRiekiAutoType = 1;
    if (!setRegistryAll()) {
        std::fprintf(stderr, "the demo settings could not be written\n");
        return 1;
    }

    std::printf("demo program directory: %s\nfake broker: %s\nmailbox: %s\nmail server: %s\n", dir.toUtf8().constData(),
                broker.baseUrl().toUtf8().constData(), pop3.address().toUtf8().constData(),
                smtp.url().toUtf8().constData());
    std::fflush(stdout);
    QProcess nimbra;
    nimbra.setProcessChannelMode(QProcess::ForwardedChannels);
    nimbra.start(args->values.value(QStringLiteral("--nimbra")), {});
    if (!nimbra.waitForStarted()) {
        std::fprintf(stderr, "Nimbra could not be started\n");
        return 1;
    }
    nimbra.waitForFinished(-1);
    return nimbra.exitCode();
}
