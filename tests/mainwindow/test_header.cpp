#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "mainwindow/Header.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "support/FakeQuoteSite.h"
#include "support/TradingFixture.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(HeaderFigures, AvailableTotalRateAndDays)
{
    const QDate today(2026, 12, 10);
    const QDate unset = kZeroDate.date();
    const struct {
        const char *name;
        qint64 capital;
        qint64 held = 0;
        qint64 realised;
        bool paper = false;
        QDate start;
        qint64 available, total, rate;
        qint64 days = 0;
    } cases[] = {
        {.name = "real mode gain",
         .capital = 1000000,
         .realised = 50000,
         .start = today.addDays(-30),
         .available = 1000000,
         .total = 1000000,
         .rate = 105,
         .days = 30},
        {.name = "paper mode gain",
         .capital = 1000000,
         .realised = 50000,
         .paper = true,
         .start = today,
         .available = 1050000,
         .total = 1050000,
         .rate = 105},
        {.name = "real mode large gain",
         .capital = 1500000,
         .realised = 500000,
         .start = unset,
         .available = 1500000,
         .total = 1500000,
         .rate = 150},
        {.name = "paper mode large gain",
         .capital = 1000000,
         .realised = 500000,
         .paper = true,
         .start = unset,
         .available = 1500000,
         .total = 1500000,
         .rate = 150},
        {.name = "paper mode large loss",
         .capital = 1000000,
         .realised = -500000,
         .paper = true,
         .start = unset,
         .available = 500000,
         .total = 500000,
         .rate = 50},
        {.name = "paper mode gain with holdings",
         .capital = 1000000,
         .held = 300000,
         .realised = 250000,
         .paper = true,
         .start = unset,
         .available = 950000,
         .total = 1250000,
         .rate = 125},
        {.name = "paper mode realised equal to capital",
         .capital = 500000,
         .realised = 500000,
         .paper = true,
         .start = unset,
         .available = 1000000,
         .total = 1000000,
         .rate = 200},
        {.name = "paper mode capital 0",
         .capital = 0,
         .realised = 5000,
         .paper = true,
         .start = unset,
         .available = 5000,
         .total = 5000,
         .rate = 0},
        {.name = "loss with holdings",
         .capital = 1000000,
         .held = 300000,
         .realised = -100000,
         .start = unset,
         .available = 700000,
         .total = 1000000,
         .rate = 90},
        {.name = "capital 0", .capital = 0, .realised = 5000, .start = unset, .available = 0, .total = 0, .rate = 0},
        {.name = "realised equal to capital",
         .capital = 500000,
         .realised = 500000,
         .start = unset,
         .available = 500000,
         .total = 500000,
         .rate = 0},
        {.name = "beyond 32 bits",
         .capital = 3000000000LL,
         .held = 2500000000LL,
         .realised = 0,
         .start = unset,
         .available = 500000000,
         .total = 3000000000LL,
         .rate = 100},
    };
    for (const auto &c : cases) {
        const HeaderFigures f = headerFigures(c.capital, c.held, c.realised, c.paper, c.start, today);
        EXPECT_EQ(f.available, c.available) << c.name;
        EXPECT_EQ(f.held, c.held) << c.name;
        EXPECT_EQ(f.total, c.total) << c.name;
        EXPECT_EQ(f.rate, c.rate) << c.name;
        EXPECT_EQ(f.days, c.days) << c.name;
    }
}

// Totals whose percentage of the capital floating point puts just below the whole number
// (1.15 * 100 is 114.999...): the rate is cut to the whole percent it is, never one below.
TEST(HeaderFigures, RateIsTheWholePercentOfExactTotals)
{
    const struct {
        qint64 capital, realised;
        bool paper;
        qint64 rate;
    } cases[] = {
        {1000000, 150000, true, 115},   {1000000, 130000, true, 113},   {1000000, -430000, true, 57},
        {1000000, 290000, true, 129},   {1000000, 0, true, 100},        {1000000, 149999, true, 114},
        {1000000, -1150000, true, -15}, {1000000, -1150001, true, -16}, {3, -2, true, 33},
        {1150000, 150000, false, 115},  {1130000, 130000, false, 113},  {570000, -430000, false, 57},
        {100000, 130000, false, -334},
    };
    for (const auto &c : cases) {
        const HeaderFigures f = headerFigures(c.capital, 0, c.realised, c.paper, QDate(), QDate(2026, 12, 10));
        EXPECT_EQ(f.rate, c.rate) << c.capital << (c.paper ? " paper " : " real ") << c.realised;
    }
}

