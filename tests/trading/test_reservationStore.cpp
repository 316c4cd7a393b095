#include "core/modGlobal.h"
#include "trading/TradingFixture.h"
#include "trading/modReservation.h"

namespace {

using Columns = QList<QPair<QString, QVariant>>;

class ReservationStoreTest : public TradingFixture {};

TEST_F(ReservationStoreTest, OrderCountByModeAndDayBounds)
{
    const QDate day(2026, 12, 9);
    const struct {
        int state;
        QString registered;
    } rows[] = {
        {2, QStringLiteral("2026-12-08 23:59:59")}, {2, QStringLiteral("2026-12-09 00:00:00")},
        {3, QStringLiteral("2026-12-09 23:59:59")}, {9, QStringLiteral("2026-12-10 00:00:00")},
        {0, QStringLiteral("2026-12-09 12:00:00")},
    };
    int number = 0;
    for (const auto &row : rows)
        addReservation({{QStringLiteral("予約番号"), ++number},
                        {QStringLiteral("処理区分"), row.state},
                        {QStringLiteral("登録日付"), row.registered}});

    const struct {
        int mode;
        int count;
    } cases[] = {{1, 2}, {2, 4}, {3, 3}, {0, 5}, {7, 5}};
    for (const auto &c : cases)
        EXPECT_EQ(getOrderCount(c.mode, day), c.count) << "mode " << c.mode;
    gcnDB.execute(QStringLiteral("delete from ttresevation"));
    EXPECT_EQ(getOrderCount(0, day), 0);
}

} // namespace
