#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "support/TradingFixture.h"
#include "trading/modSizing.h"

#include <QLocale>

namespace {

class SizingTest : public TradingFixture {
protected:
    const QDateTime start{QDate(2026, 12, 1), QTime(15, 30)};

    void SetUp() override
    {
        TradingFixture::SetUp();
        gdtLastKabukaDate = QDate(2026, 12, 9);
        addBond(QStringLiteral("1001"), QStringLiteral("t1"), QStringLiteral("A"));
        addBond(QStringLiteral("1002"), QStringLiteral("t1"), QStringLiteral("B"));
    }

    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        TradingFixture::TearDown();
    }

    void addPosition(qint64 number, const QString &code, int state, const QString &registered)
    {
        addReservation({{QStringLiteral("予約番号"), number},
                        {QStringLiteral("銘柄コード"), code},
                        {QStringLiteral("市場コード"), QStringLiteral("t1")},
                        {QStringLiteral("処理区分"), state},
                        {QStringLiteral("登録日付"), registered}});
    }

    void addExecution(qint64 number, const QString &code, const QString &side, qint64 price, qint64 shares)
    {
        gcnDB.execute(QStringLiteral("insert into ttcontracthistory (予約番号, 銘柄コード, 市場コード, 売買区分,"
                                     " 約定金額, 約定株数) values (?, ?, 't1', ?, ?, ?)"),
                      number, code, side, price, shares);
    }
};

TEST_F(SizingTest, SlotsByCapital)
{
    const QList<QPair<qint64, int>> cases{{0, 2},       {599999, 2},  {600000, 3},  {1199999, 3}, {1200000, 4},
                                          {1999999, 4}, {2000000, 5}, {5000000, 5}, {5000001, 8}, {8000000000, 8}};
    BS record;
    for (const auto &[capital, slotCount] : cases) {
        setKounyuTensu(capital, record);
        EXPECT_EQ(record.KounyuTensu, slotCount) << capital;
    }
}

TEST_F(SizingTest, MoneyPerPurchaseSharesTheFreeSlots)
{
    sysBS.KounyuTensu = 5;
    gdblKounyuRitu = 0.995;
    glngNanpinTensu = 2;
    const struct {
        qint64 amount;
        int held;
        int mode;
        qint64 money;
    } cases[] = {
        {1000000, 2, 0, 331666},        // 333333 × 0.995 = 331666.335
        {1000000, 5, 0, 0},             // no free slot
        {1000000, 6, 0, 0},             // more held than slots
        {1000000, 5, 1, 497500},        // averaging-down slots: 2 free
        {6000000000, 0, 0, 1194000000}, // beyond 32 bits
    };
    for (const auto &c : cases) {
        glngMotiMeigaraCount = c.held;
        EXPECT_EQ(getKounyuKingaku(c.amount, c.mode), c.money) << c.amount << " " << c.held;
    }
}

TEST_F(SizingTest, HeldMoneyCountsEachPositionOnceWithOrWithoutAPriceRow)
{
    EXPECT_EQ(getHoyuuKingaku(start), 0);
    EXPECT_EQ(glngMotiMeigaraCount, 0);

    addPrice(QStringLiteral("1001"), QStringLiteral("t1"), gdtLastKabukaDate, 1000);
    addPosition(1, QStringLiteral("1001"), 2, QStringLiteral("2026-12-01 09:00:00")); // bought in two parts
    addExecution(1, QStringLiteral("1001"), QStringLiteral("1"), 1000, 100);
    addExecution(1, QStringLiteral("1001"), QStringLiteral("1"), 1010, 200);
    addPosition(2, QStringLiteral("1002"), 3, QStringLiteral("2026-12-05 09:00:00")); // no price row that day
    addExecution(2, QStringLiteral("1002"), QStringLiteral("1"), 2000000, 3000);
    addExecution(2, QStringLiteral("1002"), QStringLiteral("2"), 2000000, 1000);      // a sale is no cost
    addPosition(3, QStringLiteral("1001"), 9, QStringLiteral("2026-12-05 09:00:00")); // finished
    addExecution(3, QStringLiteral("1001"), QStringLiteral("1"), 1000, 100);
    addPosition(4, QStringLiteral("1001"), 2, QStringLiteral("2026-11-30 23:59:59")); // before the start day
    addExecution(4, QStringLiteral("1001"), QStringLiteral("1"), 1000, 100);

    EXPECT_EQ(getHoyuuKingaku(start), 100000 + 202000 + qint64(6000000000));
    EXPECT_EQ(glngMotiMeigaraCount, 2);
}

// A row that holds shares is a held position whatever its state says: averaged down and
// waiting for its extra buy, partly bought, or left finished with shares by an earlier
// version. It counts as held money only, never also in the realised profit.
TEST_F(SizingTest, RowsHoldingSharesCountAsHeld)
{
    const struct {
        qint64 number;
        int state;
        qint64 bought;
        qint64 sold;
    } rows[] = {{1, 0, 500, 0}, {2, 1, 300, 0}, {3, 9, 500, 500}, {4, 0, 0, 0}, {5, 9, 400, 100}};
    for (const auto &r : rows) {
        addReservation({{QStringLiteral("予約番号"), r.number},
                        {QStringLiteral("銘柄コード"), QStringLiteral("1001")},
                        {QStringLiteral("市場コード"), QStringLiteral("t1")},
                        {QStringLiteral("処理区分"), r.state},
                        {QStringLiteral("約定株数買"), r.bought},
                        {QStringLiteral("約定株数売"), r.sold},
                        {QStringLiteral("登録日付"), QStringLiteral("2026-12-01 09:00:00")}});
        if (r.bought > 0)
            addExecution(r.number, QStringLiteral("1001"), QStringLiteral("1"), 1000, r.bought);
    }
    EXPECT_EQ(getHoyuuKingaku(start), 500000 + 300000 + 400000);
    EXPECT_EQ(glngMotiMeigaraCount, 3);
    EXPECT_EQ(getKakuteiSoneki(start), -500000) << "the finished row 3 only";
}

TEST_F(SizingTest, RealisedProfitOfFinishedReservationsWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    addPosition(1, QStringLiteral("1001"), 9, QStringLiteral("2026-12-01 00:00:00"));
    addExecution(1, QStringLiteral("1001"), QStringLiteral("1"), 1000, 100);
    addExecution(1, QStringLiteral("1001"), QStringLiteral("2"), 1100, 100);
    addPosition(2, QStringLiteral("1002"), 9, QStringLiteral("2026-12-08 10:00:00")); // a loss
    addExecution(2, QStringLiteral("1002"), QStringLiteral("1"), 500, 200);
    addExecution(2, QStringLiteral("1002"), QStringLiteral("2"), 450, 200);
    addPosition(3, QStringLiteral("1001"), 2, QStringLiteral("2026-12-08 10:00:00")); // still held
    addExecution(3, QStringLiteral("1001"), QStringLiteral("1"), 1000, 100);
    addPosition(4, QStringLiteral("1001"), 9, QStringLiteral("2026-11-30 10:00:00")); // before the start
    addExecution(4, QStringLiteral("1001"), QStringLiteral("2"), 1000, 100);
    addPosition(5, QStringLiteral("9999"), 9, QStringLiteral("2026-12-08 10:00:00")); // not in the master
    addExecution(5, QStringLiteral("9999"), QStringLiteral("2"), 1000, 100);

    EXPECT_EQ(getKakuteiSoneki(start), 10000 - 10000);
}

} // namespace