// The price line's gain is cut to the whole percent the price is of the buy price, as the
// header's rate is: an exact percentage never shows one below (1,150 / 1,000 * 100 is
// 114.999... in floating point).
TEST(PositionGain, IsTheWholePercentOfTheBuyPrice)
{
    const struct {
        int buyPrice;
        double price;
        const char16_t *shown;
    } cases[] = {
        {1000, 1150, u"　+15%"},
        {900, 1035, u"　+15%"},
        {4950, 5742, u"　+16%"},
        {1000, 1290, u"　+29%"},
        {1000, 1049, u"　+4%"},
        {1000, 1000, u"　+0%"},
        {1000, 950, u"　-5%"},
        {1000, 999.9, u"　-1%"},
        {1000, 1150.5, u"　+15%"},
        {2000, 2580.1, u"　+29%"},
        {3, 1, u"　-67%"},
        {0, 1234, u"　+0%"},
        {1000, 0, u""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(positionGain(c.price, c.buyPrice).toStdString(), QString::fromUtf16(c.shown).toStdString())
            << c.buyPrice << " -> " << c.price;
}

class HeaderLabelsTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    }
};

TEST_F(HeaderLabelsTest, WritesTheFiveLabels)
{
    sysBS.TousiGanpon = 1000000;
    sysBS.SelZituKounyu = 0;
    sysBS.StartDate = QDateTime(QDate(2026, 12, 1), QTime(0, 0));
    QLabel available, held, total, rate, days;
    setHeader({&available, &held, &total, &rate, &days});
    EXPECT_EQ(available.text(), QStringLiteral("1,000,000円"));
    EXPECT_EQ(held.text(), QStringLiteral("0円"));
    EXPECT_EQ(total.text(), QStringLiteral("1,000,000円"));
    EXPECT_EQ(rate.text(), QStringLiteral("100%"));
    EXPECT_EQ(days.text(), QStringLiteral("9日"));
}

class ChartInfoTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        gdtLastKabukaDate = QDate(2026, 12, 9);
        addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("ABC"));
        addPrice(QStringLiteral("1234"), QStringLiteral("t1"), gdtLastKabukaDate, 1000);
        addReservation({.予約番号 = 5,
                        .銘柄コード = QStringLiteral("1234"),
                        .処理区分 = 2,
                        .割合売1 = 10,
                        .市場コード = QStringLiteral("t1"),
                        .約定金額買 = 1000});
        quotes.setTimeouts(std::chrono::milliseconds(500), std::chrono::milliseconds(1000));
    }
    ChartInfoPanel panel()
    {
        return {&brandName, &genzaiti, &zenzituHi, &takaYasu,  &buyTanka,
                &selTanka,  &kounyu,   &rieki,     &linKounyu, &linRieki};
    }
    QLabel brandName, genzaiti, zenzituHi, takaYasu, buyTanka, selTanka, kounyu, rieki;
    QWidget linKounyu, linRieki;
    net::Inet quotes;
};

