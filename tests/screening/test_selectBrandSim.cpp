#include "screening/SimuFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/ui/Printer.h"
#include "screening/frmSimu.h"
#include "screening/modSelectBrandSim.h"
#include "support/ReservationRows.h"

#include <QListWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

class SelectBrandSimTest : public SimuFixture {
protected:
    void SetUp() override
    {
        SimuFixture::SetUp();
        addReferenceDays(QDate(2026, 3, 2), QDate(2026, 3, 6));
        // Three stocks in the order of their close to 中期SMA.
        int code = 3001;
        for (double smaM : {2000, 1500, 1200}) {
            addStock(QString::number(code), u"t1"_s, 100, u"株式会社"_s + QString::number(code));
            addFlat(QString::number(code), u"t1"_s, 1000, QDate(2026, 3, 2), QDate(2026, 3, 6), smaM);
            ++code;
        }
    }

    static QStringList codes(const std::vector<SimCandidate> &candidates)
    {
        QStringList result;
        for (const SimCandidate &candidate : candidates)
            result << candidate.code + u'/' + candidate.market;
        return result;
    }
};

TEST_F(SelectBrandSimTest, LimitAndMarketsBoundTheCandidates)
{
    const QDate day(2026, 3, 5);
    const jobs::CancelToken cancel;
    EXPECT_EQ(codes(selectBrandSim(day, 3, simBS, simSL, simOD, simSizyou, cancel)),
              (QStringList{u"3001/t1"_s, u"3002/t1"_s, u"3003/t1"_s}));
    EXPECT_EQ(codes(selectBrandSim(day, 2, simBS, simSL, simOD, simSizyou, cancel)),
              (QStringList{u"3001/t1"_s, u"3002/t1"_s}));
    EXPECT_TRUE(selectBrandSim(day, 0, simBS, simSL, simOD, simSizyou, cancel).empty());
    EXPECT_TRUE(selectBrandSim(day, 3, simBS, simSL, simOD, Sizyou{}, cancel).empty());
}

TEST_F(SelectBrandSimTest, LiveReservationsDoNotCount)
{
    for (int number = 1; number <= 5; ++number)
        addRegisteredReservation(number, u"2026-03-05 10:00:00"_s);
    EXPECT_EQ(selectBrandSim(QDate(2026, 3, 5), 3, simBS, simSL, simOD, simSizyou, jobs::CancelToken{}).size(), 3u);
}

TEST_F(SelectBrandSimTest, CancelEndsAfterTheRowInHandAndIsNeverCleared)
{
    jobs::CancelToken cancel;
    cancel.cancel();
    EXPECT_EQ(codes(selectBrandSim(QDate(2026, 3, 5), 3, simBS, simSL, simOD, simSizyou, cancel)),
              QStringList{u"3001/t1"_s});
    EXPECT_TRUE(cancel.isCancelled());
}

// With the position test on, a stock at the top of its 180-day range (band 0 to 30%) drops out.
TEST_F(SelectBrandSimTest, PositionTestDropsAStockOutsideItsBand)
{
    addBar({.code = u"3002"_s, .day = QDate(2026, 2, 27), .open = 500});
    simSL.SLSelTakayasu = 1;
    simSL.SLWariaiS = 0;
    simSL.SLWariaiE = 30;
    EXPECT_EQ(codes(selectBrandSim(QDate(2026, 3, 5), 3, simBS, simSL, simOD, simSizyou, jobs::CancelToken{})),
              (QStringList{u"3001/t1"_s, u"3003/t1"_s}));
}

TEST_F(SelectBrandSimTest, ReservationListShowsOpenReservations)
{
    addReservation({.予約番号 = 12,
                    .銘柄コード = u"3001"_s,
                    .株数 = 1500,
                    .処理区分 = 2,
                    .登録日付 = u"2026-03-05 10:00:00"_s,
                    .更新日付 = u"2026-03-05 10:00:00"_s,
                    .市場コード = u"t1"_s});
    addReservation({.予約番号 = 13,
                    .銘柄コード = u"3002"_s,
                    .株数 = 100,
                    .処理区分 = 9,
                    .登録日付 = u"2026-03-05 10:00:00"_s,
                    .更新日付 = u"2026-03-05 11:00:00"_s,
                    .市場コード = u"t1"_s});
    ui::PrintDialog printDialog;
    frmSimu window(printDialog);
    QListWidget list;
    window.setList(list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(),
              u"予約番号\tコード\t会社名                                  \t           株数\t状態        "_s);
    EXPECT_EQ(list.item(1)->text(),
              u"      12\t3001\t株式会社3001                            \t          1,500\t買約定      "_s);
}

} // namespace
