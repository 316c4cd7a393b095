#include "QuoteSiteFixture.h"
#include "core/BusyGuard.h"
#include "marketdata/modinfoseek.h"

#include <QFile>
#include <QSignalSpy>

#include <curl/curl.h>

using Failure = FakeQuoteSite::Failure;
using CodeMarks = fakepages::CodeMarks;

namespace {

class InfoseekModuleTest : public QuoteSiteFixture {
protected:
    void requestHeader(const QString &code, const QString &market)
    {
        iskBrandCode = code;
        iskSizyouCode = market;
        iskOpen(1);
        iskRun(control);
        iskClose();
    }

    void setRange(const QDate &start, const QDate &end)
    {
        iskStartYear = start.year();
        iskStartMonth = start.month();
        iskStartDay = start.day();
        iskEndYear = end.year();
        iskEndMonth = end.month();
        iskEndDay = end.day();
    }

    void requestHistory(const FakeStock &stock, const QDate &start, const QDate &end)
    {
        iskBrandCode = stock.code;
        iskSizyouCode = stock.market;
        setRange(start, end);
        iskOpen(2);
        iskRun(control);
        iskClose();
    }

    static void expectRow(const iskKabukaRecord &row, const FakeDay &day)
    {
        EXPECT_EQ(QDate(row.Year, row.Month, row.Day), day.date);
        EXPECT_EQ(row.Owarine, day.close);
        EXPECT_EQ(row.Hazimene, QString::number(day.open));
        EXPECT_EQ(row.Takane, day.high);
        EXPECT_EQ(row.Yasune, day.low);
        EXPECT_EQ(row.Dekidaka, day.volume);
        EXPECT_EQ(row.TyouseiOwarine, day.adjustedClose);
    }
};

} // namespace

// Either way the site names the stock's code, a header is read; a header that names another
// stock's code (here after a redirect to the reference stock) is refused.
TEST_F(InfoseekModuleTest, StockHeadersOfTheMarket)
{
    for (const CodeMarks marks : {CodeMarks::Parentheses, CodeMarks::AngleBrackets}) {
        SCOPED_TRACE(int(marks));
        site.setCodeMarks(marks);
        requestHeader(QStringLiteral("7203"), QStringLiteral("t1"));
        EXPECT_EQ(iskError, 0);
        ASSERT_EQ(iskCount, 1);
        EXPECT_EQ(iskBrandName, QStringLiteral("日本自動車"));
        EXPECT_EQ(iskSizyouCode, QStringLiteral("t1"));
        EXPECT_EQ(iskGyousyuName, QStringLiteral("輸送用機器"));
        EXPECT_EQ(iskTangenKabusu, QStringLiteral("100"));
        EXPECT_EQ(site.requests().last(), QStringLiteral("/MnStock/sresult.html?search=1&qt=7203.t"));

        // The same code on a second market is found under that market's letter.
        const FakeStock &second = site.market().stocks()[2];
        requestHeader(second.code, QStringLiteral("o1"));
        ASSERT_EQ(iskCount, 1);
        EXPECT_EQ(iskSizyouCode, QStringLiteral("o1"));
        EXPECT_EQ(iskTangenKabusu, QString::number(second.unit));

        requestHeader(QStringLiteral("1000"), QStringLiteral("t1"));
        EXPECT_EQ(iskCount, 0);
        EXPECT_EQ(iskError, 0);

        site.setFailure(Failure::OtherStock, 1);
        requestHeader(second.code, QStringLiteral("o1"));
        EXPECT_EQ(iskCount, 0);
        EXPECT_EQ(iskError, kIskOtherStockPage);
    }
}

TEST_F(InfoseekModuleTest, HistoryRowsSplitDayAndLargeVolumes)
{
    const FakeMarket &market = site.market();
    const FakeStock &reference = market.stocks()[0];
    const std::vector<FakeDay> &days = market.history(reference.code, reference.market);
    for (const CodeMarks marks : {CodeMarks::Parentheses, CodeMarks::AngleBrackets}) {
        SCOPED_TRACE(int(marks));
        site.setCodeMarks(marks);
        requestHistory(reference, days[5].date, days[9].date);
        EXPECT_EQ(site.requests().last(),
                  QStringLiteral(
                      "/MnStock/slast.html?pg=slast.html&search=1&k=d&qt=7203.t&sy=%1&sm=%2&sd=%3&ey=%4&em=%5&ed=%6")
                      .arg(days[5].date.year())
                      .arg(days[5].date.month())
                      .arg(days[5].date.day())
                      .arg(days[9].date.year())
                      .arg(days[9].date.month())
                      .arg(days[9].date.day()));
        ASSERT_EQ(iskCount, 5); // the page's extra day before the start is not taken
        for (int r = 1; r <= 5; ++r)
            expectRow(iskKabuka[size_t(r)], days[size_t(10 - r)]);

        const FakeStock &split = market.splitStock();
        requestHistory(split, market.splitDay(), market.splitDay());
        ASSERT_EQ(iskCount, 1);
        EXPECT_EQ(iskKabuka[1].BunkatuKubun, 2);
        expectRow(iskKabuka[1], *market.day(split.code, split.market, market.splitDay()));

        const FakeStock &big = market.bigVolumeStock();
        requestHistory(big, kLastDay, kLastDay);
        ASSERT_EQ(iskCount, 1);
        EXPECT_GT(iskKabuka[1].Dekidaka, 2147483647LL);
        expectRow(iskKabuka[1], *market.day(big.code, big.market, kLastDay));
    }
}

