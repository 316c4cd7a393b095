#pragma once

#include <functional>

class QDialog;

namespace ui {

// Shows a dialog modally and returns its result (QDialog::Accepted or Rejected). Tests and
// the day harness answer such dialogs through a hook instead of a window on screen.
int showModal(QDialog &dialog);

// The hook sees every dialog shown through showModal and returns its result; an empty hook
// shows the dialog.
using ModalHook = std::function<int(QDialog &)>;
void setModalHook(ModalHook hook);

} // namespace ui
