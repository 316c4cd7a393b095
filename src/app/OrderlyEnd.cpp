#include "app/OrderlyEnd.h"

#include "core/JobWindow.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "mainwindow/frmMain.h"
#include "platform/sys/TerminationRequests.h"
#include "platform/sys/Yield.h"
#include "platform/ui/TopLevelWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace {

// Every window's long job is told to stop, as its own stop would tell it.
void stopJobs()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *job = dynamic_cast<JobWindow *>(window); job && job->jobRunning())
            job->stopJob();
    }
}

// Closes what waits on top for a person: a popup, a message box (answered as Escape
// answers it, OK or No), a dialog (cancelled). Whatever yields below it does not matter;
// a job window is waited for while its job runs. False when nothing is on top.
bool closeTopmost()
{
    if (QWidget *popup = QApplication::activePopupWidget()) {
        popup->close();
        return true;
    }
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    if (const auto *job = dynamic_cast<const JobWindow *>(modal); job && job->jobRunning())
        return true;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        if (QAbstractButton *escape = box->escapeButton())
            escape->click();
    } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
        // Not its reject(): a window that refuses Escape (the splash) or checks its fields
        // on closing would keep the program from ending.
        dialog->done(QDialog::Rejected);
    } else {
        modal->close();
    }
    return true;
}

} // namespace

OrderlyEnd::OrderlyEnd(const sys::TerminationRequests &requests, QObject *parent) : QObject(parent)
{
    m_retry.setInterval(100);
    connect(&m_retry, &QTimer::timeout, this, &OrderlyEnd::tryToEnd);
    connect(&requests, &sys::TerminationRequests::requested, this, &OrderlyEnd::start);
}

void OrderlyEnd::start()
{
    if (m_started)
        return;
    m_started = true;
    if (glngLogFileNo != 0)
        writeLog(glngLogFileNo, QStringLiteral("システムから終了を要求されました"));
    m_retry.start();
    tryToEnd();
}

void OrderlyEnd::tryToEnd()
{
    stopJobs();
    if (closeTopmost())
        return;
    // The innermost loop is the work itself (a step of a job, a transfer): it is let finish.
    if (sys::yieldDepth() > 0)
        return;
    auto *window = qobject_cast<frmMain *>(ui::topLevelWindow(QStringLiteral("frmMain")));
    if (!window || !window->unloadWithoutQuestions())
        return;
    m_retry.stop();
    QCoreApplication::quit();
}
