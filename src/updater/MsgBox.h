#pragma once

#include <QString>

#include <functional>

namespace updater {

// Shows a modal OK-only message box without icon, titled "Updater".
void msgBox(const QString &text);

// Tests answer message boxes through a hook instead of a window; it sees every text.
using MsgBoxHook = std::function<void(const QString &text)>;
void setMsgBoxHook(MsgBoxHook hook);

} // namespace updater
