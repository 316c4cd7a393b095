#include "mainwindow/frmMain.h"

#include "core/SettingsRecords.h"
#include "core/frmBackup.h"
#include "core/frmDouisyo.h"
#include "core/modApplication.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "trading/modLatestData.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Nimbra"));
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmMain::Form_Load()
{
    setFormSize(this);
    // Without a broker user the terms of use come first; declining them ends the program
    // before anything else is done.
    if (UserID.isEmpty() && frmDouisyo(this).exec() != QDialog::Accepted) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }
    writeLog(glngLogFileNo, QStringLiteral("日次処理"));
    getLatestData();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    setFormSize(this);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The backup comes before closeApplication so that its result still reaches the log.
    frmBackup(this).exec();
    closeApplication();
    event->accept();
}
