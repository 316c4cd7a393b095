#include "platform/ui/ControlArray.h"

#include <QVariant>

namespace ui {
namespace {
constexpr char kIndexProperty[] = "index";
}

void setControlIndex(QObject *control, int index)
{
    control->setProperty(kIndexProperty, index);
}

int controlIndex(const QObject *control)
{
    const QVariant index = control->property(kIndexProperty);
    return index.isValid() ? index.toInt() : -1;
}

} // namespace ui
