#include "ImportFixture.h"

#include "core/modGlobal.h"
#include "marketdata/DeadSiteRule.h"
#include "marketdata/modBrandMst.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/ui/MsgBox.h"
#include "support/MessageBoxRecorder.h"

#include <QLabel>

#include <algorithm>

namespace {

using CodeMarks = fakepages::CodeMarks;

struct BondRow {
    QString name;
    QString industry;
    qint64 unit = 0;
    QString updated;
    qint64 excluded = 0;
    qint64 caution = 0;
    bool operator==(const BondRow &) const = default;
};

using BondKey = std::pair<QString, QString>; // code, market

std::map<BondKey, BondRow> storedMaster()
{
    db::Statement st = gcnDB.prepare(QStringLiteral(
        "select 銘柄コード, 市場コード, 会社名, 業種名, 単元株数, 更新日付, 対象外区分, 管理ポスト区分 from tmbond"));
    std::map<BondKey, BondRow> rows;
    while (st.step())
        rows[{st.text(0), st.text(1)}] = {st.text(2), st.text(3), st.int64(4), st.text(5), st.int64(6), st.int64(7)};
    return rows;
}

void storeBond(const QString &code, const QString &market, const BondRow &row)
{
    gcnDB.execute(
        QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 業種名, 単元株数, 更新日付, 対象外区分,"
                       " 管理ポスト区分) values (?, ?, ?, ?, ?, ?, ?, ?)"),
        code, market, row.name, row.industry, row.unit, row.updated, row.excluded, row.caution);
}

class BrandMstTest : public ImportFixture {
protected:
    BrandMstTest() : ImportFixture({.seed = 7, .stocks = 13, .days = 5, .lastDay = QDate(2007, 3, 30)}) {}

    void SetUp() override
    {
        ImportFixture::SetUp();
        gcnDB.execute(QStringLiteral("delete from tmbond"));
        sys::setNow(QDateTime(QDate(2007, 4, 2), QTime(20, 15, 0)));
    }

    // The stock listed on two markets under one code.
    const FakeStock &twoMarkets() const { return market().stocks()[1]; }

    static QString code(int number) { return text::formatZeroPadded(number, 4); }

    // A code in [low, high] that no fake stock has.
    QString unlistedCode(int low, int high) const
    {
        for (int k = low; k <= high; ++k) {
            if (!market().findByCode(code(k)))
                return code(k);
        }
        return {};
    }

    int headerRequests() const
    {
        int count = 0;
        for (const QString &request : site().requests())
            count += request.startsWith(QStringLiteral("/MnStock/sresult.html")) ? 1 : 0;
        return count;
    }

    bool rebuild(int low, int high, const QString &oneMarket = QString())
    {
        MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
        return getBrandMst(control, label, code(low), code(high), oneMarket);
    }

    // What the fake lists in [low, high], as a rebuild stores it (names as the upper-cased
    // page writes them).
    std::map<BondKey, BondRow> listed(int low, int high, const QString &oneMarket = QString()) const
    {
        std::map<BondKey, BondRow> rows;
        for (const FakeStock &s : market().stocks()) {
            if (s.code.toInt() >= low && s.code.toInt() <= high && (oneMarket.isEmpty() || s.market == oneMarket))
                rows[{s.code, s.market}] = {
                    s.name.toUpper(), s.industry.toUpper(), s.unit, QStringLiteral("2007-04-02 20:15:00"), 0, 0};
        }
        return rows;
    }

    net::Inet control;
    QLabel label;
};

