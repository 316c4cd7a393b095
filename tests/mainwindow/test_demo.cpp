// The demo that `make run` shows, started offscreen on its clock: the start-up fetches the
// market, the screening finds the day's candidates, the back-test over its offered dates
// trades, and both result lists show the past trades.
#include "WindowPresses.h"
#include "app/modMain.h"
#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Printer.h"
#include "screening/frmSimu.h"
#include "support/DemoMarket.h"
#include "support/LogTexts.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Demo : public ProgramDirFixture {};

int gridRows(frmMain &window, const char *name)
{
    const auto *grid = window.findChild<ui::FlexGrid *>(QString::fromLatin1(name));
    return grid ? grid->Rows() - 1 : -1;
}

TEST_F(Demo, StartsUpTradesInTheBackTestAndShowsItsHistory)
{
    const QString dir = path(QStringLiteral("demo"));
    const QDateTime start = demoClockStart(QDateTime::currentDateTime());
    emptyDemoDirectory(dir);
    DemoSites sites(dir, start.date());
    sites.start();
    layOutDemo(dir, sites, QStringLiteral(NIMBRA_TESTS_DIR "/../data/Images"), false);
    sys::SimulatedClock clock(start);

    const RunningProgram program = Main();
    ASSERT_TRUE(program.mainWindow);
    clock.runUntil(start.addSecs(60));
    frmMain &window = *program.mainWindow;
    const QStringList lines = logTexts(dir + QStringLiteral("/Nimbra.log"));
    EXPECT_TRUE(lines.contains(QStringLiteral("★最新データの取得終了"))) << lines.join(u'\n').toStdString();
    EXPECT_EQ(gdtLastKabukaDate, sites.quotes.market().lastDay());
    EXPECT_GE(gridRows(window, "msfgSelect"), 1) << "the day's candidates";
    // The results views, by date and by stock, come up one after the other.
    press(*window.findChild<QLabel *>(QStringLiteral("imgSyusi")));
    EXPECT_EQ(gridRows(window, "msfgZisseki"), 9) << "the buys and sells of the past trades";
    press(*window.findChild<QLabel *>(QStringLiteral("imgSyusi")));
    EXPECT_GE(gridRows(window, "msfgZisseki2"), 9) << "the past trades by stock, each with its profit";

    ui::PrintDialog printDialog;
    frmSimu simulation(printDialog);
    simulation.show();
    QTest::mouseClick(simulation.findChild<QPushButton *>(QStringLiteral("cmdRun")), Qt::LeftButton);
    const QListWidget *result = simulation.findChild<QListWidget *>(QStringLiteral("lstResultData"));
    ASSERT_TRUE(result);
    const QList<QListWidgetItem *> buys = result->findItems(QStringLiteral("買"), Qt::MatchContains);
    EXPECT_FALSE(buys.isEmpty()) << MessageBoxRecorder::instance().texts().join(u'|').toStdString();
}

} // namespace
