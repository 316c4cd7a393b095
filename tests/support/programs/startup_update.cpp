// The program's start-up update as a program of its own, for tests that kill it midway:
//
//   build/tests/support/startup_update --dir DIR --now 2007-06-28T08:00:00
//
// It opens the databases, the log and the settings of the program directory DIR as a start
// of Nimbra does, sets the clock to --now, and runs the daily update that the main window
// runs when it opens (download, calculation, split pass, caution flags, day change).
// Message boxes are answered with their default button. Exit code 0 when the update ran
// to its end.
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistryGet.h"
#include "marketdata/modKabukaKikan.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "platform/ui/AppLook.h"
#include "support/MessageBoxRecorder.h"
#include "trading/modLatestData.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption dirOption(QStringLiteral("dir"), QStringLiteral("program directory"),
                                       QStringLiteral("DIR"));
    const QCommandLineOption nowOption(QStringLiteral("now"), QStringLiteral("the clock's moment"),
                                       QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    parser.addOptions({dirOption, nowOption});
    parser.process(app);
    const QDateTime now = QDateTime::fromString(parser.value(nowOption), Qt::ISODate);
    if (!parser.isSet(dirOption) || !now.isValid()) {
        std::fprintf(stderr, "usage: %s --dir DIR --now yyyy-MM-ddTHH:mm:ss\n", argv[0]);
        return 2;
    }
    qputenv("NIMBRA_HOME", parser.value(dirOption).toUtf8());
    sys::setExeName(QStringLiteral("Nimbra"));
    sys::setNow(now);
    ui::setupApplicationLook();
    MessageBoxRecorder::installDefault();

    try {
        setLogPaths();
        glngLogFileNo = openLog();
        gobjBASP = std::make_unique<mail::Basp>();
        getRegistryAll();
        openWorkDatabase(gcnDB, workDatabasePath(), priceDatabasePath());
        getKabukaKikan(kReferenceCode, kReferenceMarket, now.date(), gdtFirstKabukaDate, gdtLastKabukaDate);
        changeRegistryLayout();
        getLatestData();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return gdtLastDailyDate == now.date() ? 0 : 3;
}
