#include "ImportFixture.h"

#include "core/modGlobal.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modMarket.h"
#include "platform/db/DbDate.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"

#include <QLabel>

#include <functional>

#include <limits>

namespace {

// 30 weekdays up to Friday 2007-03-30; the split day is Monday 2007-03-12 and Wednesday
// 2007-03-21 is a holiday the fake does not know.
const FakeMarket::Options kMarket{.seed = 7, .stocks = 12, .days = 30, .lastDay = QDate(2007, 3, 30)};
const QDateTime kFirstRun(QDate(2007, 4, 2), QTime(10, 0, 0));
const QDateTime kSecondRun(QDate(2007, 4, 3), QTime(11, 30, 0));

class ImportTest : public ImportFixture {
protected:
    ImportTest() : ImportFixture(kMarket) {}

    void SetUp() override
    {
        ImportFixture::SetUp();
        sys::setNow(kFirstRun);
    }

    KabukaImport importAll(const QDate &start, const QDate &end)
    {
        return getKabuka(control, label, start, end, QString(), QString());
    }

    static std::string where(const PriceKey &key)
    {
        return (std::get<0>(key) + u'.' + std::get<1>(key) + u' ' + std::get<2>(key).toString(Qt::ISODate))
            .toStdString();
    }

    net::Inet control;
    QLabel label;
};

// Whether or not the history pages name their stock's code.
TEST_F(ImportTest, StoresTheRequestedDaysOfEveryStockAndNothingElse)
{
    const QDate first(2007, 3, 26);
    const QDate last(2007, 3, 28);
    const auto stocks = market().stocks().size();
    for (const fakepages::CodeMarks marks : {fakepages::CodeMarks::Parentheses, fakepages::CodeMarks::AngleBrackets}) {
        SCOPED_TRACE(int(marks));
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        site().setCodeMarks(marks);
        const int requestsBefore = historyRequests();
        const KabukaImport result = importAll(first, last);

        EXPECT_EQ(historyRequests() - requestsBefore, int(3 * stocks));
        EXPECT_EQ(result.newRows, int(3 * stocks));
        EXPECT_EQ(result.failedPages, 0);
        const std::map<PriceKey, StoredPrice> stored = storedPrices();
        // Each page also lists the trading day before the requested one: it is not stored.
        ASSERT_EQ(stored.size(), 3 * stocks);
        for (const FakeStock &stock : market().stocks()) {
            for (QDate day = first; day <= last; day = day.addDays(1)) {
                const PriceKey key{stock.code, stock.market, day};
                ASSERT_TRUE(stored.contains(key)) << where(key);
                expectStoredAsServed(stored.at(key), *market().day(stock.code, stock.market, day), where(key));
                EXPECT_EQ(stored.at(key).split, 0);
                EXPECT_EQ(stored.at(key).registered, QStringLiteral("2007-04-02 10:00:00"));
                EXPECT_EQ(stored.at(key).updated, QStringLiteral("2007-04-02 10:00:00"));
            }
        }
        const FakeStock &big = market().bigVolumeStock();
        EXPECT_GT(stored.at({big.code, big.market, first}).volume, qint64(std::numeric_limits<int>::max()));
    }
}

// A box of other stocks above the history table, and a year in parentheses, say nothing of
// the page's own stock: every stock is stored, whether or not the heading names its code.
TEST_F(ImportTest, CodesOfOtherStocksAboveTheTableAreNoOtherStocksPage)
{
    site().setRewrite([](QString html) {
        return html.replace(QStringLiteral("<table class=\"history\">"),
                            QStringLiteral("<div class=\"pickup\">注目銘柄: ソニーグループ(6758) 任天堂(7974)</div>\n"
                                           "<p>(2007)</p>\n<table class=\"history\">"));
    });
    const QDate day(2007, 3, 28);
    const auto stocks = market().stocks().size();
    for (const fakepages::CodeMarks marks : {fakepages::CodeMarks::Parentheses, fakepages::CodeMarks::AngleBrackets}) {
        SCOPED_TRACE(int(marks));
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        site().setCodeMarks(marks);
        const KabukaImport result = importAll(day, day);
        EXPECT_FALSE(result.stopped);
        EXPECT_EQ(result.failedPages, 0);
        EXPECT_EQ(result.newRows, int(stocks));
        EXPECT_EQ(storedPrices().size(), stocks);
    }
}

TEST_F(ImportTest, RangesWithoutTradingDaysOrStocksFetchNothing)
{
    struct Case {
        const char *what;
        QDate start;
        QDate end;
        QString code;
        QString market;
        int requests; // per stock of the master when the code is blank
    };
    const int all = int(market().stocks().size());
    const Case cases[] = {
        {.what = "end before start",
         .start = QDate(2007, 3, 28),
         .end = QDate(2007, 3, 27),
         .code = QString(),
         .market = QString(),
         .requests = 0},
        {.what = "a weekend",
         .start = QDate(2007, 3, 24),
         .end = QDate(2007, 3, 25),
         .code = QString(),
         .market = QString(),
         .requests = 0},
        {.what = "a holiday",
         .start = QDate(2007, 3, 21),
         .end = QDate(2007, 3, 21),
         .code = QString(),
         .market = QString(),
         .requests = 0},
        {.what = "a code without its market",
         .start = QDate(2007, 3, 28),
         .end = QDate(2007, 3, 28),
         .code = QStringLiteral("7203"),
         .market = QString(),
         .requests = 0},
        {.what = "a code of blanks",
         .start = QDate(2007, 3, 28),
         .end = QDate(2007, 3, 28),
         .code = QStringLiteral("   "),
         .market = QStringLiteral("t1"),
         .requests = all},
        {.what = "one stock",
         .start = QDate(2007, 3, 27),
         .end = QDate(2007, 3, 28),
         .code = QStringLiteral("7203"),
         .market = QStringLiteral("t1"),
         .requests = 2},
    };
    for (const Case &c : cases) {
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        const int before = historyRequests();
        const KabukaImport result = getKabuka(control, label, c.start, c.end, c.code, c.market);
        EXPECT_EQ(historyRequests() - before, c.requests) << c.what;
        EXPECT_EQ(rowCount(), c.requests) << c.what;
        EXPECT_EQ(result.newRows, c.requests) << c.what;
    }
}

TEST_F(ImportTest, AStoredRowIsReplacedOnlyByAPageThatBroughtItsDay)
{
    const QDate first(2007, 3, 27);
    const QDate last(2007, 3, 28);
    importAll(first, last);
    gcnDB.execute(QStringLiteral("update ttstocks set 終値 = 1, 短期SMA = 123.5"));
    const std::map<PriceKey, StoredPrice> before = storedPrices();
    const int stockDays = int(before.size());
    sys::setNow(kSecondRun);

    // Whether the page came or not, a stock without a usable page counts as failed; a run of
    // them stops the import as a dead site.
    struct Case {
        const char *what;
        FakeQuoteSite::Failure failure;
        const char16_t *line; // the log line of the first stock-day
    };
    const Case cases[] = {
        {"server error", FakeQuoteSite::Failure::Http500,
         u"2007/03/27分の%1の株価情報を取得できませんでした(エラーコード:22)"},
        {"empty answer", FakeQuoteSite::Failure::EmptyPage,
         u"2007/03/27分の%1の株価情報を取得できませんでした(エラーコード:99951)"},
        {"error page", FakeQuoteSite::Failure::ErrorPage, u"2007/03/27分の%1の株価のページを読み取れませんでした"},
        {"redesigned page", FakeQuoteSite::Failure::ChangedPage,
         u"2007/03/27分の%1の株価のページを読み取れませんでした"},
    };
    ASSERT_GT(stockDays, 2 * kDeadSiteStocks);
    const QString firstCode = std::get<0>(before.begin()->first); // tmbond is read in code order
    for (const Case &c : cases) {
        site().setFailure(c.failure);
        const qsizetype logFrom = logLines().size();
        const KabukaImport result = importAll(first, last);
        EXPECT_EQ(storedPrices(), before) << c.what;
        EXPECT_EQ(result.failedPages, kDeadSiteStocks) << c.what;
        EXPECT_TRUE(result.stopped) << c.what;
        EXPECT_EQ(result.replacedRows + result.newRows, 0) << c.what;
        EXPECT_TRUE(logLines().mid(logFrom).contains(QString::fromUtf16(c.line).arg(firstCode))) << c.what;
    }
    EXPECT_TRUE(logLines().contains(
        QStringLiteral("2007/03/27分の株価情報を%1銘柄取得できませんでした。登録済みの株価はそのままです")
            .arg(kDeadSiteStocks)));

    // Pages that bring the day replace the prices and keep the indicators until recalculated.
    site().setFailure(FakeQuoteSite::Failure::None);
    const KabukaImport result = importAll(first, last);
    EXPECT_EQ(result.replacedRows, stockDays);
    EXPECT_EQ(result.newRows, 0);
    for (const auto &[key, row] : storedPrices()) {
        expectStoredAsServed(row, *market().day(std::get<0>(key), std::get<1>(key), std::get<2>(key)), where(key));
        EXPECT_EQ(row.shortSma, 123.5) << where(key);
        EXPECT_EQ(row.updated, QStringLiteral("2007-04-03 11:30:00")) << where(key);
    }
}

// The history page of `day` with the value cell `cell` (0 終値 ... 4 出来高, 5 調整後終値) of
// that day's row written as `text`.
std::function<QString(const QString &)> cellOfDay(const QDate &day, int cell, const QString &text)
{
    const QString date = QStringLiteral("%1年%2月%3日</th>").arg(day.year()).arg(day.month()).arg(day.day());
    return [=](QString html) {
        qsizetype at = html.indexOf(date);
        if (at < 0)
            return html;
        for (int i = 0; i <= cell; ++i)
            at = html.indexOf(QStringLiteral("<td>"), at) + 4;
        html.replace(at, html.indexOf(QStringLiteral("</td>"), at) - at, text);
        return html;
    };
}

// The page cut off inside the row of `day`.
std::function<QString(const QString &)> cutInRowOf(const QDate &day)
{
    const QString date = QStringLiteral("%1年%2月%3日</th>").arg(day.year()).arg(day.month()).arg(day.day());
    return [=](const QString &html) { return html.left(html.indexOf(date) + date.size() + 12); };
}

// A hostile or broken page for one stock-day changes no stored row and is logged with the
// stock and the day; it counts as a failed page.
TEST_F(ImportTest, HostilePagesLeaveTheStoredRowsAsTheyWere)
{
    const FakeStock &stock = market().stocks()[3];
    ASSERT_NE(stock.code, market().splitStock().code);
    const QDate day(2007, 3, 28);
    getKabuka(control, label, day.addDays(-1), day, stock.code, stock.market);
    const std::map<PriceKey, StoredPrice> before = storedPrices();
    ASSERT_EQ(before.size(), 2u);
    sys::setNow(kSecondRun);

    using Failure = FakeQuoteSite::Failure;
    const QString stockDay = QStringLiteral("2007/03/28分の") + stock.code + QStringLiteral("の株価");
    const QString badCell = stockDay + QStringLiteral("は%1「%2」が正しくないため登録しませんでした");
    const struct {
        const char *what;
        Failure failure;
        std::function<QString(const QString &)> rewrite;
        QString line;
    } cases[] = {
        {"close of 20 digits", Failure::None, cellOfDay(day, 0, QStringLiteral("12345678901234567890")),
         badCell.arg(QStringLiteral("終値"), QStringLiteral("12345678901234567890"))},
        {"close with a quote", Failure::None, cellOfDay(day, 0, QStringLiteral("1'234")),
         badCell.arg(QStringLiteral("終値"), QStringLiteral("1'234"))},
        {"close of 9x10^18", Failure::None, cellOfDay(day, 0, QStringLiteral("9,000,000,000,000,000,000")),
         badCell.arg(QStringLiteral("終値"), QStringLiteral("9,000,000,000,000,000,000"))},
        {"negative close", Failure::None, cellOfDay(day, 0, QStringLiteral("-1,234")),
         badCell.arg(QStringLiteral("終値"), QStringLiteral("-1,234"))},
        {"volume of 20 digits", Failure::None, cellOfDay(day, 4, QStringLiteral("12345678901234567890")),
         badCell.arg(QStringLiteral("出来高"), QStringLiteral("12345678901234567890"))},
        {"empty row", Failure::None, cellOfDay(day, 0, QString()), badCell.arg(QStringLiteral("終値"), QString())},
        {"truncated row", Failure::None, cutInRowOf(day), stockDay + QStringLiteral("のページを読み取れませんでした")},
        {"error page", Failure::ErrorPage, {}, stockDay + QStringLiteral("のページを読み取れませんでした")},
        {"truncated page", Failure::Truncated, {}, stockDay + QStringLiteral("のページを読み取れませんでした")},
        {"wrong charset", Failure::WrongCharset, {}, stockDay + QStringLiteral("のページを読み取れませんでした")},
        {"page of another stock",
         Failure::OtherStock,
         {},
         stockDay + QStringLiteral("のページとして別の銘柄のページが返されました")},
        {"redirect to another host",
         Failure::OffSite,
         {},
         stockDay + QStringLiteral("のページが別のホストへ転送されたため読みませんでした")},
        {"body over the size limit",
         Failure::HugeBody,
         {},
         stockDay + QStringLiteral("のページが大きすぎるため読みませんでした")},
    };
    for (const auto &c : cases) {
        site().setFailure(c.failure, c.failure == Failure::None ? 0 : 1);
        site().setRewrite(c.rewrite);
        const qsizetype logFrom = logLines().size();
        const KabukaImport result = getKabuka(control, label, day, day, stock.code, stock.market);
        EXPECT_EQ(storedPrices(), before) << c.what;
        EXPECT_EQ(result.failedPages, 1) << c.what;
        EXPECT_EQ(result.newRows + result.replacedRows, 0) << c.what;
        EXPECT_TRUE(logLines().mid(logFrom).contains(c.line)) << c.what << "\n"
                                                              << logLines().mid(logFrom).join(u'\n').toStdString();
    }

    // The same stock-day from a sound page is replaced.
    site().setRewrite({});
    EXPECT_EQ(getKabuka(control, label, day, day, stock.code, stock.market).replacedRows, 1);
}

class SplitPassTest : public ImportTest {
protected:
    // Thursday 2007-03-08 to Wednesday 2007-03-14: five trading days around the split.
    const QDate first{2007, 3, 8};
    const QDate last{2007, 3, 14};
    const FakeStock &split = market().splitStock();
    const FakeStock &reference = market().stocks().front();

