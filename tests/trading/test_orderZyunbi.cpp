#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "core/modRegistry.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "support/TradingFixture.h"
#include "trading/modBrandGrid.h"
#include "trading/modOrderGrid.h"
#include "trading/modOrderZyunbi.h"

#include <QTimer>

namespace {

class OrderZyunbiTest : public TradingFixture {
protected:
    const QDateTime now{QDate(2026, 12, 10), QTime(8, 0)}; // a Thursday

    void SetUp() override
    {
        TradingFixture::SetUp();
        sys::setNow(now);
        gdtLastKabukaDate = QDate(2026, 12, 9);
        gdblKounyuRitu = 1.0;
        sysBS.TousiGanpon = 1000000;
        sysBS.KounyuTensu = 2;
        sysOD.ODKabusu = 1000;
        sysOD.ODBrand = QStringLiteral("7203");
        sysOD.ODSasiNariKai1 = 1;
        sysOD.ODSasiNariUri1 = 1;
        sysOD.ODKurikaesiKai = 1;
        sysOD.ODRiekiWariaiUri1 = 15;
        // One band, so that 2000 yen has the upper limit 2400; 5000 yen has none.
        gcnDB.execute(QStringLiteral("delete from tmpricerange"));
        gcnDB.execute(QStringLiteral("insert into tmpricerange values (1, 99, 30), (1500, 2499, 400)"));
        setBrandGridHeader(candidates);
        setOrderGrid(orders);
    }

    void addCandidate(const QString &code, double close, bool withPrice = true)
    {
        addBond(code, QStringLiteral("t1"), QStringLiteral("Co") + code);
        if (withPrice)
            addPrice(code, QStringLiteral("t1"), gdtLastKabukaDate, close);
        addBrandGridRow(candidates, code, QStringLiteral("t1"));
    }

    QList<QStringList> reservations()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select 予約番号, 銘柄コード, 株数, 処理区分, 指成区分買, "
                                                        "指成区分売, 繰返回数 from ttresevation order by 予約番号"));
        QList<QStringList> rows;
        while (st.step()) {
            QStringList row;
            for (int c = 0; c < 7; ++c)
                row << st.text(c);
            rows << row;
        }
        return rows;
    }

    QString storedDay()
    {
        return regGetString(HKEY_LOCAL_MACHINE, settingsSubKey(), QStringLiteral("LastOrderZyunbiDate"));
    }

    ui::FlexGrid candidates;
    ui::FlexGrid orders;
};

TEST_F(OrderZyunbiTest, BuysWholeUnitsAtTheUpperLimitOncePerDay)
{
    addCandidate(QStringLiteral("1001"), 2000); // 500000 / 2400 = 208.3: 200 shares
    EXPECT_EQ(Select2ORderGrid(candidates, orders, now), 1);
    EXPECT_EQ(reservations(), (QList<QStringList>{{QStringLiteral("1"), QStringLiteral("1001"), QStringLiteral("200"),
                                                   QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("2"),
                                                   QStringLiteral("1")}}));
    EXPECT_EQ(orders.Rows(), 2); // the order list was rebuilt
    EXPECT_EQ(gdtLastOrderZyunbiDate, now.date());
    EXPECT_EQ(storedDay(), QStringLiteral("46366"));

    // The live order record keeps what the user set.
    EXPECT_EQ(sysOD.ODKabusu, 1000);
    EXPECT_EQ(sysOD.ODBrand, QStringLiteral("7203"));
    EXPECT_EQ(sysOD.ODSasiNariKai1, 1);
    EXPECT_EQ(sysOD.ODSasiNariUri1, 1);

    // Again the same day: nothing but the frame and the money lines.
    addCandidate(QStringLiteral("1002"), 2000);
    restartLog();
    EXPECT_EQ(Select2ORderGrid(candidates, orders, now.addSecs(3600)), 0);
    EXPECT_EQ(reservations().size(), 1);
    EXPECT_EQ(logLines(),
              (QStringList{QStringLiteral("***■Select2ORderGrid開始"), QStringLiteral("***投資可能元本=1000000"),
                           QStringLiteral("***1銘柄あたりの元本=500000"), QStringLiteral("***■Select2ORderGrid終了")}));
}

