#pragma once

namespace jobs {

// The cancel request of one long operation. Each run of a screening, a simulation or a
// data job owns its token, and its cancel button sets that token only, so stopping or
// starting one operation never cuts or clears another's request. The operation reads it
// between its steps and ends after the step in hand.
class CancelToken {
public:
    void cancel() { m_cancelled = true; }
    bool isCancelled() const { return m_cancelled; }

private:
    bool m_cancelled = false;
};

} // namespace jobs
