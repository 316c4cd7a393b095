#include "marketdata/DataJobWindow.h"

#include "core/BusyGuard.h"
#include "core/BusyWindow.h"
#include "core/FileMenu.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "core/modSystem.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/WindowBuilder.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QRect twips(const QRect &r)
{
    return ui::twipsRect(r.x(), r.y(), r.width(), r.height());
}

} // namespace

DataJobWindow::DataJobWindow(QWidget *parent, const QString &name, const QString &caption, const Layout &layout)
    : QDialog(parent)
{
    ui::setupFixedDialog(this, name, caption, layout.clientWidth, layout.clientHeight);
    const ui::FileMenu menu = ui::addFileMenu(this);
    connect(menu.mnuClose, &QAction::triggered, this, &QDialog::close);
    client = menu.client;

    fraZyouken = ui::addFrame(client, QStringLiteral("fraZyouken"), QString(), twips(layout.frame));
    cmbSizyouCode = ui::addComboBox(fraZyouken, QStringLiteral("cmbSizyouCode"), twips(layout.marketBox));
    lblMsg = ui::addLabel(client, QString(), layout.message.x(), layout.message.y(), QStringLiteral("lblMsg"));
    lblMsg->setGeometry(twips(layout.message));
    cmdSelect = ui::addButton(layout.startInFrame ? static_cast<QWidget *>(fraZyouken) : client,
                              QStringLiteral("cmdSelect"), layout.startCaption, twips(layout.startButton));
    cmdClose = ui::addButton(client, QStringLiteral("cmdClose"), QStringLiteral("閉じる"), twips(layout.closeButton));
    connect(cmdSelect, &QPushButton::clicked, this, [this] { cmdSelect_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void DataJobWindow::setButtonState(bool flag)
{
    cmdSelect->setVisible(flag);
    cmdClose->setEnabled(flag);
}

void DataJobWindow::runStoppableJob(const std::function<bool()> &job)
{
    const BusyGuard busy(windowTitle());
    if (!busy.started())
        return;
    m_stopRequested = false;
    setButtonState(false);
    lblMsg->clear();
    ui::doEvents();
    const bool finished = job();
    lblMsg->setText(finished ? QStringLiteral("処理が完了しました。") : QStringLiteral("処理を中止しました。"));
    ui::doEvents();
    setButtonState(true);
}

void DataJobWindow::stopJob()
{
    if (!jobRunning() || m_stopRequested)
        return;
    m_stopRequested = true;
    writeLog(glngLogFileNo, stopLogLine);
}

bool DataJobWindow::jobRunning() const
{
    return !cmdClose->isEnabled();
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

QLineEdit *DataJobWindow::addCodeBox(int captionLeft)
{
    ui::addLabel(fraZyouken, QStringLiteral("銘柄コード"), captionLeft, 780, QStringLiteral("Label6"));
    QLineEdit *box = ui::addTextBox(fraZyouken, QStringLiteral("txtBrandCode"), 4, ui::twipsRect(1320, 720, 900, 330));
    selectAllTextOnFocus(box);
    return box;
}

void DataJobWindow::reject()
{
    if (!ui::refuseClosingWhileBusy(!cmdClose->isEnabled()))
        QDialog::reject();
}
