#include "core/frmConfPOP.h"

#include "core/SettingsRecords.h"

frmConfPOP::frmConfPOP(QWidget *parent)
    : SettingsTextDialog(parent, QStringLiteral("frmConfPOP"), QStringLiteral("約定通知受信設定"), 6420, 2580)
{
    addRow(QStringLiteral("POP3サーバ"), QStringLiteral("txtPOPServer"), 255, POP3Server, 240, 1800, 4500);
    addRow(QStringLiteral("POP3ユーザID"), QStringLiteral("txtPOPUserID"), 255, POPUserID, 720, 1800, 4500);
    addRow(QStringLiteral("POP3パスワード"), QStringLiteral("txtPOPPassword"), 255, POPPassword, 1200, 1800, 4500,
           true);
    addButtons(2100);
}