TEST_F(OrderZyunbiTest, SkippedCandidatesAreLoggedWithTheirReason)
{
    sysBS.TousiGanpon = 300000; // 150000 per stock: 62.5 rounds to 62, no whole unit of 100
    sysBS.KounyuTensu = 8;
    gdblKounyuRitu = 1.0;
    addCandidate(QStringLiteral("1001"), 2000);
    addCandidate(QStringLiteral("1002"), 2000, false); // no price row on the processing day
    addCandidate(QStringLiteral("1003"), 5000);        // no price-limit band
    EXPECT_EQ(Select2ORderGrid(candidates, orders, now), 0);
    EXPECT_TRUE(reservations().isEmpty());
    const QStringList lines = logLines();
    for (const QString &line :
         {QStringLiteral("***銘柄情報(株数=0)"), QStringLiteral("***株数分購入できないためこの銘柄は抜かす(1001)"),
          QStringLiteral("***株価が取得できないため銘柄がないと判断しこの銘柄は抜かす(1002)"),
          QStringLiteral("***値幅制限が取得できないためこの銘柄は抜かす(1003)")})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    EXPECT_EQ(storedDay(), QStringLiteral("46366")); // the day counts as prepared
}

TEST_F(OrderZyunbiTest, OnlyFreeSlotsAndNoStockTwice)
{
    sysBS.KounyuTensu = 4;
    addCandidate(QStringLiteral("1001"), 2000);
    addReservation({{QStringLiteral("予約番号"), 1},
                    {QStringLiteral("銘柄コード"), QStringLiteral("1001")},
                    {QStringLiteral("市場コード"), QStringLiteral("t1")},
                    {QStringLiteral("処理区分"), 2}});
    addBond(QStringLiteral("1009"), QStringLiteral("t1"), QStringLiteral("Held"));
    addReservation({{QStringLiteral("予約番号"), 2},
                    {QStringLiteral("銘柄コード"), QStringLiteral("1009")},
                    {QStringLiteral("市場コード"), QStringLiteral("t1")},
                    {QStringLiteral("処理区分"), 0}});
    setOrderGrid(orders);
    addCandidate(QStringLiteral("1002"), 2000);
    addBrandGridRow(candidates, QStringLiteral("1002"), QStringLiteral("t1")); // listed twice
    addCandidate(QStringLiteral("1003"), 2000);
    addCandidate(QStringLiteral("1004"), 2000);

    EXPECT_EQ(Select2ORderGrid(candidates, orders, now), 2); // four slots, two taken
    const QList<QStringList> rows = reservations();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[2][1], QStringLiteral("1002"));
    EXPECT_EQ(rows[3][1], QStringLiteral("1003"));
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("***同一銘柄のためこの銘柄は抜かす(1001)")));
    EXPECT_EQ(lines.count(QStringLiteral("***同一銘柄のためこの銘柄は抜かす(1002)")), 1);
}

TEST_F(OrderZyunbiTest, ADayNotPreparedStaysOpen)
{
    addCandidate(QStringLiteral("1001"), 2000);
    const struct {
        const char *name;
        QDateTime at;
        int slotCount;
    } cases[] = {
        {"holiday", QDateTime(QDate(2026, 12, 31), QTime(8, 0)), 2},
        {"no free slot", now, 0},
    };
    for (const auto &c : cases) {
        sysBS.KounyuTensu = c.slotCount;
        EXPECT_EQ(Select2ORderGrid(candidates, orders, c.at), 0) << c.name;
        EXPECT_FALSE(gdtLastOrderZyunbiDate.isValid()) << c.name;
        EXPECT_NE(storedDay(), QStringLiteral("46366")) << c.name;
    }
    EXPECT_TRUE(reservations().isEmpty());
}

