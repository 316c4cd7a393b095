#include "core/modGlobal.h"
#include "core/modLookup.h"
#include "support/ProgramDirFixture.h"
#include "support/ReservationRows.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

const QDate kDay(2006, 3, 31);

class Lookup : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        addBond(QStringLiteral("7203"), QStringLiteral("t1"), QStringLiteral("トヨタ自動車"), 100);
        addBond(QStringLiteral("9999"), QStringLiteral("zz"), QStringLiteral("市場なし"), 1000); // no tmmarket row
        // code, market, close, open, high, low, volume, adjusted close
        addPrice(QStringLiteral("7203"), QStringLiteral("t1"), kDay, 1000, 1000, 1100, 900, 12345, 500);
        addPrice(QStringLiteral("7203"), QStringLiteral("t1"), kDay.addDays(-1), 1000, 990, 1010, 980, 100, 0);
        addPrice(QStringLiteral("7203"), QStringLiteral("t1"), kDay.addDays(-2), 0, 990, 1010, 980, 100, 700);
        addPrice(QStringLiteral("8000"), QStringLiteral("t1"), kDay, 500, 500, 500, 500, 1, 500); // no tmbond row
        addPrice(QStringLiteral("9999"), QStringLiteral("zz"), kDay, 500, 500, 500, 500, 1, 500);
        gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付) values (?, ?, ?)"),
                      QStringLiteral("7203"), QStringLiteral("t1"), kDay.addDays(-3)); // every price empty
    }

    static void addBond(const QString &code, const QString &market, const QString &name, int unit)
    {
        gcnDB.execute(
            QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 単元株数) values (?, ?, ?, ?)"), code,
            market, name, unit);
    }

    static void addPrice(const QString &code, const QString &market, const QDate &day, int close, int open, int high,
                         int low, qint64 volume, double adjusted)
    {
        gcnDB.execute(
            QStringLiteral(
                "insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 始値, 高値, 安値, 出来高, 調整終値)"
                " values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            code, market, day, close, open, high, low, volume, adjusted);
    }

    static void addReservationWithPrices(qint64 number, const QString &code, double buy, double sell, double rate)
    {
        addReservation({.予約番号 = number,
                        .銘柄コード = code,
                        .割合売1 = rate,
                        .市場コード = QStringLiteral("t1"),
                        .約定金額買 = buy,
                        .約定金額売 = sell});
    }
};

TEST_F(Lookup, StockDayOnTheAdjustedScale)
{
    KabukaInfo info;
    ASSERT_EQ(getKabukaInfo(QStringLiteral("7203"), QStringLiteral("t1"), kDay, info), 1);
    EXPECT_EQ(info.companyName, QStringLiteral("トヨタ自動車"));
    EXPECT_EQ(info.marketName, QStringLiteral("東1"));
    EXPECT_DOUBLE_EQ(info.open, 500.0);
    EXPECT_DOUBLE_EQ(info.close, 500.0);
    EXPECT_DOUBLE_EQ(info.high, 550.0);
    EXPECT_DOUBLE_EQ(info.low, 450.0);
    EXPECT_EQ(info.unitShares, 100);
    EXPECT_EQ(info.volume, 12345);

    // A row without its close is not divided by zero.
    ASSERT_EQ(getKabukaInfo(QStringLiteral("7203"), QStringLiteral("t1"), kDay.addDays(-2), info), 1);
    EXPECT_DOUBLE_EQ(info.open, 700.0);
    EXPECT_DOUBLE_EQ(info.high, 700.0);
}

TEST_F(Lookup, StockDayNotFound)
{
    const struct {
        const char16_t *code;
        const char16_t *market;
        QDate day;
    } misses[] = {
        {u"7203", u"t1", kDay.addDays(1)},  // no price that day
        {u"7203", u"t1", kDay.addDays(-1)}, // adjusted close 0
        {u"8000", u"t1", kDay},             // no stock master row
        {u"9999", u"zz", kDay},             // no market row
        {u"7203' or '1'='1", u"t1", kDay},  // a quote is a character of the code
    };
    for (const auto &m : misses) {
        KabukaInfo info;
        info.companyName = QStringLiteral("前の名前");
        info.open = 9;
        info.unitShares = 7;
        EXPECT_EQ(getKabukaInfo(QString::fromUtf16(m.code), QString::fromUtf16(m.market), m.day, info), 0);
        EXPECT_EQ(info.companyName, QStringLiteral("前の名前"));
        EXPECT_EQ(info.open, 0);
        EXPECT_EQ(info.unitShares, 1);
    }
}

TEST_F(Lookup, StockDayWithWholePrices)
{
    KabukaInfo2 info;
    ASSERT_EQ(getKabukaInfo2(QStringLiteral("7203"), QStringLiteral("t1"), kDay.addDays(-1), info), 1);
    EXPECT_EQ(info.close, 0);
    EXPECT_EQ(info.unitShares, 100);
    EXPECT_EQ(info.marketName, QStringLiteral("東1"));

    // Empty columns read as 0 and empty text.
    ASSERT_EQ(getKabukaInfo2(QStringLiteral("7203"), QStringLiteral("t1"), kDay.addDays(-3), info), 1);
    EXPECT_EQ(info.close, 0);

    info.companyName = QStringLiteral("前の名前");
    EXPECT_EQ(getKabukaInfo2(QStringLiteral("8000"), QStringLiteral("t1"), kDay, info), 0);
    EXPECT_TRUE(info.companyName.isEmpty());
    EXPECT_TRUE(info.marketName.isEmpty());
    EXPECT_EQ(info.unitShares, 1);
}

TEST_F(Lookup, ReservationPrices)
{
    addReservationWithPrices(1, QStringLiteral("7203"), 1000, 0, 5);
    addReservationWithPrices(2, QStringLiteral("7203"), 999, 0, 2.5);
    addReservationWithPrices(3, QStringLiteral("7203"), 1000, 1234.5, 5);
    addReservationWithPrices(4, QStringLiteral("8000"), 1000, 0, 5);
    const struct {
        qint64 number;
        int found;
        int buy;
        int sell;
    } cases[] = {{1, 1, 1000, 1050}, {2, 1, 999, 1023}, {3, 1, 1000, 1234}, {4, 0, 0, 0}, {5, 0, 0, 0}};
    for (const auto &c : cases) {
        ReservationInfo info;
        info.buyPrice = 77;
        EXPECT_EQ(getReservationInfo(c.number, info), c.found) << c.number;
        EXPECT_EQ(info.buyPrice, c.buy) << c.number;
        EXPECT_EQ(info.sellPrice, c.sell) << c.number;
    }
}

TEST_F(Lookup, MarketBoxAndCode)
{
    QComboBox combo;
    setSizyouCombo(&combo);
    ASSERT_GT(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), QString());
    EXPECT_EQ(combo.itemText(1), QStringLiteral("東1"));
    EXPECT_EQ(combo.itemText(2), QStringLiteral("東2"));
    EXPECT_EQ(getSizyouCode(QStringLiteral("東2")), QStringLiteral("t2"));
    EXPECT_EQ(getSizyouCode(QString()), QString());
    EXPECT_EQ(getSizyouCode(QStringLiteral("東1' or '1'='1")), QString());

    BS base;
    EXPECT_EQ(getDefaultTwo(base, 0), 2);
    EXPECT_EQ(getDefaultTwo(base, 5000000), 2);
}

} // namespace
