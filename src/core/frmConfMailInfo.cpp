#include "core/frmConfMailInfo.h"

#include "core/SettingsRecords.h"
#include "platform/ui/WindowBuilder.h"

#include <QCheckBox>

frmConfMailInfo::frmConfMailInfo(QWidget *parent)
    : SettingsTextDialog(parent, QStringLiteral("frmConfMailInfo"), QStringLiteral("お知らせメール設定"), 6420, 1530),
      chkSelInfoMail(ui::addCheckBox(this, QStringLiteral("chkSelInfoMail"), QStringLiteral("お知らせメールを配信する"),
                                     ui::twipsRect(120, 120, 3600, 300)))
{
    chkSelInfoMail->setChecked(SelEMail == 1);
    addRow(QStringLiteral("メールアドレス"), QStringLiteral("txtEMail"), 255, EMail, 540, 1560, 4740);
    addButtons(1080);
}

void frmConfMailInfo::storeOtherControls()
{
    SelEMail = chkSelInfoMail->isChecked() ? 1 : 0;
}