    void SetUp() override
    {
        ImportTest::SetUp();
        importAll(first, last);
    }

    static int splitMark(const FakeStock &stock, const QDate &day)
    {
        db::Statement st = gcnDB.prepare(
            QStringLiteral("select 分割区分 from ttstocks where 銘柄コード = ? and 市場コード = ? and 日付 = ?"));
        st.bindAll(stock.code, stock.market, day);
        return st.step() ? int(st.int64(0)) : -1;
    }

    static void flag(const FakeStock &stock, const QDate &day)
    {
        gcnDB.execute(
            QStringLiteral("update ttstocks set 分割区分 = 2 where 銘柄コード = ? and 市場コード = ? and 日付 = ?"),
            stock.code, stock.market, day);
    }

    static int calculatedRows(const FakeStock &stock)
    {
        db::Statement st = gcnDB.prepare(
            QStringLiteral("select count(*) from ttstocks where 銘柄コード = ? and 市場コード = ? and 短期SMA > 0"));
        st.bindAll(stock.code, stock.market);
        st.step();
        return int(st.int64(0));
    }

    QString letter(const FakeStock &stock) const { return FakeMarket::infoseekLetter(stock.market); }
};

TEST_F(SplitPassTest, ReimportsEachFlaggedStockOnceAndMarksAllItsRows)
{
    const QDate splitDay = market().splitDay();
    ASSERT_EQ(splitMark(split, splitDay), 2) << "the page lists the split day twice";
    EXPECT_EQ(splitMark(split, splitDay.addDays(1)), 0);
    flag(split, QDate(2007, 3, 9));
    flag(reference, QDate(2007, 3, 13));
    const int splitBefore = historyRequestsFor(split.code, letter(split));
    const int referenceBefore = historyRequestsFor(reference.code, letter(reference));

    getBunkatuKabuka(control, label, first, last, QString(), QString());

    // One page per trading day of the range for each flagged stock, however many flags it has.
    EXPECT_EQ(historyRequestsFor(split.code, letter(split)) - splitBefore, 5);
    EXPECT_EQ(historyRequestsFor(reference.code, letter(reference)) - referenceBefore, 5);
    EXPECT_EQ(historyRequests(), int(market().stocks().size()) * 5 + 10);
    EXPECT_EQ(splitMark(split, splitDay), 1);
    EXPECT_EQ(splitMark(split, QDate(2007, 3, 9)), 1);
    EXPECT_EQ(splitMark(reference, QDate(2007, 3, 13)), 1);
    EXPECT_EQ(calculatedRows(split), 5);
    EXPECT_EQ(calculatedRows(reference), 5);
    EXPECT_EQ(calculatedRows(market().stocks().back()), 0);
}

TEST_F(SplitPassTest, OneStockPassLeavesOtherStocksFlagged)
{
    flag(reference, QDate(2007, 3, 13));
    getBunkatuKabuka(control, label, first, last, reference.code, reference.market);
    EXPECT_EQ(splitMark(reference, QDate(2007, 3, 13)), 1);
    EXPECT_EQ(splitMark(split, market().splitDay()), 2);
    EXPECT_EQ(calculatedRows(split), 0);
}

TEST_F(SplitPassTest, AReimportThatMissedAPageKeepsTheFlagForTheNextPass)
{
    site().setFailure(FakeQuoteSite::Failure::Http500, 10); // every attempt at the first day
    getBunkatuKabuka(control, label, first, last, QString(), QString());
    EXPECT_EQ(splitMark(split, market().splitDay()), 2);
    EXPECT_EQ(calculatedRows(split), 0);
    EXPECT_TRUE(
        logLines().contains(split.code + QStringLiteral("の分割株価情報を取得できませんでした。次回再取得します")));

    getBunkatuKabuka(control, label, first, last, QString(), QString());
    EXPECT_EQ(splitMark(split, market().splitDay()), 1);
}

// A re-import replaces a stock's rows only when it read every day of the range, all at
// once; otherwise the stored rows, their indicators and the split mark stay.
TEST_F(SplitPassTest, ARangeWithABadPageReplacesNothingOfTheStock)
{
    gcnDB.execute(QStringLiteral("update ttstocks set 短期SMA = 7.5"));
    const std::map<PriceKey, StoredPrice> before = storedPrices();
    sys::setNow(kSecondRun);
    using Failure = FakeQuoteSite::Failure;
    const struct {
        const char *what;
        Failure failure;
        std::function<QString(const QString &)> rewrite;
    } cases[] = {
        {"bad close on the last day", Failure::None, cellOfDay(last, 0, QStringLiteral("99999999999999999999"))},
        {"changed pages", Failure::ChangedPage, {}},
        {"error pages", Failure::ErrorPage, {}},
    };
    for (const auto &c : cases) {
        site().setFailure(c.failure);
        site().setRewrite(c.rewrite);
        getBunkatuKabuka(control, label, first, last, split.code, split.market);
        EXPECT_EQ(storedPrices(), before) << c.what;
        EXPECT_EQ(splitMark(split, market().splitDay()), 2) << c.what;
    }
}

} // namespace
