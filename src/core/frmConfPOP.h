#pragma once

#include "core/SettingsTextDialog.h"

// "約定通知受信設定": the mailbox of the execution notices (POP3Server, POPUserID, POPPassword).
class frmConfPOP : public SettingsTextDialog {
    Q_OBJECT
public:
    explicit frmConfPOP(QWidget *parent = nullptr);
};
