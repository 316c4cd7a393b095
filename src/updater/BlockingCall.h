#pragma once

#include <functional>

namespace updater {

// Runs work on a worker thread while the calling thread waits in a local event loop, so
// its windows keep painting and its timers keep ticking. Returns when work has finished.
void runWhileProcessingEvents(const std::function<void()> &work);

} // namespace updater
