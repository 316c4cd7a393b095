#include "app/NimbraApplication.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Timer.h"

#include <QWidget>

#include <exception>

NimbraApplication::NimbraApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool NimbraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        endOnError(QString::fromStdString(e.what()));
    } catch (...) {
        endOnError(QStringLiteral("不明なエラー"));
    }
    QApplication::exit(1);
    return false;
}

namespace {

void logFatalError(const QString &description)
{
    if (glngLogFileNo == 0)
        return;
    try {
        writeLog(glngLogFileNo, QStringLiteral("エラー:") + description);
    } catch (const std::exception &) {
        // The log itself failed; a message box still tells the user.
    }
}

// The windows' timers stop before the box opens: its event loop would let them tick, start
// an order step with the program in an unknown state, and raise a second error box.
void stopTimers()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        for (ui::Timer *timer : window->findChildren<ui::Timer *>())
            timer->setEnabled(false);
    }
}

} // namespace

void NimbraApplication::endOnError(const QString &description)
{
    if (m_endingOnError) {
        logFatalError(description);
        return;
    }
    m_endingOnError = true;
    reportFatalError(description);
}

void reportFatalError(const QString &description)
{
    stopTimers();
    logFatalError(description);
    ui::msgBox(description, ui::vbCritical);
}
