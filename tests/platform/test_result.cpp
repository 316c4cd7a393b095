#include "platform/sys/Result.h"

#include <gtest/gtest.h>

// Reading the value of a failed result is a caller's fault: it must surface as the
// program's unexpected failure with the problem text, never as an empty value.
TEST(Result, ValueOfAFailedResultThrowsItsProblem)
{
    const sys::Result<int> failed = sys::Result<int>::failure(QStringLiteral("サイトファイルがありません。"));
    try {
        static_cast<void>(failed.value());
        FAIL() << "value() of a failed result returned";
    } catch (const sys::Failure &failure) {
        EXPECT_EQ(failure.message(), QStringLiteral("サイトファイルがありません。"));
    }
    EXPECT_EQ(failed.valueOr(7), 7);
    EXPECT_EQ(sys::Result<int>(3).value(), 3);
}
