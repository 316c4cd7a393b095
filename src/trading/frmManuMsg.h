#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;

// The message that frmManuMsg shows; its opener sets it.
extern QString gstrManuMsg;
// The answer of frmManuMsg: 6 when the user ticked the box and said yes, else 7.
extern int glngManuMsgResult;

// "確認": asks before a position is settled by hand. はい answers only once the
// confirmation box is ticked; いいえ or closing the window answers no.
class frmManuMsg : public QDialog {
    Q_OBJECT
public:
    explicit frmManuMsg(QWidget *parent = nullptr);

private:
    void cmdOK_Click();

    QCheckBox *m_chkKakunin = nullptr;
};