TEST_F(InfoseekModuleTest, TenAttemptsThenTheErrorCodeBlocksUntilOpen)
{
    failFast();
    const struct {
        Failure failure;
        int failingRequests;
        int error;
        int rows;
    } cases[] = {
        {Failure::Http500, 9, 0, 1},
        {Failure::Http500, -1, CURLE_HTTP_RETURNED_ERROR, 0},
        {Failure::EmptyPage, -1, 99951, 0},
        {Failure::Timeout, -1, CURLE_OPERATION_TIMEDOUT, 0},
    };
    const FakeStock &reference = site.market().stocks()[0];
    for (const auto &c : cases) {
        site.setFailure(c.failure, c.failingRequests);
        const int before = site.requestCount();
        requestHistory(reference, kLastDay, kLastDay);
        EXPECT_EQ(site.requestCount() - before, 10);
        EXPECT_EQ(iskError, c.error);
        EXPECT_EQ(iskCount, c.rows);

        site.setFailure(Failure::None);
        iskRun(control); // no new request while the error stands
        EXPECT_EQ(site.requestCount() - before, c.error == 0 ? 11 : 10);
    }
    requestHistory(reference, kLastDay, kLastDay);
    EXPECT_EQ(iskError, 0);
    EXPECT_EQ(iskCount, 1);
    EXPECT_TRUE(logTexts().isEmpty()); // the module writes no log lines
}

TEST_F(InfoseekModuleTest, PagesInEitherCodeDeclaredOrNot)
{
    using Encoding = FakeQuoteSite::Encoding;
    using Declaration = FakeQuoteSite::Declaration;
    const struct {
        Encoding encoding;
        Declaration declaration;
    } cases[] = {
        {Encoding::SiteDefault, Declaration::None}, // EUC-JP, the site's own code
        {Encoding::ShiftJis, Declaration::HeaderOnly},
        {Encoding::ShiftJis, Declaration::MetaOnly},
        {Encoding::EucJp, Declaration::HeaderAndMeta},
    };
    for (const auto &c : cases) {
        site.setEncoding(c.encoding);
        site.setDeclaration(c.declaration);
        requestHeader(QStringLiteral("7203"), QStringLiteral("t1"));
        ASSERT_EQ(iskCount, 1);
        EXPECT_EQ(iskBrandName, QStringLiteral("日本自動車"));
        EXPECT_EQ(iskGyousyuName, QStringLiteral("輸送用機器"));
    }
}

TEST_F(InfoseekModuleTest, AsynchronousCompletionParsesWithTheOpenMode)
{
    QObject::connect(&control, &net::Inet::StateChanged, [this](int state) { iskAction(control, state); });
    QSignalSpy states(&control, &net::Inet::StateChanged);
    const FakeStock &reference = site.market().stocks()[0];
    iskBrandCode = reference.code;
    iskSizyouCode = reference.market;
    setRange(kLastDay.addDays(-4), kLastDay);
    iskOpen(2);
    const QString history =
        site.baseUrl() +
        QStringLiteral("MnStock/slast.html?pg=slast.html&search=1&k=d&qt=7203.t&sy=2007&sm=3&sd=26&ey=2007&em=3&ed=30");
    control.Execute(history);
    ASSERT_TRUE(states.wait(5000));
    EXPECT_EQ(states.first().first().toInt(), net::icResponseCompleted);
    EXPECT_EQ(iskCount, 5);
    expectRow(iskKabuka[1], *site.market().day(reference.code, reference.market, kLastDay));

    // A completion that is no page of the open mode, and a failed one, leave nothing.
    iskOpen(1);
    control.Execute(site.baseUrl() + QStringLiteral("net_trade/margin_trade/chuui/post.html"));
    ASSERT_TRUE(states.wait(5000));
    EXPECT_EQ(iskCount, 0);
    site.setFailure(Failure::Http500);
    control.Execute(history);
    ASSERT_TRUE(states.wait(5000));
    EXPECT_EQ(states.last().first().toInt(), net::icError);
    EXPECT_EQ(iskCount, 0);
}

TEST_F(InfoseekModuleTest, NoAddressNoRequest)
{
    iskOpen(3);
    iskRun(control);
    EXPECT_EQ(iskStatus, 11);
    EXPECT_EQ(site.requestCount(), 0);
    EXPECT_TRUE(logTexts().isEmpty());

    QFile siteFile(path(QStringLiteral("Nimbra_site.ini")));
    ASSERT_TRUE(siteFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    siteFile.write("[Hosts]\nYahoo=http://127.0.0.1:1/\n");
    siteFile.close();
    {
        const BusyGuard job(QStringLiteral("銘柄マスタの再構築"));
        requestHeader(QStringLiteral("7203"), QStringLiteral("t1"));
        EXPECT_EQ(iskCount, 0);
        EXPECT_EQ(site.requestCount(), 0);
        ASSERT_EQ(logTexts().size(), 1);
        EXPECT_TRUE(logTexts().first().contains(QStringLiteral("[Hosts]にInfoseekがありません")));
        EXPECT_EQ(iskClose(), kIskNoAddress) << "no page is a failure, not a page without rows";

        // The same missing entry again in the same job: no second log line.
        requestHeader(QStringLiteral("6758"), QStringLiteral("t1"));
        EXPECT_EQ(logTexts().size(), 1);
    }
    // The next job tells the user again.
    const BusyGuard nextJob(QStringLiteral("銘柄マスタの再構築"));
    requestHeader(QStringLiteral("6758"), QStringLiteral("t1"));
    EXPECT_EQ(logTexts().size(), 2);
}
