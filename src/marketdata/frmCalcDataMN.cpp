#include "marketdata/frmCalcDataMN.h"

#include "core/modGlobal.h"
#include "core/modLookup.h"
#include "core/modUtil.h"
#include "marketdata/modCalc.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/WindowBuilder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The icon of the main window, which lives in a layer above this window.
QIcon mainWindowIcon()
{
    const QWidget *mainWindow = ui::topLevelWindow(QStringLiteral("frmMain"));
    return mainWindow ? mainWindow->windowIcon() : QIcon();
}

} // namespace

frmCalcDataMN::frmCalcDataMN(QWidget *parent)
    : DataJobWindow(parent, QStringLiteral("frmCalcDataMN"), QStringLiteral("株価情報再計算"),
                    {.clientWidth = 6150,
                     .clientHeight = 2460,
                     .frame = QRect(120, 60, 5910, 1500),
                     .marketBox = QRect(2340, 720, 1200, 330),
                     .message = QRect(120, 1680, 5910, 270),
                     .startCaption = QStringLiteral("再計算"),
                     .startButton = QRect(4560, 1020, 1200, 375),
                     .startInFrame = true,
                     .closeButton = QRect(4680, 1980, 1200, 375)}),
      dateRange(fraZyouken, {.caption = QPoint(120, 240),
                             .first = QRect(1320, 180, 1800, 330),
                             .dash = QPoint(3180, 240),
                             .last = QRect(3360, 180, 1800, 330)}),
      txtBrandCode(addCodeBox(120)),
      lblMaxDate(ui::addLabel(client, QString(), 120, 2040, QStringLiteral("lblMaxDate")))
{
    stopLogLine = QStringLiteral("株価情報の再計算の中止が指示されました");
    Form_Load();
    // The frame made the market box and the buttons first: the focus starts in the code box
    // and Tab goes on to the market box, the buttons, then the date pickers.
    setTabOrder(txtBrandCode, cmbSizyouCode);
    setTabOrder(cmbSizyouCode, cmdSelect);
    setTabOrder(cmdSelect, cmdClose);
}

void frmCalcDataMN::Form_Load()
{
    setWindowIcon(mainWindowIcon());
    initLogFile();
    lblMaxDate->setText(maxDateCaption());
    lblMaxDate->adjustSize();
    dateRange.createPickers(gdtLastKabukaDate);
    setSizyouCombo(cmbSizyouCode);
}

void frmCalcDataMN::cmdSelect_Click()
{
    if (ui::msgBox(QStringLiteral("指定範囲の株価情報の再計算を行います。よろしいですか?"),
                   ui::vbYesNo + ui::vbInformation) != ui::vbYes)
        return;
    runStoppableJob([this] {
        calcKabuka(1, dateRange.first(), dateRange.last(), txtBrandCode->text(), chosenMarketCode(), lblMsg,
                   [this] { return stopRequested(); });
        return !stopRequested();
    });
}
