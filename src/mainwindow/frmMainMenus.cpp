// The main window's menu commands.
#include "mainwindow/frmMain.h"

#include "core/SettingsRecords.h"
#include "core/frmConfID.h"
#include "core/frmConfMailInfo.h"
#include "core/frmConfPOP.h"
#include "core/frmOrder.h"
#include "mainwindow/Header.h"
#include "mainwindow/MenuCommands.h"
#include "marketdata/frmCalcDataMN.h"
#include "marketdata/frmGetBrandMst.h"
#include "marketdata/frmGetDataMN.h"
#include "marketdata/modYahooChart.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ModalDialog.h"
#include "screening/frmSimu.h"
#include "screening/modPrint.h"

#include <QAction>
#include <QLabel>

namespace {

// Shows a window modally, on the live settings set where `liveSet` says so.
template <typename Window>
void showWindow(QWidget *parent, bool liveSet)
{
    if (liveSet)
        glngSetteiMode = 1;
    Window window(parent);
    ui::showModal(window);
}

} // namespace

void frmMain::connectMenus()
{
    const auto on = [this](const char *name, auto command) {
        QAction *action = findChild<QAction *>(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, command);
    };
    on("mnuConfOrder", [this] { showWindow<frmOrder>(this, true); });
    on("mnuEMail", [this] { showWindow<frmConfMailInfo>(this, false); });
    on("mnuConfLogin", [this] { showWindow<frmConfID>(this, true); });
    on("mnuConfPOP", [this] { showWindow<frmConfPOP>(this, true); });
    on("mnuPageETRADE", [] { openBrokerPage(); });
    on("mnuSimulation", [this] {
        frmSimu window(*cmdF, this);
        ui::showModal(window);
    });
    // The report tells of its own failure.
    on("mnuPrintTradeHistory", [this] { printTradeHistory(*cmdF); });
    on("mnuGetStocks", [this] { showWindow<frmGetDataMN>(this, false); });
    on("mnuReCalc", [this] { showWindow<frmCalcDataMN>(this, false); });
    on("mnuGetMst01", [this] { showWindow<frmGetBrandMst>(this, false); });
    on("mnuDelTran", [this] {
        resetHistory(*msfgOrder, {lblKounyuKanouGaku, lblMotikabu, lblGoukei, lblRiekiritu, lblNissu});
    });
    on("mnuYakuzyouSet", [this] {
        enterExecutionByHand();
        setHeader();
    });
    on("mnuSendLogFile", [] { sendLogReport(); });
    on("mnuManual2", [] { openSupportPage(); });
    on("mnuManual", [] { openSupportPage(); });

    // The popups' commands act on the row whose press opened them.
    const auto chartPage = [this] { showYahooChart(m_pressed.stock.mstrBrandCode, m_pressed.stock.mstrSizyouCode); };
    for (const char *item : {"mnuInfoYahoo", "mnuInfoYahoo2", "mnuInfoYahoo3", "mnuInfoYahoo4"})
        on(item, chartPage);
    on("mnuDelete", [this] { deleteCandidateRow(*msfgSelect, m_pressed); });
    on("mnuCancel", [this] { cancelReservation(m_pressed, *msfgOrder); });
    for (const char *item : {"mnuDeleteRireki", "mnuDeleteRireki2"})
        on(item, [this] { deleteReservationHistory(m_pressed, *msfgOrder, *msfgZisseki); });
}
