#include "platform/ui/DoEvents.h"

#include "platform/sys/Yield.h"

#include <QCoreApplication>

namespace ui {

void doEvents()
{
    const sys::YieldScope yielding;
    QCoreApplication::processEvents();
}

} // namespace ui
