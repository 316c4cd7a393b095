#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/sys/Clock.h"
#include "support/LogTexts.h"
#include "support/ProgramDirFixture.h"
#include "trading/modNanpin.h"

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
        gcnDB.execute(
            QStringLiteral("insert into ttresevation (予約番号, 銘柄コード, 市場コード, 処理区分, 株数, 約定金額買,"
                           " 手動注文区分, 注文期間) values (?, ?, 't1', 2, 100, ?, ?, '2026-11-01')"),
            number, code, buyPrice, manual);
        gcnDB.execute(
            QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 調整終値) values (?, 't1', ?, ?)"),
            code, processingDay, close);
    }

    QList<qint64> row(int number)
    {
        db::Statement st =
            gcnDB.prepare(QStringLiteral("select 処理区分, 株数, 注文回 from ttresevation where 予約番号 = ?"));
        st.bind(1, number);
        EXPECT_TRUE(st.step());
        return {st.int64(0), st.int64(1), st.int64(2)};
    }

    QStringList logLines()
    {
        closeLog(glngLogFileNo);
        return logTexts(path(QStringLiteral("Nimbra.log")));
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
