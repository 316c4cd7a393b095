#include "QuoteSiteFixture.h"
#include "marketdata/modTimeStocks.h"
#include "marketdata/modYahoo.h"
#include "platform/sys/Clock.h"

#include <curl/curl.h>

using Failure = FakeQuoteSite::Failure;

namespace {

class YahooModuleTest : public QuoteSiteFixture {
protected:
    void SetUp() override
    {
        QuoteSiteFixture::SetUp();
        sys::setNow(QDateTime(QDate(2007, 3, 29), QTime(10, 15, 30)));
    }
};

QStringList endLines(int error)
{
    const QString code = QStringLiteral("エラーコード:") + QString::number(error);
    return {QStringLiteral("yhfParseData2(1)■■■処理終了!!■■■"), code, QStringLiteral("■■■yhfRun2処理終了!!■■■"), code};
}

} // namespace

TEST_F(YahooModuleTest, CurrentQuoteOfAStockAndOfTheMarketAverage)
{
    const FakeQuote expected = site.market().quote(QStringLiteral("7203"), QStringLiteral("t1"), sys::now(), false);
    const GenzaitiQuote quote = getGenzaiti(control, QStringLiteral("7203"), QStringLiteral("t1"));
    EXPECT_EQ(site.requests().last(), QStringLiteral("/q?d=t&s=7203"));
    EXPECT_EQ(quote.hour, 10);
    EXPECT_EQ(quote.minute, 15);
    EXPECT_EQ(quote.day, QDate(2007, 3, 29));
    EXPECT_DOUBLE_EQ(quote.price, expected.price);
    EXPECT_DOUBLE_EQ(quote.open, expected.open);
    EXPECT_DOUBLE_EQ(quote.high, expected.high);
    EXPECT_DOUBLE_EQ(quote.low, expected.low);
    EXPECT_EQ(yhfCount, 1);
    EXPECT_DOUBLE_EQ(yhfKabuka[1].ZenzituHi, expected.change);
    EXPECT_DOUBLE_EQ(yhfKabuka[1].Dekidaka, double(expected.volume));
    EXPECT_EQ(logTexts(), endLines(0));

    const FakeQuote average = site.market().quote(FakeMarket::kIndexCode, FakeMarket::kIndexMarket, sys::now(), false);
    EXPECT_DOUBLE_EQ(getGenzaiti(control, FakeMarket::kIndexCode, FakeMarket::kIndexMarket).price, average.price);
}

TEST_F(YahooModuleTest, NoQuoteGivesZerosAndTheRealOutcome)
{
    const struct {
        Failure failure;
        int error;
    } cases[] = {
        {Failure::None, 0}, // a code the site does not list
        {Failure::Http500, CURLE_HTTP_RETURNED_ERROR},
        {Failure::EmptyPage, 99951},
        {Failure::ChangedPage, 0},
        {Failure::Truncated, 0},
    };
    for (const auto &c : cases) {
        getGenzaiti(control, QStringLiteral("7203"), QStringLiteral("t1")); // an earlier good quote
        site.setFailure(c.failure);
        const qsizetype from = logTexts().size();
        const GenzaitiQuote quote =
            getGenzaiti(control, c.failure == Failure::None ? QStringLiteral("1000") : QStringLiteral("7203"),
                        QStringLiteral("t1"));
        site.setFailure(Failure::None);
        EXPECT_EQ(quote.price, 0) << int(c.failure);
        EXPECT_EQ(quote.hour, 0);
        EXPECT_EQ(quote.high, 0);
        EXPECT_EQ(logTexts(from), endLines(c.error));
    }
}
