#include "app/NimbraApplication.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/ui/MsgBox.h"

#include <exception>

NimbraApplication::NimbraApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool NimbraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportFatalError(QString::fromStdString(e.what()));
    } catch (...) {
        reportFatalError(QStringLiteral("不明なエラー"));
    }
    QApplication::exit(1);
    return false;
}

void reportFatalError(const QString &description)
{
    if (glngLogFileNo != 0) {
        try {
            writeLog(glngLogFileNo, QStringLiteral("エラー:") + description);
        } catch (const std::exception &) {
            // The log itself failed; the message box below still tells the user.
        }
    }
    ui::msgBox(description, ui::vbCritical);
}
