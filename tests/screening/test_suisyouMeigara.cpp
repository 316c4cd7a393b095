#include "core/BusyGuard.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "screening/ScreeningFixture.h"
#include "screening/ScreeningRandom.h"
#include "screening/modSuisyouMeigara.h"
#include "trading/modBrandGrid.h"

#include <QLabel>

namespace {

const QDate kDay(2026, 12, 9);      // the screening day
const QDate kPrevious(2026, 12, 8); // the previous data day
const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 30));
const QString kChecked = QStringLiteral("同一銘柄購入確認対象外範囲:2026/12/10 00:00:00-2026/12/10 23:59:59");

// Stocks 1001 ... that pass the fixed preset on the screening day, each with a valid row on
// the previous data day; the drawn keys order them by code.
class SuisyouMeigaraTest : public ScreeningFixture {
protected:
    void SetUp() override
    {
        ScreeningFixture::SetUp();
        sys::setNow(kNow);
        ScreeningRandom::setFixed(ScreeningKeys{1, 1});
        sysBS.KounyuTensu = 5;
        sysSizyou.SLSizyouT1 = 1;
        for (const QDate &day : {kPrevious, kDay})
            addRow(candidate(QStringLiteral("7203"), day, 0));
        setBrandGridHeader(grid);
    }

    static Row candidate(const QString &code, const QDate &day, int split = 0)
    {
        Row r;
        r.code = code;
        r.day = day;
        r.adjustedClose = 930, r.smaS = 1000, r.smaM = 1200, r.smaL = 1000;
        r.vra = 50, r.vrb = 20, r.volume = 100000, r.split = split;
        return r;
    }

    // Stocks `first` ... `first + count - 1` on the screening day and the day before.
    static void addCandidates(int first, int count)
    {
        for (int code = first; code < first + count; ++code) {
            addStockRow(candidate(QString::number(code), kDay));
            addRow(candidate(QString::number(code), kPrevious));
        }
    }

    int search(const jobs::CancelToken &cancel = jobs::CancelToken())
    {
        return searchSuisyouMeigara(1, label, grid, kDay, sysBS, sysSL, sysOD, sysSizyou, codes, cancel);
    }

    QStringList gridCodes() const
    {
        QStringList result;
        for (int r = 1; r < grid.Rows(); ++r)
            result << grid.TextMatrix(r, 0);
        return result;
    }

    int rowsChecked() const { return int(logLines().count(kChecked)); }

    QLabel label;
    ui::FlexGrid grid;
    QStringList codes;
};

TEST_F(SuisyouMeigaraTest, KeepsCandidatesInQueryOrderFromRowOneWithTheLastRowEmpty)
{
    addCandidates(1001, 3);
    label.setText(QStringLiteral("前の表示"));

    EXPECT_EQ(search(), 3);

    EXPECT_EQ(gridCodes(),
              (QStringList{QStringLiteral("1001"), QStringLiteral("1002"), QStringLiteral("1003"), QString()}));
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("t1"));
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("1001:テスト工業株 (東1)"));
    EXPECT_EQ(grid.TextMatrix(1, 3), QStringLiteral("930"));
    EXPECT_EQ(grid.TextMatrix(1, 4), QStringLiteral("100,000"));
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("　　　　　銘柄"));
    ASSERT_GE(codes.size(), 4);
    EXPECT_EQ(codes.mid(0, 4),
              (QStringList{QString(), QStringLiteral("1001"), QStringLiteral("1002"), QStringLiteral("1003")}));
    EXPECT_EQ(label.text(), QString());
    EXPECT_EQ(rowsChecked(), 3);
    EXPECT_FALSE(BusyGuard::isBusy());
}

TEST_F(SuisyouMeigaraTest, DropsAStockWithoutValidPreviousRowOrWithAnExecutionToday)
{
    addCandidates(1001, 2);
    addStockRow(candidate(QStringLiteral("1003"), kDay)); // split on the previous data day
    addRow(candidate(QStringLiteral("1003"), kPrevious, 1));
    addStockRow(candidate(QStringLiteral("1004"), kDay)); // no row on the previous data day
    addCandidates(1005, 2);
    addExecution(QStringLiteral("1002"), QStringLiteral("t1"), QStringLiteral("2026-12-10 09:05:00")); // sold today
    addExecution(QStringLiteral("1005"), QStringLiteral("t1"), QStringLiteral("2026-12-09 14:00:00")); // yesterday
    addExecution(QStringLiteral("1006"), QStringLiteral("t2"), QStringLiteral("2026-12-10 09:05:00")); // other market

    EXPECT_EQ(search(), 3);
    EXPECT_EQ(gridCodes(),
              (QStringList{QStringLiteral("1001"), QStringLiteral("1005"), QStringLiteral("1006"), QString()}));
    // Every row of the query is looked up for an execution, also the rows already dropped.
    EXPECT_EQ(rowsChecked(), 6);
}