// No quote site is configured: the quote fails, so the live values stay 0.
TEST_F(ChartInfoTest, FailedQuoteAndStalePrices)
{
    showChartInfo(panel(), quotes, 1, QStringLiteral("1234"), QStringLiteral("t1"), 5);
    EXPECT_TRUE(brandName.text().startsWith(QStringLiteral("ABC : 1234 : ")));
    EXPECT_EQ(zenzituHi.text(), QString());
    // No quote is no loss: the gain stays off, as the change line does.
    EXPECT_EQ(genzaiti.text(), QStringLiteral("現在値 0 (00:00)"));
    EXPECT_EQ(takaYasu.text(), QStringLiteral("高値 1,000 安値 1,000"));
    EXPECT_EQ(buyTanka.text(), QStringLiteral("(1,000)"));
    EXPECT_EQ(selTanka.text(), QStringLiteral("(1,100)"));
    EXPECT_FALSE(linRieki.isHidden());

    // A candidate without a reservation: the previous stock's prices do not stay.
    showChartInfo(panel(), quotes, 1, QStringLiteral("1234"), QStringLiteral("t1"), 0);
    EXPECT_EQ(buyTanka.text(), QString());
    EXPECT_EQ(selTanka.text(), QString());
    EXPECT_EQ(genzaiti.text(), QStringLiteral("現在値 0 (00:00)"));

    showChartInfo(panel(), quotes, 0, QString(), QString(), 0);
    EXPECT_EQ(brandName.text(), QStringLiteral("売買実績"));
    for (const QLabel *label : {&zenzituHi, &genzaiti, &takaYasu, &buyTanka, &selTanka})
        EXPECT_EQ(label->text(), QString());
    for (const QWidget *mark : {static_cast<QWidget *>(&linKounyu), static_cast<QWidget *>(&linRieki),
                                static_cast<QWidget *>(&kounyu), static_cast<QWidget *>(&rieki)})
        EXPECT_TRUE(mark->isHidden());
}

class LiveQuoteTest : public TradingFixture {};

TEST_F(LiveQuoteTest, ChangeLineByRiseEqualAndFall)
{
    sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 30)));
    FakeQuoteSite site;
    site.start();
    site.writeSiteFile(dir());
    const FakeStock &stock = site.market().stocks().front();
    const double price = site.market().quote(stock.code, stock.market, sys::now(), false).price;
    ASSERT_GT(price, 20);
    gdtLastKabukaDate = QDate(2026, 12, 9);
    addBond(stock.code, stock.market, QStringLiteral("ABC"));
    QLabel brandName, genzaiti, zenzituHi, takaYasu, buyTanka, selTanka, kounyu, rieki;
    QWidget linKounyu, linRieki;
    const ChartInfoPanel panel{&brandName, &genzaiti, &zenzituHi, &takaYasu,  &buyTanka,
                               &selTanka,  &kounyu,   &rieki,     &linKounyu, &linRieki};
    net::Inet quotes;
    const struct {
        double close;
        QString sign;
        QColor colour;
    } cases[] = {
        {price - 10, QStringLiteral("+"), QColor(255, 255, 0)},
        {price, QString(), QColor(255, 0, 0)},
        {price + 10, QString(), QColor(255, 0, 0)},
    };
    for (const auto &c : cases) {
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        addPrice(stock.code, stock.market, gdtLastKabukaDate, c.close);
        showChartInfo(panel, quotes, 1, stock.code, stock.market, 0);
        const double change = price - c.close;
        EXPECT_EQ(zenzituHi.text(), QStringLiteral("前日比 ") + c.sign + text::formatThousands(change) +
                                        QStringLiteral("　") + text::formatThousands2(change / c.close * 100) +
                                        QStringLiteral("%"))
            << c.close;
        EXPECT_EQ(zenzituHi.palette().color(QPalette::WindowText), c.colour) << c.close;
        EXPECT_TRUE(genzaiti.text().startsWith(QStringLiteral("現在値 ") + text::formatThousands(price) +
                                               QStringLiteral(" (10:")))
            << genzaiti.text().toStdString();
    }
    // With a quote the held position's gain shows: bought at twice the price, half is lost.
    addReservation({.予約番号 = 5,
                    .銘柄コード = stock.code,
                    .処理区分 = 2,
                    .市場コード = stock.market,
                    .約定金額買 = int(price * 2)});
    showChartInfo(panel, quotes, 1, stock.code, stock.market, 5);
    EXPECT_TRUE(genzaiti.text().endsWith(QStringLiteral("　-50%"))) << genzaiti.text().toStdString();
}

} // namespace
