#include "marketdata/frmGetDataMN.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "core/modUtil.h"
#include "marketdata/StockCode.h"
#include "marketdata/modCalc.h"
#include "marketdata/modCosmo.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modKabukaKikan.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/WindowBuilder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// The main window sits above the market data, so its label is found by name.
void showMaxDateOnMainWindow()
{
    if (QWidget *mainWindow = ui::topLevelWindow(QStringLiteral("frmMain")))
        if (auto *label = mainWindow->findChild<QLabel *>(QStringLiteral("lblMaxDate")))
            label->setText(maxDateCaption());
}

} // namespace

frmGetDataMN::frmGetDataMN(QWidget *parent)
    : DataJobWindow(parent, QStringLiteral("frmGetDataMN"), QStringLiteral("株価取得"),
                    {.clientWidth = 6000,
                     .clientHeight = 2880,
                     .frame = QRect(120, 420, 5760, 1260),
                     .marketBox = QRect(2340, 720, 1500, 330),
                     .message = QRect(120, 1800, 5760, 300),
                     .startCaption = QStringLiteral("再取得"),
                     .startButton = QRect(3360, 2220, 1215, 420),
                     .closeButton = QRect(4665, 2220, 1215, 420)}),
      Inet1(new net::Inet(this)), lblMaxDate(ui::addLabel(client, QString(), 120, 120, QStringLiteral("lblMaxDate"))),
      dateRange(fraZyouken, {.caption = QPoint(240, 330),
                             .first = QRect(1320, 270, 2040, 330),
                             .dash = QPoint(3450, 330),
                             .last = QRect(3600, 270, 2040, 330)}),
      txtBrandCode(addCodeBox(240))
{
    Inet1->setObjectName(QStringLiteral("Inet1"));
    stopLogLine = QStringLiteral("株価情報の再取得の中止が指示されました");
    Form_Load();
}

void frmGetDataMN::Form_Load()
{
    initLogFile();
    lblMaxDate->setText(maxDateCaption());
    lblMaxDate->adjustSize();
    dateRange.createPickers(gdtLastKabukaDate);
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
                   ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2) != ui::vbYes)
        return;
    runStoppableJob([this, &code] { return redownload(*code); });
}

bool frmGetDataMN::redownload(const QString &code)
{
    const QString market = chosenMarketCode();
    const QDate first = dateRange.first();
    const QDate last = dateRange.last();
    const KabukaImport imported =
        getKabuka(*Inet1, *lblMsg, first, last, code, market, {.stopRequested = [this] { return stopRequested(); }});
    getKabukaKikan(kReferenceCode, kReferenceMarket, sys::now().date(), gdtFirstKabukaDate, gdtLastKabukaDate);
    // A site that stopped answering is not asked for the split days and caution list too.
    if (!imported.stopped) {
        getBunkatuKabuka(*Inet1, *lblMsg, gdtFirstKabukaDate, gdtLastKabukaDate, code, market);
        setKanriPost(*Inet1, *lblMsg, gdtLastKabukaDate);
    }
    showMaxDateOnMainWindow();

    // A stopped import did not fetch the rest of the range: no recalculation is offered for
    // it, and the notice below names the rows it did store.
    bool calculated = false;
    if (!imported.stopped &&
        ui::msgBox(QStringLiteral("再計算を行います。よろしいですか?"), ui::vbYesNo + ui::vbInformation) == ui::vbYes) {
        if (const std::optional<QString> calcCode = typedCode()) {
            calcKabuka(1, dateRange.first(), dateRange.last(), *calcCode, chosenMarketCode(), lblMsg);
            calculated = true;
        }
    }
    if (!calculated && imported.newRows + imported.replacedRows > 0) {
        // New rows have no indicators yet, replaced rows keep those of their old prices.
        const QString notice =
            QStringLiteral("%1～%2に登録した株価%3件(新規%4件、置き換え%5件)は指標が計算されていません。"
                           "「株価情報再計算」でこの期間を計算してください。")
                .arg(text::formatYmdSlash(first), text::formatYmdSlash(last))
                .arg(imported.newRows + imported.replacedRows)
                .arg(imported.newRows)
                .arg(imported.replacedRows);
        writeLog(glngLogFileNo, notice);
        ui::msgBox(notice, ui::vbInformation);
    }
    return !imported.stopped;
}
