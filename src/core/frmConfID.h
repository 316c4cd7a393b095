#pragma once

#include "core/SettingsTextDialog.h"

// "ログイン情報設定": the broker login (UserID, Password, Password2).
class frmConfID : public SettingsTextDialog {
    Q_OBJECT
public:
    explicit frmConfID(QWidget *parent = nullptr);
};
