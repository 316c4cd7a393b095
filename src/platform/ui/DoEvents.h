#pragma once

#include <QElapsedTimer>

namespace ui {

// Lets the window system repaint and deliver input (and timers) in the middle of a long job.
void doEvents();

// For loops that would yield per row: yields only when about 50 ms have passed since the
// last yield, so the window stays responsive without serving events thousands of times.
class DoEventsPacer {
public:
    DoEventsPacer() { m_since.start(); }
    void maybeYield();

private:
    QElapsedTimer m_since;
};

} // namespace ui
