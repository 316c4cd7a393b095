#include "marketdata/frmCalcDataMN.h"

#include "core/BusyWindow.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "core/modSystem.h"
#include "core/modUtil.h"
#include "marketdata/modCalc.h"
#include "text/Format.h"
#include "ui/DoEvents.h"
#include "ui/MsgBox.h"
#include "ui/Twips.h"
#include "ui/WindowBuilder.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {

// The icon of the main window, which lives in a layer above this window.
QIcon mainWindowIcon()
{
    for (const QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("frmMain"))
            return window->windowIcon();
    return {};
}

} // namespace

frmCalcDataMN::frmCalcDataMN(QWidget *parent) : QDialog(parent)
{
    auto *menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu *mnuFiles = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ"));
    mnuFiles->setObjectName(QStringLiteral("mnuFiles"));
    QAction *mnuClose = mnuFiles->addAction(QStringLiteral("閉じる"));
    mnuClose->setObjectName(QStringLiteral("mnuClose"));
    const int top = ui::pixelsToTwips(menuBar->sizeHint().height());
    ui::setupFixedDialog(this, QStringLiteral("frmCalcDataMN"), QStringLiteral("株価情報再計算"), 6150, top + 2460);
    menuBar->setGeometry(0, 0, width(), menuBar->sizeHint().height());

    QGroupBox *fraZyouken = ui::addFrame(this, QStringLiteral("fraZyouken"), QString(), ui::twipsRect(120, top + 60, 5910, 1500));
    ui::addLabel(fraZyouken, QStringLiteral("対象日付"), 120, 240, QStringLiteral("Label10"));
    picDateST = new QWidget(fraZyouken);
    picDateST->setObjectName(QStringLiteral("picDateST"));
    picDateST->setGeometry(ui::twipsRect(1320, 180, 1800, 330));
    ui::addLabel(fraZyouken, QStringLiteral("-"), 3180, 240, QStringLiteral("Label11"));
    picDateED = new QWidget(fraZyouken);
    picDateED->setObjectName(QStringLiteral("picDateED"));
    picDateED->setGeometry(ui::twipsRect(3360, 180, 1800, 330));
    ui::addLabel(fraZyouken, QStringLiteral("銘柄コード"), 120, 780, QStringLiteral("Label6"));
    txtBrandCode = ui::addTextBox(fraZyouken, QStringLiteral("txtBrandCode"), 4, ui::twipsRect(1320, 720, 900, 330));
    cmbSizyouCode = ui::addComboBox(fraZyouken, QStringLiteral("cmbSizyouCode"), ui::twipsRect(2340, 720, 1200, 330));
    cmdSelect = ui::addButton(fraZyouken, QStringLiteral("cmdSelect"), QStringLiteral("再計算"), ui::twipsRect(4560, 1020, 1200, 375));

    lblMsg = ui::addLabel(this, QString(), 120, top + 1680, QStringLiteral("lblMsg"));
    lblMsg->setGeometry(ui::twipsRect(120, top + 1680, 5910, 270));
    lblMaxDate = ui::addLabel(this, QString(), 120, top + 2040, QStringLiteral("lblMaxDate"));
    cmdClose = ui::addButton(this, QStringLiteral("cmdClose"), QStringLiteral("閉じる"), ui::twipsRect(4680, top + 1980, 1200, 375));

    connect(cmdSelect, &QPushButton::clicked, this, &frmCalcDataMN::cmdSelect_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(mnuClose, &QAction::triggered, this, &QDialog::close);
    selectAllTextOnFocus(txtBrandCode);
    Form_Load();
}

void frmCalcDataMN::Form_Load()
{
    setWindowIcon(mainWindowIcon());
    setLogPaths();
    lblMsg->setText(QString());
    lblMaxDate->setText(QStringLiteral("最終データ：") + text::formatYmdSlash(gdtLastKabukaDate));
    lblMaxDate->adjustSize();
    createDatePicker(dtpDateST, picDateST);
    createDatePicker(dtpDateED, picDateED);
    const QDateTime lastDay(gdtLastKabukaDate, QTime(0, 0));
    dtpDateST.setValue(lastDay);
    dtpDateED.setValue(lastDay);
    setSizyouCombo(cmbSizyouCode);
}

void frmCalcDataMN::setBusy(bool busy)
{
    cmdSelect->setVisible(!busy);
    cmdClose->setEnabled(!busy);
}

void frmCalcDataMN::cmdSelect_Click()
{
    if (ui::msgBox(QStringLiteral("指定範囲の株価情報の再計算を行います。よろしいですか?"), ui::vbYesNo + ui::vbInformation)
        != ui::vbYes)
        return;
    setBusy(true);
    lblMsg->setText(QString());
    ui::doEvents();
    const QString market = getSizyouCode(cmbSizyouCode->currentText());
    calcKabuka(1, dtpDateST.Value().date(), dtpDateED.Value().date(), txtBrandCode->text(), market, lblMsg);
    lblMsg->setText(QStringLiteral("処理が完了しました。"));
    ui::doEvents();
    setBusy(false);
}

void frmCalcDataMN::reject()
{
    if (!refuseClosingWhileBusy(!cmdClose->isEnabled()))
        QDialog::reject();
}
