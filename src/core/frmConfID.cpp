#include "core/frmConfID.h"

#include "core/SettingsRecords.h"

frmConfID::frmConfID(QWidget *parent)
    : SettingsTextDialog(parent, QStringLiteral("frmConfID"), QStringLiteral("ログイン情報設定"), 4200, 1710)
{
    addRow(QStringLiteral("ユーザーネーム"), QStringLiteral("txtUserID"), 16, UserID, 120, 1680, 2400);
    addRow(QStringLiteral("パスワード"), QStringLiteral("txtPassword"), 16, Password, 480, 1680, 2400, true);
    addRow(QStringLiteral("取引パスワード"), QStringLiteral("txtPassword2"), 16, Password2, 840, 1680, 2400, true);
    addButtons(1260);
}
