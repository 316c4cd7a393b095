#include "core/BusyWindow.h"

#include "platform/ui/MsgBox.h"

namespace ui {

bool refuseClosingWhileBusy(bool busy)
{
    if (busy)
        ui::msgBox(QStringLiteral("処理中に画面を閉じることはできません。"), ui::vbExclamation);
    return busy;
}

} // namespace ui
