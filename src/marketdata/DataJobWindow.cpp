#include "marketdata/DataJobWindow.h"

#include "core/BusyGuard.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "net/Inet.h"
#include "ui/DoEvents.h"
#include "ui/MsgBox.h"
#include "ui/Twips.h"
#include "ui/WindowBuilder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

DataJobWindow::DataJobWindow(QWidget *parent, const QString &name, const QString &caption, const Layout &layout)
    : QDialog(parent)
    , Inet1(new net::Inet(this))
{
    ui::setupFixedDialog(this, name, caption, layout.clientWidth, layout.clientHeight);
    Inet1->setObjectName(QStringLiteral("Inet1"));

    auto *menu = new QMenuBar(this);
    QMenu *mnuFiles = menu->addMenu(QStringLiteral("ﾌｧｲﾙ"));
    mnuFiles->setObjectName(QStringLiteral("mnuFiles"));
    QAction *mnuClose = mnuFiles->addAction(QStringLiteral("閉じる"));
    mnuClose->setObjectName(QStringLiteral("mnuClose"));
    connect(mnuClose, &QAction::triggered, this, &QDialog::close);
    const int menuHeight = menu->sizeHint().height();
    menu->setGeometry(0, 0, width(), menuHeight);
    setFixedSize(width(), height() + menuHeight);

    client = new QWidget(this);
    client->setGeometry(0, menuHeight, ui::twipsToPixels(layout.clientWidth), ui::twipsToPixels(layout.clientHeight));

    const QRect &f = layout.frame;
    fraZyouken = ui::addFrame(client, QStringLiteral("fraZyouken"), QString(), ui::twipsRect(f.x(), f.y(), f.width(), f.height()));
    const QRect &m = layout.marketBox;
    cmbSizyouCode = ui::addComboBox(fraZyouken, QStringLiteral("cmbSizyouCode"), ui::twipsRect(m.x(), m.y(), m.width(), m.height()));

    const int width = layout.clientWidth - 240;
    lblMsg = ui::addLabel(client, QString(), 120, layout.messageTop, QStringLiteral("lblMsg"));
    lblMsg->setGeometry(ui::twipsRect(120, layout.messageTop, width, 300));
    const int buttonTop = layout.messageTop + 420;
    cmdSelect = ui::addButton(client, QStringLiteral("cmdSelect"), QStringLiteral("再取得"),
                              ui::twipsRect(layout.clientWidth - 2640, buttonTop, 1215, 420));
    cmdClose = ui::addButton(client, QStringLiteral("cmdClose"), QStringLiteral("閉じる"),
                             ui::twipsRect(layout.clientWidth - 1335, buttonTop, 1215, 420));
    connect(cmdSelect, &QPushButton::clicked, this, [this] { cmdSelect_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void DataJobWindow::setButtonState(bool flag)
{
    cmdSelect->setVisible(flag);
    cmdClose->setEnabled(flag);
}

void DataJobWindow::runJob(const std::function<void()> &job)
{
    const BusyGuard busy;
    setButtonState(false);
    lblMsg->clear();
    ui::doEvents();
    job();
    lblMsg->setText(QStringLiteral("処理が完了しました。"));
    ui::doEvents();
    setButtonState(true);
}

void DataJobWindow::initLogFile()
{
    setLogPaths();
    lblMsg->clear();
}

QString DataJobWindow::chosenMarketCode() const
{
    return getSizyouCode(cmbSizyouCode->currentText());
}

void DataJobWindow::reject()
{
    if (!cmdClose->isEnabled()) {
        ui::msgBox(QStringLiteral("処理中に画面を閉じることはできません。"), ui::vbExclamation);
        return;
    }
    QDialog::reject();
}
