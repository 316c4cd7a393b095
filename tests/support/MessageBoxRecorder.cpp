#include "support/MessageBoxRecorder.h"

#include <QStringList>

MessageBoxRecorder &MessageBoxRecorder::instance()
{
    static MessageBoxRecorder recorder;
    return recorder;
}

void MessageBoxRecorder::installDefault()
{
    ui::setMsgBoxHook([](const ui::MsgBoxCall &call) { return instance().answer(call); });
}

void MessageBoxRecorder::reset()
{
    m_calls.clear();
    m_answers.clear();
}

void MessageBoxRecorder::queueAnswer(int answer)
{
    m_answers.push_back(answer);
}

QStringList MessageBoxRecorder::texts() const
{
    QStringList result;
    for (const ui::MsgBoxCall &call : m_calls)
        result << call.text;
    return result;
}

int MessageBoxRecorder::answer(const ui::MsgBoxCall &call)
{
    m_calls << call;
    if (!m_answers.empty()) {
        const int next = m_answers.front();
        m_answers.pop_front();
        return next;
    }
    return (call.style & 0x7) == ui::vbYesNo ? ui::vbNo : ui::vbOK;
}
