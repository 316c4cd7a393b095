#include "app/OrderlyEnd.h"

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
    auto *window = qobject_cast<frmMain *>(ui::topLevelWindow(QStringLiteral("frmMain")));
    if (!window)
        return;
    // A message box waits for a person who may not come: it is answered as Escape would,
    // and the code that asked goes on from there.
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        if (QAbstractButton *escape = box->escapeButton())
            escape->click();
        return;
    }
    // Anything else that yields is work under way; it is let finish.
    if (sys::yieldDepth() > 0)
        return;
    if (QWidget *popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
        dialog->reject();
        return;
    }
    if (!window->unloadWithoutQuestions())
        return;
    m_retry.stop();
    QCoreApplication::quit();
}