TEST_F(BrandMstTest, StoresEveryListingOfTheRangeFromOnePagePerCodeAndSiteLetter)
{
    const int low = twoMarkets().code.toInt() - 2;
    const int high = low + 4;
    for (const CodeMarks marks : {CodeMarks::Parentheses, CodeMarks::AngleBrackets}) {
        SCOPED_TRACE(int(marks));
        site().setCodeMarks(marks);
        MessageBoxRecorder::instance().reset();
        const int requestsBefore = headerRequests();
        rebuild(low, high);

        EXPECT_EQ(storedMaster(), listed(low, high));
        EXPECT_EQ(listed(low, high).size(), 2u) << "the code listed on two markets";
        // 27 markets share 7 site letters: seven pages per code.
        EXPECT_EQ(headerRequests() - requestsBefore, 5 * 7);
        EXPECT_EQ(MessageBoxRecorder::instance().texts(),
                  QStringList({QStringLiteral("銘柄コード情報を再構築します。よろしいですか?"),
                               QStringLiteral("処理は完了しました。")}));
    }

    const FakeStock &quoted = market().stocks()[5]; // its name holds "'"
    rebuild(quoted.code.toInt(), quoted.code.toInt());
    EXPECT_EQ(storedMaster().at({quoted.code, quoted.market}).name, QStringLiteral("O'NEIL電子"));
}

// A header page counts for the market it names: a stock of t2 asked for under t1 is no
// longer a t1 stock. A page that names another code than the one asked for is no page of
// the stock and keeps its old rows.
TEST_F(BrandMstTest, APageCountsForTheMarketAndTheCodeItNames)
{
    const auto onT2 = std::find_if(market().stocks().begin(), market().stocks().end(), [&](const FakeStock &s) {
        return s.market == QStringLiteral("t2") && market().findByCode(s.code) == &s &&
               !market().find(s.code, QStringLiteral("t1"));
    });
    ASSERT_NE(onT2, market().stocks().end());
    const QString stock = onT2->code;
    const int low = std::max(1000, stock.toInt() - 10);
    const int high = low + 19;
    const BondRow old{
        QStringLiteral("旧銘柄"), QStringLiteral("旧業種"), 1000, QStringLiteral("2006-01-01 00:00:00"), 0, 1};
    for (const CodeMarks marks : {CodeMarks::Parentheses, CodeMarks::AngleBrackets}) {
        SCOPED_TRACE(int(marks));
        gcnDB.execute(QStringLiteral("delete from tmbond"));
        site().setCodeMarks(marks);
        storeBond(stock, QStringLiteral("t1"), old);
        storeBond(stock, QStringLiteral("t2"), old);

        rebuild(low, high, QStringLiteral("t1"));
        std::map<BondKey, BondRow> expected = listed(low, high, QStringLiteral("t1"));
        expected[{stock, QStringLiteral("t2")}] = old;
        EXPECT_EQ(storedMaster(), expected);

        site().setRewrite([&](QString html) {
            return html.replace(QStringLiteral("&lt;") + stock + QStringLiteral("&gt;"), QStringLiteral("&lt;7203&gt;"))
                .replace(u'(' + stock + u')', QStringLiteral("(7203)"));
        });
        const qsizetype logFrom = logLines().size();
        rebuild(low, high, QStringLiteral("t2"));
        site().setRewrite({});
        expected.merge(listed(low, high, QStringLiteral("t2")));
        EXPECT_EQ(storedMaster(), expected) << "the old row stays";
        EXPECT_TRUE(logLines().mid(logFrom).contains(
            QStringLiteral("銘柄マスタ取得:1件の銘柄情報を取得できませんでした。登録済みの銘柄はそのままです")));
    }
}

