#include "platform/ui/ChartGrid.h"

#include <gtest/gtest.h>

TEST(ChartGrid, SpacingFromTheTextLengthOrTheChartsOwn)
{
    const struct {
        int factor;
        double min;
        double max;
        double spacing;
    } cases[] = {
        {50, -1000000, 1000000, 500000}, // x = 500000: five lines from -1000000 to 1000000
        {4, 1000, 3000, 400},            // x = 2500
        {4, 1200, 1300, 0},              // x = 1900, spacing 400: one line only (1200)
        {4, 1201, 1300, 0},              // x = 1900.5 is six characters long: 40000
        {50, -1234567, 1234567, 0},      // x = 617283.5: 50000000, only the zero line
        {50, 0, 0, 0},                   // no execution: spacing 5 over an empty range
        {4, 100000000, 0, 0},            // no price row: minimum above maximum
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::majorGridSpacing(c.factor, c.min, c.max), c.spacing) << c.min << " to " << c.max;
}
