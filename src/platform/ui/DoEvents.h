#pragma once

namespace ui {

// Lets the window system repaint and deliver input (and timers) in the middle of a long job.
void doEvents();

} // namespace ui
