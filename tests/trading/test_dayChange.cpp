#include "core/modGlobal.h"
#include "support/ProgramDirFixture.h"
#include "trading/modReservation.h"

namespace {

class DayChangeTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
    }

    void addReservation(int number, int state, int wanted, int bought, const QString &updated)
    {
        gcnDB.execute(
            QStringLiteral(
                "insert into ttresevation (予約番号, 処理区分, 株数, 約定株数買, 更新日付) values (?, ?, ?, ?, ?)"),
            number, state, wanted, bought, updated);
    }

    std::pair<int, int> stateAndShares(int number)
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select 処理区分, 株数 from ttresevation where 予約番号 = ?"));
        st.bind(1, number);
        EXPECT_TRUE(st.step());
        return {int(st.int64(0)), int(st.int64(1))};
    }
};

TEST_F(DayChangeTest, RollsReservationsOverAndPurgesOldPrices)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(8, 30));
    addReservation(1, 1, 500, 0, QStringLiteral("2026-12-09 14:00:00"));   // bought nothing: finished
    addReservation(2, 1, 500, 300, QStringLiteral("2026-12-09 14:00:00")); // partly bought: held, 300
    addReservation(3, 3, 500, 500, QStringLiteral("2026-12-09 14:00:00")); // open sell: held again
    addReservation(4, 0, 500, 0, QStringLiteral("2026-12-09 23:59:59"));   // never ordered: finished
    addReservation(5, 1, 500, 0, QStringLiteral("2026-12-10 00:00:00"));   // today: untouched
    addReservation(6, 2, 500, 500, QStringLiteral("2026-12-01 10:00:00")); // held: untouched
    // Averaged down, its extra buy never placed: held again with the shares it holds.
    addReservation(7, 0, 750, 500, QStringLiteral("2026-12-09 14:00:00"));
    addReservation(8, 0, 750, 500, QStringLiteral("2026-12-10 08:00:00")); // today: its buy may still go out

    const QDate kept = now.date().addDays(-200);
    for (const QDate &day : {kept, kept.addDays(-1), now.date()})
        gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付) values ('1301', 't1', ?)"),
                      day);

    dayChangeReservation(now);

    EXPECT_EQ(stateAndShares(1), std::make_pair(9, 500));
    EXPECT_EQ(stateAndShares(2), std::make_pair(2, 300));
    EXPECT_EQ(stateAndShares(3), std::make_pair(2, 500));
    EXPECT_EQ(stateAndShares(4), std::make_pair(9, 500));
    EXPECT_EQ(stateAndShares(5), std::make_pair(1, 500));
    EXPECT_EQ(stateAndShares(6), std::make_pair(2, 500));
    EXPECT_EQ(stateAndShares(7), std::make_pair(2, 500));
    EXPECT_EQ(stateAndShares(8), std::make_pair(0, 750));

    db::Statement days = gcnDB.prepare(QStringLiteral("select min(日付), count(*) from ttstocks"));
    ASSERT_TRUE(days.step());
    EXPECT_EQ(days.date(0), kept);
    EXPECT_EQ(days.int64(1), 2);
}

} // namespace
