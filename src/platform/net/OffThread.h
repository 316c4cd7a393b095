#pragma once

#include <functional>
#include <optional>
#include <type_traits>

// Blocking network work that must not freeze the windows: libcurl's global set-up and a
// way to run a blocking job while the application thread keeps processing events.
namespace net {

// libcurl's global set-up. It is not thread-safe, so it runs once, on the first caller's
// thread, before any worker starts.
void initCurl();

// Runs `job` and returns when it has ended. Called on the thread of the Qt application
// object, the job runs on a worker thread while the caller waits in a local event loop, so
// windows repaint and timers tick meanwhile (callers must expect re-entry, as with
// ui::doEvents). Elsewhere it simply runs on the calling thread.
void runOffThread(const std::function<void()> &job);

// Runs `job` as runOffThread does and returns what it returned.
template <typename Job>
std::invoke_result_t<Job &> offThreadResult(Job job)
{
    std::optional<std::invoke_result_t<Job &>> result;
    runOffThread([&] { result.emplace(job()); });
    return std::move(*result);
}

} // namespace net
