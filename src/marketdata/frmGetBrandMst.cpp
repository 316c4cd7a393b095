#include "marketdata/frmGetBrandMst.h"

#include "core/modLookup.h"
#include "marketdata/modBrandMst.h"
#include "platform/net/Inet.h"
#include "platform/ui/MsgBox.h"

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
    runJob(
        [this] { getBrandMst(*Inet1, *lblMsg, QStringLiteral("1000"), QStringLiteral("9999"), chosenMarketCode()); });
}
