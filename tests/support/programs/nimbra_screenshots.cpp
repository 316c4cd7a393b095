// Takes the README's pictures of the program from the demo (`make screenshots`):
//
//   nimbra_screenshots --images build/bin/Images --out docs
//
// Lays out the demo (support/DemoMarket.h) in a temporary folder, starts the program there
// offscreen on the demo's clock, lets the first minute of the session pass, and saves
// <out>/main-orders.png (the order list with the held position's chart),
// <out>/main-results.png (the results by date with the monthly profit chart) and
// <out>/backtest.png (the back-test window after a run over its offered dates).
#include "app/NimbraApplication.h"
#include "app/modMain.h"
#include "platform/sys/Clock.h"
#include "platform/ui/AppLook.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Printer.h"
#include "screening/frmSimu.h"
#include "support/DemoMarket.h"
#include "support/FakeProgramArgs.h"
#include "support/MessageBoxRecorder.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <exception>

namespace {

bool save(QWidget &widget, const QString &path)
{
    QCoreApplication::processEvents();
    const bool saved = widget.grab().save(path, "PNG");
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// The row of the order list that holds `code`, 0 when none does.
int rowOf(const ui::FlexGrid &grid, const QString &code)
{
    for (int row = 1; row < grid.Rows(); ++row)
        for (int column = 0; column < grid.Cols(); ++column)
            if (grid.TextMatrix(row, column) == code)
                return row;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto args = FakeProgramArgs::parse(argc, argv, {QStringLiteral("--images"), QStringLiteral("--out")}, {});
    if (!args || !args->values.contains(QStringLiteral("--images")) ||
        !args->values.contains(QStringLiteral("--out"))) {
        std::fprintf(stderr, "usage: nimbra_screenshots --images PROGRAM_IMAGES_DIR --out DIR\n");
        return 2;
    }
    const QString out = QDir(args->values.value(QStringLiteral("--out"))).absolutePath();
    NimbraApplication app(argc, argv);
    ui::setupApplicationLook();
    MessageBoxRecorder::installDefault();
    const QTemporaryDir temporary;
    try {
        const QString dir = temporary.path() + QStringLiteral("/demo");
        const QDateTime start = demoClockStart(QDateTime::currentDateTime());
        emptyDemoDirectory(dir);
        DemoSites sites(dir, start.date());
        sites.start();
        const QString held = layOutDemo(dir, sites, args->values.value(QStringLiteral("--images")), false);
        sys::SimulatedClock clock(start);
        const RunningProgram program = Main();
        if (!program.mainWindow)
            return 1;
        clock.runUntil(start.addSecs(90));
        frmMain &window = *program.mainWindow;

        bool saved = true;
        auto &orders = *window.findChild<ui::FlexGrid *>(QStringLiteral("msfgOrder"));
        if (const int row = rowOf(orders, held)) {
            const QRect cell = orders.visualRect(orders.model()->index(row - 1, 0));
            QTest::mousePress(orders.viewport(), Qt::LeftButton, {}, cell.center());
        }
        saved &= save(window, out + QStringLiteral("/main-orders.png"));
        QTest::mousePress(window.findChild<QLabel *>(QStringLiteral("imgSyusi")), Qt::LeftButton, {}, QPoint(2, 2));
        saved &= save(window, out + QStringLiteral("/main-results.png"));

        ui::PrintDialog printDialog;
        frmSimu simulation(printDialog);
        simulation.show();
        QTest::mouseClick(simulation.findChild<QPushButton *>(QStringLiteral("cmdRun")), Qt::LeftButton);
        saved &= save(simulation, out + QStringLiteral("/backtest.png"));
        simulation.close();
        window.close();
        QCoreApplication::processEvents();
        return saved ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
