#include "support/MessageBoxRecorder.h"

#include "platform/sys/ReentryGuard.h"
#include "platform/sys/Yield.h"

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
    m_whileOpen = nullptr;
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

void MessageBoxRecorder::setWhileOpen(std::function<void()> whileOpen)
{
    m_whileOpen = std::move(whileOpen);
}

int MessageBoxRecorder::answer(const ui::MsgBoxCall &call)
{
    m_calls << call;
    const sys::ReentryGuard open(m_open);
    if (m_whileOpen && open.entered()) {
        const sys::YieldScope yielding;
        m_whileOpen();
    }
    if (!m_answers.empty()) {
        const int next = m_answers.front();
        m_answers.pop_front();
        return next;
    }
    return (call.style & 0x7) == ui::vbYesNo ? ui::vbNo : ui::vbOK;
}
