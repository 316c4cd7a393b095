#pragma once

#include "platform/ui/MsgBox.h"

#include <QList>

#include <deque>
#include <functional>

// Records every message box and answers it: with queued answers first, then with the
// default (OK for OK-only boxes, No for Yes/No boxes). Installed for the whole test run;
// a test takes a fresh record with reset().
class MessageBoxRecorder {
public:
    static MessageBoxRecorder &instance();
    static void installDefault();

    void reset();
    void queueAnswer(int answer);
    // Runs `whileOpen` inside each box before it is answered, as the time the user takes to
    // come to it: a test lets the simulated clock run there, and the program's timers tick
    // as under a real box. Not for a box raised inside it. reset() removes it.
    void setWhileOpen(std::function<void()> whileOpen);
    const QList<ui::MsgBoxCall> &calls() const { return m_calls; }
    QStringList texts() const;

private:
    int answer(const ui::MsgBoxCall &call);

    QList<ui::MsgBoxCall> m_calls;
    std::deque<int> m_answers;
    std::function<void()> m_whileOpen;
    bool m_open = false;
};
