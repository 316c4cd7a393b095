#include "core/modGlobal.h"
#include "marketdata/modApplication3.h"
#include "marketdata/modKabuka.h"
#include "support/ProgramDirFixture.h"

namespace {

class LimitsTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        gcnDB.executeScript(
            QStringLiteral("delete from tmpricerange; delete from tmnominalrange;"
                           "insert into tmpricerange values (1, 99, 30), (1000, 1499, 200);"
                           "insert into tmnominalrange values (0, 999, 1), (1000, 1499, 5), (1500, 3000, 10);"));
    }
};

TEST_F(LimitsTest, PriceLimits)
{
    const struct {
        qint64 base, lower, upper;
    } cases[] = {{1200, 1000, 1400}, {20, 0, 50}, {500, 0, 0}};
    for (const auto &c : cases) {
        qint64 lower = -1, upper = -1;
        getSeigenNehaba(c.base, lower, upper);
        EXPECT_EQ(lower, c.lower) << c.base;
        EXPECT_EQ(upper, c.upper) << c.base;
    }
}

TEST_F(LimitsTest, TickRounding)
{
    const struct {
        double price;
        qint64 expected;
    } cases[] = {{1234, 1230},   {1235, 1235},    {1234.9, 1230}, {734.6, 734},
                 {1499.5, 1495}, {1499.99, 1495}, {-0.5, 0},      {-1.5, -2}};
    for (const auto &c : cases)
        EXPECT_EQ(getYobineTani(c.price), c.expected) << c.price;
}

class ShippedTablesTest : public ProgramDirFixture {};

TEST_F(ShippedTablesTest, CoverOrdinaryPrices)
{
    createDatabases();
    openDatabases();
    qint64 lower = 0, upper = 0;
    getSeigenNehaba(1200, lower, upper);
    EXPECT_GT(upper, 1200);
    EXPECT_LT(lower, 1200);
    // Prices between two shipped bands belong to the lower one.
    const struct {
        double price;
        qint64 expected;
    } ticks[] = {{2999.9, 2999}, {3000.7, 3000}, {3001, 3000}, {5000.6, 5000}, {30000.6, 30000}, {50000.5, 50000}};
    for (const auto &c : ticks)
        EXPECT_EQ(getYobineTani(c.price), c.expected) << c.price;
    // Every band edge of the price limits: the last price of a band and the first of the next.
    const struct {
        qint64 base, upper;
    } limits[] = {{99, 129}, {100, 150}, {999, 1149}, {1000, 1300}, {1499, 1799}, {1500, 1900}};
    for (const auto &c : limits) {
        getSeigenNehaba(c.base, lower, upper);
        EXPECT_EQ(upper, c.upper) << c.base;
    }
}

} // namespace
