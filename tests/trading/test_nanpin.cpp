#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/sys/Clock.h"
#include "support/ProgramDirFixture.h"
#include "support/ReservationRows.h"
#include "trading/modNanpin.h"
#include "trading/modReservation.h"

namespace {

class NanpinTest : public ProgramDirFixture {
protected:
    const QDate processingDay{2026, 12, 9};
    const QDateTime runStart{QDate(2026, 12, 10), QTime(8, 0)}; // a Thursday

    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        sys::setNow(runStart);
        glngLogFileNo = openLog();
        order.ODNanpin = 1;
        order.ODNanpinKai = 3;
        order.ODNanpinWariai = 0;
    }

    void addHeld(int number, const QString &code, double buyPrice, double close, int manual = 0)
    {
        addReservation({.予約番号 = number,
                        .銘柄コード = code,
                        .株数 = 100,
                        .注文期間 = QStringLiteral("2026-11-01"),
                        .処理区分 = 2,
                        .市場コード = QStringLiteral("t1"),
                        .約定金額買 = buyPrice,
                        .手動注文区分 = manual});
        gcnDB.execute(
            QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 調整終値) values (?, 't1', ?, ?)"),
            code, processingDay, close);
    }

    QList<qint64> row(int number)
    {
        const auto [state, shares] = reservationStateAndShares(number);
        return {state, shares, reservationValue(number, QStringLiteral("注文回")).toLongLong()};
    }

    OD order;
};

TEST_F(NanpinTest, SelectsFallenHeldPositionsOnly)
{
    addHeld(1, QStringLiteral("1001"), 1000, 1000);   // at the buy price: qualifies with 0 %
    addHeld(2, QStringLiteral("1002"), 1000, 1001);   // one yen above: no
    addHeld(3, QStringLiteral("1003"), 1000, 800, 1); // marked for settlement: never

    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 1);
    EXPECT_EQ(row(1), (QList<qint64>{0, 200, 1}));
    EXPECT_EQ(row(2), (QList<qint64>{2, 100, 0}));
    EXPECT_EQ(row(3), (QList<qint64>{2, 100, 0}));

    // The same day again: already averaged down today.
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2 where 予約番号 = 1"));
    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 0);

    // Next day: the second purchase adds 200 / 2, keeping the lots equal; then the limit.
    const QDateTime nextDay = runStart.addDays(1);
    sys::setNow(nextDay);
    EXPECT_EQ(checkNanpin(nextDay, processingDay, order), 1);
    EXPECT_EQ(row(1), (QList<qint64>{0, 300, 2}));
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2 where 予約番号 = 1"));
    const QDateTime monday = runStart.addDays(4);
    sys::setNow(monday);
    EXPECT_EQ(checkNanpin(monday, processingDay, order), 0);
}

// The day change runs at every start and again in the night block: a row averaged down
// today keeps its extra buy and its target through every run of the same day.
TEST_F(NanpinTest, ADueExtraBuySurvivesASecondDayChangeOfTheDay)
{
    addHeld(1, QStringLiteral("1001"), 1000, 800);
    gcnDB.execute(QStringLiteral("update ttresevation set 約定株数買 = 100, 更新日付 = '2026-11-01 10:00:00'"));
    dayChangeReservation(runStart);
    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 1);

    const QDateTime restart = runStart.addSecs(3 * 3600);
    sys::setNow(restart);
    dayChangeReservation(restart);
    EXPECT_EQ(checkNanpin(restart, processingDay, order), 0);
    EXPECT_EQ(row(1), (QList<qint64>{0, 200, 1}));
}

// A row whose extra buy went out with an unknown outcome gets no further one until the
// user has checked it.
TEST_F(NanpinTest, AnExtraBuyInDoubtIsNotRepeated)
{
    addHeld(1, QStringLiteral("1001"), 1000, 800);
    gcnDB.execute(
        QStringLiteral("update ttresevation set 株数 = 200, 約定株数買 = 100, 注文回 = 1, エラーコード = 90"));
    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 0);
    EXPECT_EQ(row(1), (QList<qint64>{2, 200, 1}));
}

TEST_F(NanpinTest, PercentageAndStartUpCount)
{
    addHeld(1, QStringLiteral("1001"), 1000, 901);
    addHeld(2, QStringLiteral("1002"), 1000, 900);
    order.ODNanpinWariai = 10;
    order.ODNanpinKai = 1; // the start-up value: no averaging-down purchase at all
    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 0);
    order.ODNanpinKai = 2;
    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 1);
    EXPECT_EQ(row(2)[0], 0);
    EXPECT_EQ(row(1)[0], 2);
}

TEST_F(NanpinTest, OffOrHolidayWritesOnlyTheFrame)
{
    addHeld(1, QStringLiteral("1001"), 1000, 500);
    order.ODNanpin = 0;
    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 0);
    order.ODNanpin = 1;
    sys::setNow(QDateTime(QDate(2026, 12, 31), QTime(8, 0))); // exchange closed
    EXPECT_EQ(checkNanpin(runStart, processingDay, order), 0);

    const QString open = QStringLiteral("*****checkNanpinここから*************");
    const QString close = QStringLiteral("*****checkNanpinここまで*************");
    EXPECT_EQ(logLines(), (QStringList{open, close, open, close}));
    EXPECT_EQ(row(1)[0], 2);
}

} // namespace
