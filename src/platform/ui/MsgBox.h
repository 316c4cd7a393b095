#pragma once

#include <QString>

#include <functional>

namespace ui {

// Button and icon flags of a message box, combined by addition as the callers write them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};

// What a message box returns.
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Shows a modal message box with Japanese buttons and returns the button pressed.
// An empty title shows the program's name.
int msgBox(const QString &text, int style = vbOKOnly, const QString &title = {});

struct MsgBoxCall {
    QString text;
    int style = vbOKOnly;
    QString title;
};

// Tests answer message boxes through a hook instead of a window; it sees every call.
using MsgBoxHook = std::function<int(const MsgBoxCall &)>;
void setMsgBoxHook(MsgBoxHook hook);

} // namespace ui
