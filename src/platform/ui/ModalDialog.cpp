#include "platform/ui/ModalDialog.h"

#include <QDialog>

namespace ui {
namespace {
ModalHook &modalHook()
{
    static ModalHook hook;
    return hook;
}
} // namespace

int showModal(QDialog &dialog)
{
    if (modalHook())
        return modalHook()(dialog);
    return dialog.exec();
}

void setModalHook(ModalHook hook)
{
    modalHook() = std::move(hook);
}

} // namespace ui
