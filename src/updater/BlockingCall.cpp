#include "updater/BlockingCall.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

namespace updater {

void runWhileProcessingEvents(const std::function<void()> &work)
{
    QEventLoop loop;
    const std::unique_ptr<QThread> worker(QThread::create(work));
    // The worker object lives on this thread, so its finished signal reaches the loop queued
    // and is not lost even when the work ends before the loop runs.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
}

} // namespace updater
