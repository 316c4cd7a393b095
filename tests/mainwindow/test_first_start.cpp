// A new user's first start in a fresh program directory (the databases with the stock
// master, the site file, no settings at all): the terms are agreed, the login and the
// mailbox are left empty, the start-up fetches the history, and the back-test then trades
// over the dates it offers without any setting changed by hand.
#include "app/modMain.h"
#include "core/modGlobal.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/Printer.h"
#include "screening/frmSimu.h"
#include "support/FakeQuoteSite.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FirstStart : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        site.start();
        layOutForSite(site);
        ui::setModalHook([this](QDialog &dialog) {
            dialogsShown.append(dialog.objectName());
            return int(dialog.objectName() == QStringLiteral("frmDouisyo") ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    void TearDown() override
    {
        ui::setModalHook([](QDialog &) { return int(QDialog::Rejected); });
        ProgramDirFixture::TearDown();
    }

    FakeQuoteSite site{{.seed = 27, .stocks = 36, .days = 160, .lastDay = {}, .exchangeCalendar = true}};
    QStringList dialogsShown;
};

TEST_F(FirstStart, TheBackTestTradesOverItsOfferedDates)
{
    const RunningProgram program = Main();
    ASSERT_TRUE(program.mainWindow);
    EXPECT_EQ(dialogsShown,
              QStringList({QStringLiteral("frmDouisyo"), QStringLiteral("frmConfID"), QStringLiteral("frmConfPOP")}));
    ASSERT_EQ(gdtLastKabukaDate, site.market().lastDay());
    MessageBoxRecorder::instance().reset();

    ui::PrintDialog printDialog;
    frmSimu simulation(printDialog);
    simulation.show();
    QTest::mouseClick(simulation.findChild<QPushButton *>(QStringLiteral("cmdRun")), Qt::LeftButton);
    EXPECT_TRUE(MessageBoxRecorder::instance().calls().isEmpty())
        << MessageBoxRecorder::instance().texts().join(u'|').toStdString();
    const auto *result = simulation.findChild<QListWidget *>(QStringLiteral("lstResultData"));
    EXPECT_FALSE(result->findItems(QStringLiteral("株買約定しました。"), Qt::MatchEndsWith).isEmpty());
    EXPECT_FALSE(result->findItems(QStringLiteral("総合計"), Qt::MatchExactly).isEmpty());
    // Nothing chose the markets: the message line says which one the run took.
    EXPECT_EQ(simulation.findChild<QLabel *>(QStringLiteral("lblMsg"))->text(),
              QStringLiteral("シミュレーション対象の市場が設定されていないため、東証1部で実行しました。"));
}

} // namespace
