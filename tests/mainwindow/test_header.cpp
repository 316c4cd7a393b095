#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "mainwindow/Header.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "support/FakeQuoteSite.h"
#include "trading/TradingFixture.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(HeaderFigures, AvailableTotalRateAndDays)
{
    const QDate today(2026, 12, 10);
    const QDate unset = kZeroDate.date();
    const struct {
        const char *name;
        qint64 capital, held, realised;
        bool paper;
        QDate start;
        qint64 available, total, rate, days;
    } cases[] = {
        {"real mode gain", 1000000, 0, 50000, false, today.addDays(-30), 1000000, 1000000, 105, 30},
        {"paper mode gain", 1000000, 0, 50000, true, today, 1050000, 1050000, 105, 0},
        {"real mode large gain", 1500000, 0, 500000, false, unset, 1500000, 1500000, 150, 0},
        {"paper mode large gain", 1000000, 0, 500000, true, unset, 1500000, 1500000, 150, 0},
        {"paper mode large loss", 1000000, 0, -500000, true, unset, 500000, 500000, 50, 0},
        {"paper mode gain with holdings", 1000000, 300000, 250000, true, unset, 950000, 1250000, 125, 0},
        {"paper mode realised equal to capital", 500000, 0, 500000, true, unset, 1000000, 1000000, 200, 0},
        {"paper mode capital 0", 0, 0, 5000, true, unset, 5000, 5000, 0, 0},
        {"loss with holdings", 1000000, 300000, -100000, false, unset, 700000, 1000000, 90, 0},
        {"capital 0", 0, 0, 5000, false, unset, 0, 0, 0, 0},
        {"realised equal to capital", 500000, 0, 500000, false, unset, 500000, 500000, 0, 0},
        {"beyond 32 bits", 3000000000LL, 2500000000LL, 0, false, unset, 500000000, 3000000000LL, 100, 0},
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

class HeaderLabelsTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        saved = sysBS;
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    }
    void TearDown() override
    {
        sysBS = saved;
        TradingFixture::TearDown();
    }
    BS saved;
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
        addReservation({{QStringLiteral("予約番号"), 5},
                        {QStringLiteral("銘柄コード"), QStringLiteral("1234")},
                        {QStringLiteral("市場コード"), QStringLiteral("t1")},
                        {QStringLiteral("処理区分"), 2},
                        {QStringLiteral("約定金額買"), 1000},
                        {QStringLiteral("割合売1"), 10}});
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
    addReservation({{QStringLiteral("予約番号"), 5},
                    {QStringLiteral("銘柄コード"), stock.code},
                    {QStringLiteral("市場コード"), stock.market},
                    {QStringLiteral("処理区分"), 2},
                    {QStringLiteral("約定金額買"), int(price * 2)}});
    showChartInfo(panel, quotes, 1, stock.code, stock.market, 5);
    EXPECT_TRUE(genzaiti.text().endsWith(QStringLiteral("　-50%"))) << genzaiti.text().toStdString();
}

} // namespace
