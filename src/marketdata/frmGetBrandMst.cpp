#include "marketdata/frmGetBrandMst.h"

#include "core/modLookup.h"
#include "marketdata/modBrandMst.h"
#include "platform/net/Inet.h"
#include "platform/ui/MsgBox.h"

#include <QPushButton>

frmGetBrandMst::frmGetBrandMst(QWidget *parent)
    : DataJobWindow(parent, QStringLiteral("frmGetBrandMst"), QStringLiteral("銘柄マスタ取得"),
                    {.clientWidth = 6000,
                     .clientHeight = 2040,
                     .frame = QRect(120, 120, 5760, 720),
                     .marketBox = QRect(240, 240, 1500, 330),
                     .message = QRect(120, 960, 5760, 300),
                     .startCaption = QStringLiteral("再取得"),
                     .startButton = QRect(3360, 1380, 1215, 420),
                     .closeButton = QRect(4665, 1380, 1215, 420)}),
      Inet1(new net::Inet(this))
{
    Inet1->setObjectName(QStringLiteral("Inet1"));
    stopLogLine = QStringLiteral("銘柄マスタの再構築の中止が指示されました");
    // A dialog window rather than a tool window.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Form_Load();
}

void frmGetBrandMst::Form_Load()
{
    initLogFile();
    setSizyouCombo(cmbSizyouCode);
}

void frmGetBrandMst::cmdSelect_Click()
{
    if (ui::msgBox(QStringLiteral("銘柄マスタを再取得します。この処理は大変時間がかかります。よろしいですか?"),
                   ui::vbYesNo + ui::vbInformation) != ui::vbYes)
        return;
    runStoppableJob([this] {
        return getBrandMst(*Inet1, *lblMsg, QStringLiteral("1000"), QStringLiteral("9999"), chosenMarketCode(),
                           [this] { return stopRequested(); });
    });
}

void frmGetBrandMst::reject()
{
    if (cmdClose->isEnabled()) {
        DataJobWindow::reject();
        return;
    }
    if (stopRequested() ||
        ui::msgBox(QStringLiteral("銘柄マスタの再構築を中止しますか?\n"
                                  "処理中の銘柄コードの後で中止し、登録済みの銘柄マスタはそのまま残します。"),
                   ui::vbYesNo + ui::vbQuestion + ui::vbDefaultButton2) != ui::vbYes)
        return;
    stopJob();
}
