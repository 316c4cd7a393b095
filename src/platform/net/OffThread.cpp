#include "platform/net/OffThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <curl/curl.h>

#include <thread>

namespace net {
namespace {

bool onApplicationThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

void initCurl()
{
    static const bool initialised = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    (void)initialised;
}

void runOffThread(const std::function<void()> &job)
{
    initCurl();
    if (!onApplicationThread()) {
        job();
        return;
    }
    QEventLoop loop;
    std::thread worker([&] {
        job();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join(); // also when the loop was ended by an application exit
}

} // namespace net
