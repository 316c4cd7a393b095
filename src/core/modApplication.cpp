#include "core/modApplication.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/ui/Twips.h"

#include <QWidget>

void closeApplication()
{
    gobjBASP.reset();
    closeLog(glngLogFileNo);
    glngLogFileNo = 0;
}

void setFormSize(QWidget *window)
{
    if (window->isMinimized() || window->isMaximized())
        return;
    const QSize frameExtra = window->frameGeometry().size() - window->geometry().size();
    window->resize(ui::twipsToPixels(13185) - frameExtra.width(), ui::twipsToPixels(8565) - frameExtra.height());
}