TEST_F(BrandMstTest, AFailedPageKeepsItsOldRowsAndAListedStockKeepsItsFlags)
{
    const int low = twoMarkets().code.toInt();
    const int high = low + 3;
    const QString gone = unlistedCode(low + 1, high);
    ASSERT_FALSE(gone.isEmpty());
    const BondRow oldTokyo{
        QStringLiteral("旧東京"), QStringLiteral("旧業種"), 1000, QStringLiteral("2006-01-01 00:00:00"), 1, 2};
    const BondRow oldOsaka{
        QStringLiteral("旧大阪"), QStringLiteral("旧業種"), 1000, QStringLiteral("2006-01-01 00:00:00"), 1, 1};
    const BondRow outside{QStringLiteral("範囲外"), QString(), 100, QStringLiteral("2006-01-01 00:00:00"), 0, 0};
    storeBond(twoMarkets().code, QStringLiteral("t1"), oldTokyo);
    storeBond(twoMarkets().code, QStringLiteral("o1"), oldOsaka);
    storeBond(gone, QStringLiteral("t2"), {QStringLiteral("上場廃止"), QString(), 100, QString(), 0, 0});
    storeBond(code(high + 1), QStringLiteral("t1"), outside);

    // The ten attempts at the first page (the code's Tokyo page) fail.
    site().setFailure(FakeQuoteSite::Failure::Http500, 10);
    rebuild(low, high);

    std::map<BondKey, BondRow> expected = listed(low, high);
    expected[{twoMarkets().code, QStringLiteral("t1")}] = oldTokyo;
    expected[{twoMarkets().code, QStringLiteral("o1")}].excluded = 1;
    expected[{twoMarkets().code, QStringLiteral("o1")}].caution = 1;
    expected[{code(high + 1), QStringLiteral("t1")}] = outside;
    EXPECT_EQ(storedMaster(), expected);
    EXPECT_TRUE(logLines().contains(
        QStringLiteral("銘柄マスタ取得:1件の銘柄情報を取得できませんでした。登録済みの銘柄はそのままです")));
}

TEST_F(BrandMstTest, APageThatCannotBeReadKeepsItsOldRows)
{
    const int low = twoMarkets().code.toInt();
    const int high = low + 3;
    const BondRow oldTokyo{
        QStringLiteral("旧東京"), QStringLiteral("旧業種"), 1000, QStringLiteral("2006-01-01 00:00:00"), 1, 2};
    for (const FakeQuoteSite::Failure failure :
         {FakeQuoteSite::Failure::ErrorPage, FakeQuoteSite::Failure::ChangedPage}) {
        gcnDB.execute(QStringLiteral("delete from tmbond"));
        storeBond(twoMarkets().code, QStringLiteral("t1"), oldTokyo);

        site().setFailure(failure, 1); // the code's Tokyo page
        rebuild(low, high);

        std::map<BondKey, BondRow> expected = listed(low, high);
        expected[{twoMarkets().code, QStringLiteral("t1")}] = oldTokyo;
        EXPECT_EQ(storedMaster(), expected) << int(failure);
        EXPECT_TRUE(logLines().contains(
            QStringLiteral("銘柄マスタ取得×××%1.tのページを読めませんでした×××").arg(twoMarkets().code)));
        EXPECT_TRUE(logLines().contains(
            QStringLiteral("銘柄マスタ取得:1件の銘柄情報を読めませんでした。登録済みの銘柄はそのままです")));
    }
}

TEST_F(BrandMstTest, TooManyUnreadPagesKeepTheWholeOldMaster)
{
    const int low = twoMarkets().code.toInt() - 2;
    const int high = low + 4;
    const QString gone = unlistedCode(low, high);
    ASSERT_FALSE(gone.isEmpty());
    for (const FakeQuoteSite::Failure failure : {FakeQuoteSite::Failure::ErrorPage, FakeQuoteSite::Failure::Http500}) {
        gcnDB.execute(QStringLiteral("delete from tmbond"));
        storeBond(twoMarkets().code, QStringLiteral("t1"),
                  {QStringLiteral("旧東京"), QString(), 1000, QString(), 0, 0});
        storeBond(gone, QStringLiteral("t2"), {QStringLiteral("旧銘柄"), QString(), 100, QString(), 0, 0});
        const auto before = storedMaster();
        MessageBoxRecorder::instance().reset();
        const qsizetype requestsBefore = site().requests().size();

        site().setFailure(failure);
        rebuild(low, high);
        site().setFailure(FakeQuoteSite::Failure::None);

        EXPECT_EQ(storedMaster(), before) << int(failure);
        const QString why = QStringLiteral("銘柄マスタ取得:35ページのうち4ページの銘柄情報を取得できなかったため、"
                                           "登録済みの銘柄マスタをそのまま残しました");
        EXPECT_EQ(MessageBoxRecorder::instance().texts().value(1), why);
        EXPECT_TRUE(logLines().contains(why));
        QStringList pagesAsked = site().requests().mid(requestsBefore);
        pagesAsked.removeDuplicates();
        EXPECT_EQ(pagesAsked.size(), 4) << "the rebuild stops once its outcome is known";
    }
}