TEST_F(OrderZyunbiTest, APreparationStartedDuringOneDoesNothing)
{
    sysBS.KounyuTensu = 3;
    addCandidate(QStringLiteral("1001"), 2000);
    addCandidate(QStringLiteral("1002"), 2000);
    int nested = -1;
    QTimer::singleShot(0, [&] { nested = Select2ORderGrid(candidates, orders, now); });
    EXPECT_EQ(Select2ORderGrid(candidates, orders, now), 2);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(reservations().size(), 2);
    EXPECT_TRUE(logLines().contains(QStringLiteral("***■Select2ORderGrid実行中のため抜かす")));
}

TEST_F(OrderZyunbiTest, DaySerialText)
{
    EXPECT_EQ(daySerialText(QDate(2006, 1, 5)), QStringLiteral("38722"));
    EXPECT_EQ(dateFromDaySerialText(QStringLiteral("38722")), QDate(2006, 1, 5));
    EXPECT_FALSE(dateFromDaySerialText(QStringLiteral("2006/01/05")).isValid());
    EXPECT_FALSE(dateFromDaySerialText(QString()).isValid());

    regSetString(HKEY_LOCAL_MACHINE, settingsSubKey(), QStringLiteral("LastOrderZyunbiDate"), QStringLiteral("46366"));
    loadLastOrderZyunbiDate();
    EXPECT_EQ(gdtLastOrderZyunbiDate, now.date());
    addCandidate(QStringLiteral("1001"), 2000);
    EXPECT_EQ(Select2ORderGrid(candidates, orders, now), 0); // prepared before the restart
}

} // namespace

namespace {

// A capital read from the broker's balance already holds the profit realised before the
// read: only a profit realised after it is added. The user's own capital (paper mode, or
// no balance read) adds every profit realised since the start date.
TEST_F(OrderZyunbiTest, RealisedProfitIsAddedOnlyWhenTheCapitalDoesNotHoldItYet)
{
    const QDateTime sold(QDate(2026, 12, 8), QTime(10, 0));
    struct Case {
        const char *name;
        int paper;
        QDateTime readAt; // the balance read the capital came from; invalid for none
        qint64 perStock;
    } const cases[] = {
        {"real, read after the sale", 0, sold.addSecs(3600), 500000},
        {"real, read before the sale", 0, sold.addSecs(-3600), 650000},
        {"real, no balance read", 0, QDateTime(), 650000},
        {"paper", 1, sold.addSecs(3600), 650000},
    };
    sysBS.StartDate = QDateTime(QDate(2026, 12, 1), QTime(0, 0));
    addBond(QStringLiteral("1001"), QStringLiteral("t1"), QStringLiteral("Co1001"));
    addReservation({{QStringLiteral("予約番号"), 1},
                    {QStringLiteral("銘柄コード"), QStringLiteral("1001")},
                    {QStringLiteral("市場コード"), QStringLiteral("t1")},
                    {QStringLiteral("処理区分"), 9},
                    {QStringLiteral("登録日付"), QStringLiteral("2026-12-02 09:00:00")},
                    {QStringLiteral("約定日付売"), QStringLiteral("2026-12-08 10:00:00")}});
    gcnDB.execute(
        QStringLiteral("insert into ttcontracthistory (予約番号, 銘柄コード, 市場コード, 売買区分, 約定金額,"
                       " 約定株数) values (1, '1001', 't1', '1', 1000, 100), (1, '1001', 't1', '2', 4000, 100)"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        sysBS.SelZituKounyu = c.paper;
        sysBS.TousiGanponDate = c.readAt.isValid() ? c.readAt : kZeroDate;
        restartLog();
        Select2ORderGrid(candidates, orders, now);
        EXPECT_TRUE(logLines().contains(QStringLiteral("***1銘柄あたりの元本=") + QString::number(c.perStock)));
    }
}

} // namespace
