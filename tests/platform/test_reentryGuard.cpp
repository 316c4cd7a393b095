#include "platform/sys/ReentryGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A procedure that calls itself once from inside, as a timer tick inside its yield would.
int enteredCalls(bool &running, int depth)
{
    const sys::ReentryGuard guard(running);
    if (!guard.entered())
        return 0;
    EXPECT_TRUE(running);
    return 1 + (depth > 0 ? enteredCalls(running, depth - 1) : 0);
}

} // namespace

TEST(ReentryGuard, ANestedCallIsRefusedAndTheFlagIsReleasedOnExit)
{
    bool running = false;
    EXPECT_EQ(enteredCalls(running, 1), 1);
    EXPECT_FALSE(running);
    EXPECT_EQ(enteredCalls(running, 0), 1);
    EXPECT_FALSE(running);
}

TEST(ReentryGuard, ARefusedCallLeavesTheRunningCallsFlagSet)
{
    bool running = false;
    const sys::ReentryGuard outer(running);
    {
        const sys::ReentryGuard nested(running);
        EXPECT_FALSE(nested.entered());
    }
    EXPECT_TRUE(outer.entered());
    EXPECT_TRUE(running);
}

TEST(ReentryGuard, AnExceptionReleasesTheFlag)
{
    bool running = false;
    EXPECT_THROW(
        {
            const sys::ReentryGuard guard(running);
            throw std::runtime_error("page failed");
        },
        std::runtime_error);
    EXPECT_FALSE(running);
    const sys::ReentryGuard next(running);
    EXPECT_TRUE(next.entered());
}
