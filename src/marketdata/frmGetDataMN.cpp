#include "marketdata/frmGetDataMN.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "core/modSystem.h"
#include "core/modUtil.h"
#include "marketdata/StockCode.h"
#include "marketdata/modCalc.h"
#include "marketdata/modCosmo.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modKabukaKikan.h"
#include "sys/Clock.h"
#include "text/Format.h"
#include "text/VbText.h"
#include "ui/DoEvents.h"
#include "ui/MsgBox.h"
#include "ui/WindowBuilder.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QString maxDateCaption()
{
    return QStringLiteral("最終データ：") + text::formatYmdSlash(gdtLastKabukaDate);
}

// The main window sits above the market data, so its label is found by name.
void showMaxDateOnMainWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() != u"frmMain")
            continue;
        if (auto *label = window->findChild<QLabel *>(QStringLiteral("lblMaxDate")))
            label->setText(maxDateCaption());
    }
}

} // namespace

frmGetDataMN::frmGetDataMN(QWidget *parent)
    : DataJobWindow(parent, QStringLiteral("frmGetDataMN"), QStringLiteral("株価取得"),
                    {.clientWidth = 6000, .clientHeight = 2880, .frame = QRect(120, 420, 5760, 1260),
                     .marketBox = QRect(2340, 720, 1500, 330), .messageTop = 1800})
{
    lblMaxDate = ui::addLabel(client, QString(), 120, 120, QStringLiteral("lblMaxDate"));
    ui::addLabel(fraZyouken, QStringLiteral("対象日付"), 240, 330, QStringLiteral("Label10"));
    picDateST = new QWidget(fraZyouken);
    picDateST->setObjectName(QStringLiteral("picDateST"));
    picDateST->setGeometry(ui::twipsRect(1320, 270, 2040, 330));
    ui::addLabel(fraZyouken, QStringLiteral("-"), 3450, 330, QStringLiteral("Label11"));
    picDateED = new QWidget(fraZyouken);
    picDateED->setObjectName(QStringLiteral("picDateED"));
    picDateED->setGeometry(ui::twipsRect(3600, 270, 2040, 330));
    ui::addLabel(fraZyouken, QStringLiteral("銘柄コード"), 240, 780, QStringLiteral("Label6"));
    txtBrandCode = ui::addTextBox(fraZyouken, QStringLiteral("txtBrandCode"), 4, ui::twipsRect(1320, 720, 900, 330));
    selectAllTextOnFocus(txtBrandCode);
    Form_Load();
}

void frmGetDataMN::Form_Load()
{
    initLogFile();
    lblMaxDate->setText(maxDateCaption());
    lblMaxDate->adjustSize();
    createDatePicker(dtpDateST, picDateST);
    createDatePicker(dtpDateED, picDateED);
    const QDateTime lastDay(gdtLastKabukaDate, QTime(0, 0));
    dtpDateST.setValue(lastDay);
    dtpDateED.setValue(lastDay);
    setSizyouCombo(cmbSizyouCode);
}

std::optional<QString> frmGetDataMN::typedCode()
{
    const QString code = text::trimSpaces(txtBrandCode->text());
    if (!code.isEmpty() && !isStockCode(code)) {
        ui::msgBox(QStringLiteral("銘柄コードは4桁の数字で入力してください。"), ui::vbExclamation);
        return std::nullopt;
    }
    return code;
}

void frmGetDataMN::cmdSelect_Click()
{
    const std::optional<QString> code = typedCode();
    if (!code)
        return;
    if (ui::msgBox(QStringLiteral("指定範囲の株価情報を再取得します。よろしいですか?"),
                   ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2)
        != ui::vbYes)
        return;
    runJob([this, &code] { redownload(*code); });
}

void frmGetDataMN::redownload(const QString &code)
{
    const QString market = chosenMarketCode();
    const QDate first = dtpDateST.Value().date();
    const QDate last = dtpDateED.Value().date();
    const KabukaImport imported = getKabuka(*Inet1, *lblMsg, first, last, code, market);
    getKabukaKikan(kReferenceCode, kReferenceMarket, sys::now().date(), gdtFirstKabukaDate, gdtLastKabukaDate);
    getBunkatuKabuka(*Inet1, *lblMsg, gdtFirstKabukaDate, gdtLastKabukaDate, code, market);
    setKanriPost(*Inet1, *lblMsg, gdtLastKabukaDate);
    showMaxDateOnMainWindow();

    bool calculated = false;
    if (ui::msgBox(QStringLiteral("再計算を行います。よろしいですか?"), ui::vbYesNo + ui::vbInformation) == ui::vbYes) {
        if (const std::optional<QString> calcCode = typedCode()) {
            calcKabuka(1, dtpDateST.Value().date(), dtpDateED.Value().date(), *calcCode, chosenMarketCode(), lblMsg);
            calculated = true;
        }
    }
    if (!calculated && imported.newRows > 0) {
        // Rows that existed keep their indicators; the new ones have none until recalculated.
        const QString notice = QStringLiteral("%1～%2に新しく登録した株価%3件は指標が計算されていません。"
                                              "「株価情報再計算」で計算してください。")
                                   .arg(text::formatYmdSlash(first), text::formatYmdSlash(last))
                                   .arg(imported.newRows);
        writeLog(glngLogFileNo, notice);
        ui::msgBox(notice, ui::vbInformation);
    }
}