TEST_F(SuisyouMeigaraTest, FreeSlotsOfTheDayLimitTheCandidates)
{
    addCandidates(1001, 6);
    sysBS.KounyuTensu = 3;
    addRegisteredReservation(1, QStringLiteral("2026-12-10 08:00:00"));
    addRegisteredReservation(2, QStringLiteral("2026-12-09 23:59:59")); // registered yesterday

    EXPECT_EQ(search(), 2);
    EXPECT_EQ(gridCodes(), (QStringList{QStringLiteral("1001"), QStringLiteral("1002"), QString()}));
    EXPECT_EQ(rowsChecked(), 2); // the walk ends right after the second candidate
}

TEST_F(SuisyouMeigaraTest, NoFreeSlotGivesNoneWithoutQueryAndTheListReset)
{
    addCandidates(1001, 2);
    sysBS.KounyuTensu = 2;
    for (const int number : {1, 2})
        addRegisteredReservation(number, QStringLiteral("2026-12-10 08:00:00"));
    appendBrandGridRow(grid, {QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("前日"), QString(), 1, 1});
    glngSelRandom = 0;

    EXPECT_EQ(search(), 0);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), QString());
    EXPECT_EQ(rowsChecked(), 0);
    EXPECT_EQ(glngSelRandom, 0); // the preset was not applied
}

TEST_F(SuisyouMeigaraTest, NoTickedMarketGivesNoneAndLeavesTheRecords)
{
    addCandidates(1001, 2);
    sysSizyou.SLSizyouT1 = 2; // not 1: not ticked
    sysSL.SLBaibaidaikin = 7;

    EXPECT_EQ(search(), 0);
    EXPECT_EQ(sysSizyou.SLSizyouT1, 2);
    EXPECT_EQ(sysSL.SLBaibaidaikin, 7);
    EXPECT_EQ(rowsChecked(), 0);
}

TEST_F(SuisyouMeigaraTest, ThePresetStaysInTheRecords)
{
    addCandidates(1001, 1);
    sysSizyou.SLSizyouT2 = 1;
    sysSizyou.SLSizyouN1 = 1;
    sysSL.SLSelTakayasu = 1;
    sysSL.SLRCISS = -50; // the RCI ranges are not part of the preset
    sysOD.ODRiekiWariaiUri1 = 3;

    search();

    EXPECT_EQ(sysSizyou.SLSizyouT1, 1);
    EXPECT_EQ(sysSizyou.SLSizyouT2, 0);
    EXPECT_EQ(sysSizyou.SLSizyouN1, 1);
    EXPECT_EQ(sysSL.SLBaibaidaikin, 50);
    EXPECT_EQ(sysSL.SLSelTakayasu, 0);
    EXPECT_EQ(sysSL.SLSMASWariKaiS, -10);
    EXPECT_EQ(sysSL.SLRCISS, -50);
    EXPECT_EQ(sysOD.ODRiekiWariaiUri1, 15);
    EXPECT_EQ(sysBS.SelHukuri, 1);
    EXPECT_EQ(glngSaiteiKabuka, 100);
}

TEST_F(SuisyouMeigaraTest, OwnCancelEndsAfterTheRowInHandAnotherOperationsDoesNot)
{
    addCandidates(1001, 4);
    jobs::CancelToken backTest;
    backTest.cancel();
    EXPECT_EQ(search(), 4);

    jobs::CancelToken screening;
    screening.cancel();
    EXPECT_EQ(search(screening), 1);
    EXPECT_EQ(gridCodes(), (QStringList{QStringLiteral("1001"), QString()}));
}

TEST_F(SuisyouMeigaraTest, ADayWithoutRowsGivesNone)
{
    addCandidates(1001, 2);
    EXPECT_EQ(searchSuisyouMeigara(1, label, grid, kDay.addDays(1), sysBS, sysSL, sysOD, sysSizyou, codes,
                                   jobs::CancelToken()),
              0);
    EXPECT_EQ(grid.Rows(), 2);
}

} // namespace
