#pragma once

#include "core/SettingsTextDialog.h"

class QCheckBox;

// "お知らせメール設定": whether notice mails are forwarded (SelEMail) and to which address (EMail).
class frmConfMailInfo : public SettingsTextDialog {
    Q_OBJECT
public:
    explicit frmConfMailInfo(QWidget *parent = nullptr);

private:
    void storeOtherControls() override;

    QCheckBox *chkSelInfoMail;
};
