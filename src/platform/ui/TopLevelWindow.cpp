#include "platform/ui/TopLevelWindow.h"

#include <QApplication>
#include <QWidget>

namespace ui {

QWidget *topLevelWindow(const QString &objectName)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == objectName)
            return window;
    return nullptr;
}

} // namespace ui
