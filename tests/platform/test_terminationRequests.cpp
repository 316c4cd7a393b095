// The system's requests to end the program reach the event loop as one Qt signal instead
// of ending the process where it stands.
#include "platform/sys/TerminationRequests.h"

#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(TerminationRequests, TheFirstSignalArrivesOnTheEventLoop)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        sys::TerminationRequests requests;
        int seen = 0;
        QObject::connect(&requests, &sys::TerminationRequests::requested, [&] { ++seen; });
        std::raise(signal); // the test process goes on
        EXPECT_TRUE(QTest::qWaitFor([&] { return seen > 0; }, 5000)) << signal;
        EXPECT_EQ(seen, 1) << signal;
    }
}

} // namespace