// A site that stops answering ends the rebuild after a few codes in a row without a page,
// with a message naming its host, and the old master stays whole.
TEST_F(BrandMstTest, ASilentSiteStopsTheRebuildAndKeepsTheOldMaster)
{
    storeBond(code(1002), QStringLiteral("t1"), {QStringLiteral("旧銘柄"), QString(), 1000, QString(), 0, 0});
    storeBond(code(1050), QStringLiteral("t1"), {QStringLiteral("旧銘柄"), QString(), 100, QString(), 0, 1});
    const auto before = storedMaster();
    const QString notice = QStringLiteral("株価サイト(127.0.0.1)から5銘柄続けて銘柄情報を取得できなかったため、"
                                          "銘柄マスタの再構築を中止しました。登録済みの銘柄マスタはそのままです。");

    // Three pages come, then every attempt fails.
    whenDuring([&] { return headerRequests() >= 3; }, [&] { site().setFailure(FakeQuoteSite::Failure::Http500); });
    EXPECT_FALSE(rebuild(1000, 1099, QStringLiteral("t1")));
    EXPECT_EQ(headerRequests(), 3 + kDeadSiteStocks * 10);
    EXPECT_EQ(storedMaster(), before);
    EXPECT_EQ(MessageBoxRecorder::instance().texts().value(1), notice);
    EXPECT_TRUE(logLines().contains(notice));

    // A site that takes no connection at all.
    site().stop();
    MessageBoxRecorder::instance().reset();
    EXPECT_FALSE(rebuild(1000, 1099, QStringLiteral("t1")));
    EXPECT_EQ(label.text(), QStringLiteral("1004.t1を処理しています。"));
    EXPECT_EQ(storedMaster(), before);
    EXPECT_EQ(MessageBoxRecorder::instance().texts(),
              QStringList({QStringLiteral("銘柄コード情報を再構築します。よろしいですか?"), notice}));
}

TEST_F(BrandMstTest, OneMarketRebuildsOnlyItsOwnRows)
{
    const int low = twoMarkets().code.toInt();
    const int high = low + 3;
    const BondRow oldTokyo{QStringLiteral("旧東京"), QString(), 1000, QString(), 0, 0};
    storeBond(twoMarkets().code, QStringLiteral("t1"), oldTokyo);

    rebuild(low, high, QStringLiteral("o1"));

    std::map<BondKey, BondRow> expected = listed(low, high, QStringLiteral("o1"));
    expected[{twoMarkets().code, QStringLiteral("t1")}] = oldTokyo;
    EXPECT_EQ(storedMaster(), expected);
    EXPECT_EQ(headerRequests(), 4);
}

TEST_F(BrandMstTest, DecliningTheRebuildChangesNothing)
{
    storeBond(twoMarkets().code, QStringLiteral("t1"), {QStringLiteral("旧東京"), QString(), 1000, QString(), 0, 0});
    const auto before = storedMaster();
    getBrandMst(control, label, QStringLiteral("1000"), QStringLiteral("9999"), QString());
    EXPECT_EQ(storedMaster(), before);
    EXPECT_EQ(headerRequests(), 0);
}

} // namespace
