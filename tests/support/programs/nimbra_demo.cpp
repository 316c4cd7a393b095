// Shows the whole program at work without any outside host (`make run`):
//
//   nimbra_demo --dir build/demo --images build/bin/Images [--real]
//
// Starts the fake quote site, broker, mailbox and mail server on 127.0.0.1, lays out the
// program directory --dir afresh on the demo's market (see support/DemoMarket.h: stock
// master without prices, past trades, the site file, settings with a stored broker user
// and mailbox, in paper mode or with --real against the fake broker) and runs the program
// there until its window is closed, or Ctrl-C ends it in the same order. The program runs
// on a clock of the demo's own that starts at 09:00 of the first trading day from today and
// goes at the wall clock's pace, so the session is open whatever the hour. Settings live in
// <dir>/config, apart from the user's own.
#include "app/NimbraApplication.h"
#include "app/OrderlyEnd.h"
#include "app/modMain.h"
#include "platform/sys/TerminationRequests.h"
#include "platform/ui/AppLook.h"
#include "support/DemoMarket.h"
#include "support/FakeProgramArgs.h"
#include "support/PacedClock.h"

#include <QDir>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    const auto args = FakeProgramArgs::parse(argc, argv, {QStringLiteral("--dir"), QStringLiteral("--images")},
                                             {QStringLiteral("--real")});
    if (!args || !args->values.contains(QStringLiteral("--dir")) ||
        !args->values.contains(QStringLiteral("--images"))) {
        std::fprintf(stderr, "usage: nimbra_demo --dir DIR --images PROGRAM_IMAGES_DIR [--real]\n");
        return 2;
    }
    const QString dir = QDir(args->values.value(QStringLiteral("--dir"))).absolutePath();
    NimbraApplication app(argc, argv);
    ui::setupApplicationLook();
    // Ctrl-C ends the demo as closing its window does.
    const sys::TerminationRequests terminationRequests;
    const OrderlyEnd orderlyEnd(terminationRequests);
    try {
        const QDateTime start = demoClockStart(QDateTime::currentDateTime());
        emptyDemoDirectory(dir);
        DemoSites sites(dir, start.date());
        sites.start();
        layOutDemo(dir, sites, args->values.value(QStringLiteral("--images")),
                   args->switches.contains(QStringLiteral("--real")));
        std::printf("demo program directory: %s\nclock starts at %s (Japan)\nquote site: %s\nfake broker: %s\n"
                    "mailbox: %s\nmail server: %s\n",
                    qPrintable(dir), qPrintable(start.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
                    qPrintable(sites.quotes.baseUrl()), qPrintable(sites.broker.baseUrl()),
                    qPrintable(sites.pop3.address()), qPrintable(sites.smtp.url()));
        std::fflush(stdout);
        PacedClock clock(start);
        const RunningProgram program = Main();
        if (!program.mainWindow)
            return program.exitCode;
        clock.start();
        return NimbraApplication::exec();
    } catch (const std::exception &e) {
        reportFatalError(QString::fromStdString(e.what()));
        return 1;
    }
}
