// The tool menu's way to the back-test and to the printed trade history: both items are in
// "ﾂｰﾙ", follow the run state as the settings menu does, and work on the window's own
// print dialog.
#include "MainWindowFixture.h"

#include "core/modGlobal.h"
#include "platform/db/Connection.h"
#include "platform/ui/Printer.h"
#include "support/MessageBoxRecorder.h"

#include <QAction>
#include <QFile>
#include <QPrinter>

namespace {

class ToolMenu : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        MessageBoxRecorder::instance().reset();
        pdf = path(QStringLiteral("history.pdf"));
        ui::PrintDialog::setHook([this](QPrinter &printer) {
            printersSeen.append(printer.outputFileName());
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
    }
    void TearDown() override
    {
        ui::PrintDialog::setHook({});
        MainWindowFixture::TearDown();
    }

    QAction &action(const char *name) { return control<QAction>(name); }

    QString pdf;
    QStringList printersSeen; // the file each dialog opened with
};

TEST_F(ToolMenu, ItemsStandInTheToolMenuWithTheirCaptions)
{
    const QMenu &tools = control<QMenu>("mnuDummy004");
    QStringList captions;
    for (const QAction *item : tools.actions())
        captions.append(item->objectName() + u'=' + item->text());
    EXPECT_EQ(captions, QStringList({QStringLiteral("mnuPageETRADE=E*TRADE"),
                                     QStringLiteral("mnuSimulation=一括シミュレーション"),
                                     QStringLiteral("mnuPrintTradeHistory=売買実績印刷")}));
}

TEST_F(ToolMenu, SimulationOpensTheBackTestModally)
{
    action("mnuSimulation").trigger();
    EXPECT_EQ(dialogsShown, QStringList{QStringLiteral("frmSimu")});
}

TEST_F(ToolMenu, TradeHistoryPrintsThroughTheWindowsPrintDialog)
{
    gcnDB.execute(QStringLiteral("insert into ttcontracthistory (受付日時, 銘柄コード, 市場コード, 約定金額, 約定株数, "
                                 "売買区分) values ('2026-12-09 09:05:00', '1001', 't1', 1200, 100, '1')"));
    action("mnuPrintTradeHistory").trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    EXPECT_TRUE(MessageBoxRecorder::instance().calls().isEmpty());

    // The dialog is the window's for the session: the next print starts from the last choice.
    action("mnuPrintTradeHistory").trigger();
    ASSERT_EQ(printersSeen.size(), 2);
    EXPECT_EQ(printersSeen.at(1), pdf);
}

} // namespace
