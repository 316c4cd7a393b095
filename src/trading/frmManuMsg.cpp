#include "trading/frmManuMsg.h"

#include "platform/ui/MsgBox.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/WindowBuilder.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

QString gstrManuMsg;
int glngManuMsgResult = ui::vbNo;

frmManuMsg::frmManuMsg(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmManuMsg"), QStringLiteral("確認"), 6000, 2520);
    if (const QWidget *mainWindow = ui::topLevelWindow(QStringLiteral("frmMain")))
        setWindowIcon(mainWindow->windowIcon());
    auto *lblMsg = new QLabel(gstrManuMsg, this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setGeometry(ui::twipsRect(240, 240, 5520, 1080));
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_chkKakunin = ui::addCheckBox(this, QStringLiteral("chkKakunin"),
                                   QStringLiteral("確認(上記に同意し、決済する場合はチェックを入れてください)"),
                                   ui::twipsRect(240, 1440, 5520, 300));
    QPushButton *cmdOK =
        ui::addButton(this, QStringLiteral("cmdOK"), QStringLiteral("はい"), ui::twipsRect(3060, 1920, 1215, 375));
    QPushButton *cmdCancel = ui::addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("いいえ"),
                                           ui::twipsRect(4500, 1920, 1215, 375));
    glngManuMsgResult = ui::vbNo;
    connect(cmdOK, &QPushButton::clicked, this, &frmManuMsg::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        glngManuMsgResult = ui::vbNo;
        reject();
    });
}

void frmManuMsg::cmdOK_Click()
{
    if (!m_chkKakunin->isChecked())
        return;
    glngManuMsgResult = ui::vbYes;
    accept();
}
