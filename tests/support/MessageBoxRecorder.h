#pragma once

#include "platform/ui/MsgBox.h"

#include <QList>

#include <deque>

// Records every message box and answers it: with queued answers first, then with the
// default (OK for OK-only boxes, No for Yes/No boxes). Installed for the whole test run;
// a test takes a fresh record with reset().
class MessageBoxRecorder {
public:
    static MessageBoxRecorder &instance();
    static void installDefault();

    void reset();
    void queueAnswer(int answer);
    const QList<ui::MsgBoxCall> &calls() const { return m_calls; }
    QStringList texts() const;

private:
    int answer(const ui::MsgBoxCall &call);

    QList<ui::MsgBoxCall> m_calls;
    std::deque<int> m_answers;
};
