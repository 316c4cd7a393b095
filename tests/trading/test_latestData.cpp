#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/sys/Clock.h"
#include "support/FakeMarket.h"
#include "support/FakeMaster.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"
#include "trading/modLatestData.h"

#include <QFile>

namespace {

class LatestDataTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        gobjBASP = std::make_unique<mail::Basp>();
        glngLogFileNo = openLog();
    }

    static void storeReferenceDay(const QDate &day)
    {
        gcnDB.execute(
            QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 調整終値) values (?, ?, ?, 1000)"),
            kReferenceCode, kReferenceMarket, day);
    }
};

TEST_F(LatestDataTest, FetchesOnlyWhenTheLatestTradingDayIsMissing)
{
    struct Case {
        const char *what;
        QDateTime now;
        QDate newestStored;
        bool downloads;
    };
    const Case cases[] = {
        {"Monday with Friday stored", QDateTime(QDate(2007, 3, 26), QTime(9, 0)), QDate(2007, 3, 23), false},
        {"Tuesday after a Monday holiday", QDateTime(QDate(2007, 9, 18), QTime(9, 0)), QDate(2007, 9, 14), false},
        {"Wednesday with Monday stored", QDateTime(QDate(2007, 3, 28), QTime(9, 0)), QDate(2007, 3, 26), true},
        {"today already stored", QDateTime(QDate(2007, 3, 28), QTime(18, 0)), QDate(2007, 3, 28), false},
    };
    for (const Case &c : cases) {
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        QFile::resize(path(QStringLiteral("Nimbra.log")), 0);
        storeReferenceDay(c.newestStored);
        storeReferenceDay(c.now.date().addDays(-201)); // purged by the day change
        sys::setNow(c.now);
        gdtLastKabukaDate = c.newestStored;
        gdtLastDailyDate = QDate();
        sysSL.SLBaibaidaikin = 1;
        sysOD.ODNanpin = 1;

        getLatestData();

        const QStringList logged = logLines();
        EXPECT_EQ(logged.contains(QStringLiteral("★最新データの取得開始")), c.downloads) << c.what;
        if (c.downloads) {
            const qsizetype start = logged.indexOf(QStringLiteral("★最新データの取得開始"));
            EXPECT_EQ(logged.value(start + 1), QStringLiteral("●株価情報取得開始")) << c.what;
            EXPECT_GT(logged.indexOf(QStringLiteral("★最新データの取得終了")),
                      logged.indexOf(QStringLiteral("●注意銘柄情報取得終了")))
                << c.what;
        }
        EXPECT_EQ(gdtLastDailyDate, c.now.date()) << c.what;
        EXPECT_EQ(gdtLastKabukaDate, c.newestStored) << c.what;
        EXPECT_EQ(gdtFirstKabukaDate, c.newestStored) << c.what << ": the old day was purged";
        EXPECT_EQ(sysSL.SLBaibaidaikin, 50) << c.what << ": the fixed preset";
        EXPECT_EQ(logged.last(), QStringLiteral("*****checkNanpinここまで*************")) << c.what;
    }
}

// An update that stops (here: no site file, so no page can be asked for) leaves the day
// undone, so the next daily block tries again; the steps after it still run.
TEST_F(LatestDataTest, AStoppedUpdateLeavesTheDayUndone)
{
    const FakeMarket market({.seed = 2, .stocks = 8, .days = 10, .lastDay = QDate(2007, 3, 26)});
    storeFakeMaster(market);
    storeReferenceDay(QDate(2007, 3, 26));
    gdtLastKabukaDate = QDate(2007, 3, 26);
    gdtLastDailyDate = QDate();
    sys::setNow(QDateTime(QDate(2007, 3, 28), QTime(9, 0)));

    getLatestData();

    EXPECT_FALSE(gdtLastDailyDate.isValid());
    EXPECT_EQ(MessageBoxRecorder::instance().texts().size(), 1);
    const QStringList logged = logLines();
    EXPECT_TRUE(logged.contains(QStringLiteral("★最新データの取得終了")));
    EXPECT_EQ(logged.last(), QStringLiteral("*****checkNanpinここまで*************"));
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                            [](const QString &line) { return line.startsWith(QStringLiteral("サイトファイル(")); }),
              1)
        << "the missing site file is logged once, not per page";
}

} // namespace
