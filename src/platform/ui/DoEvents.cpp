#include "platform/ui/DoEvents.h"

#include <QCoreApplication>

namespace ui {

void doEvents()
{
    QCoreApplication::processEvents();
}

} // namespace ui
