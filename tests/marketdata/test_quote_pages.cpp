// The page readers of the three quote-site modules on small pages written in the shapes
// the sites use.
#include "marketdata/modCosmo.h"
#include "marketdata/modYahoo.h"
#include "marketdata/modinfoseek.h"
#include "platform/sys/Clock.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {

QString headerPage(const QString &small, const QString &unitCell = QStringLiteral("<td class=\"num\">1,000株</td>"))
{
    return QStringLiteral("<html><body><!-- 銘柄ヘッダ --><h1><span id=\"dname\">トヨタabc</span></h1>\n<small>") +
           small + QStringLiteral("</small>\n<table><tr><th>単元株数</th>") + unitCell +
           QStringLiteral("</tr></table></body></html>");
}

// The history table of `rows` under the line "(code)", or under no code line when `code`
// is empty.
QString historyPage(const QString &rows, const QString &code = QStringLiteral("7203"))
{
    return QStringLiteral("<h1>トヨタ") + (code.isEmpty() ? QString() : u'(' + code + u')') +
           QStringLiteral(
               "</h1><table><tr><th>日付</th><th>終値</th><th>始値</th><th>高値</th><th>安値</th><th>出来高</th>"
               "<th>調整後終値</th></tr>\n") +
           rows + QStringLiteral("</table>");
}

// A quote site's box of other stocks, as it stands above a history table.
const QString kOtherStocksBox =
    QStringLiteral("<div class=\"pickup\">注目銘柄: ソニーグループ(6758) 任天堂&lt;7974&gt;</div>\n");

QString japaneseDay(const QDate &day)
{
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

QString historyRow(const QString &date, const QStringList &cells)
{
    QString row = QStringLiteral("<tr><th scope=\"row\">") + date + QStringLiteral("</th>");
    for (const QString &c : cells)
        row += QStringLiteral("<td>") + c + QStringLiteral("</td>");
    return row + QStringLiteral("</tr>\n");
}

QString quotePage(const QString &timeAndPrice, const QString &change = QStringLiteral("前日比<br>+123.45(+0.77%)"),
                  const QString &volume = QStringLiteral("出来高<br>1,234,500"))
{
    return QStringLiteral("<table><tr><th>銘柄</th><td>取引値<td nowrap>") + timeAndPrice +
           QStringLiteral("</td><td>") + change + QStringLiteral("</td></tr>\n<tr><td>") + volume +
           QStringLiteral("</td><td>売買代金<br>9</td></tr>\n<tr><td>前日終値<br>489</td><td>始値<br>610</td>"
                          "<td>高値<br>1,615</td><td>安値<br>605.5</td></tr></table>\n<a href=x>アラートに登録</a>");
}

QString cautionPage(const QString &rows1, const QString &rows2)
{
    const QString head = QStringLiteral(
        "<table border=1>\n<tr bgcolor=#ccc><th>コード</th><th>銘柄名</th><th>市場</th><th>日</th></tr>\n");
    return QStringLiteral("<html><body><h3>■整理ポスト</h3>") + head + rows1 +
           QStringLiteral("</table>\n<h3>■監理ポスト</h3>") + head + rows2 + QStringLiteral("</table></body></html>");
}

QString cautionRow(const QString &code, const QString &market)
{
    return QStringLiteral("<tr bgcolor=\"#fff\"><td align=\"center\">") + code +
           QStringLiteral("</td><td>名前</td><td align=center>") + market +
           QStringLiteral("</td><td>2007/03/01</td></tr>\n");
}

} // namespace

// The market and industry are the third and fourth pieces of the <small> text; the code in
// front of them is taken where the page names one, in parentheses, angle brackets or
// another bracketed form.
TEST(InfoseekHeader, ReadsNameMarketIndustryAndUnit)
{
    const struct {
        const char16_t *small;
        const char16_t *code;
        const char16_t *market;
        const char16_t *industry;
    } cases[] = {
        {u"(7203)&nbsp;&nbsp;東証1部&nbsp;輸送用機器", u"7203", u"t1", u"輸送用機器"},
        {u"&lt;7203&gt;東証1部&nbsp;輸送用機器", u"7203", u"t1", u"輸送用機器"},
        {u"&lt;1301&gt;東証2部&nbsp;水産・農林業", u"1301", u"t2", u"水産・農林業"},
        {u"&nbsp;&nbsp;東証2部&nbsp;水産・農林業", u"", u"t2", u"水産・農林業"},
        {u"&lt;&gt;東証2部&nbsp;水産・農林業", u"", u"t2", u"水産・農林業"},
        {u"（７２０３）&nbsp;&nbsp;東証1部&nbsp;輸送用機器", u"7203", u"t1", u"輸送用機器"},
        {u"【7203】&nbsp;&nbsp;東証1部&nbsp;輸送用機器", u"7203", u"t1", u"輸送用機器"},
        {u"[7203.t]&nbsp;&nbsp;東証1部&nbsp;輸送用機器", u"7203", u"t1", u"輸送用機器"},
        {u"(7203)&nbsp;&nbsp;NASDAQ&nbsp;電気機器<br>注記", u"7203", u"na", u"電気機器"}, // unknown market;
                                                                                          // "<" ends the text
    };
    for (const auto &c : cases) {
        const std::optional<IskHeader> h = readIskHeader(headerPage(QString::fromUtf16(c.small)));
        const std::string where = QString::fromUtf16(c.small).toStdString();
        ASSERT_TRUE(h) << where;
        EXPECT_EQ(h->code, QString::fromUtf16(c.code)) << where;
        EXPECT_EQ(h->brandName, QStringLiteral("トヨタABC")) << where; // taken from the upper-cased page
        EXPECT_EQ(h->sizyouCode, QString::fromUtf16(c.market)) << where;
        EXPECT_EQ(h->gyousyuName, QString::fromUtf16(c.industry)) << where;
        EXPECT_EQ(h->tangenKabusu, QStringLiteral("1000")) << where;
    }
}

TEST(InfoseekHeader, NoStockOrIncompleteHeaderGivesNothing)
{
    const QString pages[] = {
        QStringLiteral("<p>一致するデータが見つかりませんでした</p>") +
            headerPage(QStringLiteral("(1)&nbsp;&nbsp;東証&nbsp;x")),
        headerPage(QStringLiteral("(7203)&nbsp;東証1部")),                         // fewer than four pieces
        headerPage(QStringLiteral("(7203)&nbsp;&nbsp;東証1部&nbsp;x"), QString()), // no unit cell
        headerPage(QStringLiteral("(7203)&nbsp;&nbsp;東証1部&nbsp;x")).left(60),   // cut off after the marker
        QString(),
    };
    for (const QString &page : pages)
        EXPECT_FALSE(readIskHeader(page)) << page.toStdString();
}

TEST(InfoseekHistory, RowsValuesAndSplitDay)
{
    const QString page = historyPage(
        historyRow(QStringLiteral("2007年3月6日"),
                   {QStringLiteral("1,234"), QStringLiteral("12.5"), QStringLiteral("13.5"), QStringLiteral("1"),
                    QStringLiteral("3,000,000,000"), QStringLiteral("1,234")}) +
        historyRow(QStringLiteral("2007年3月5日"),
                   {QStringLiteral("500"), QStringLiteral("490"), QStringLiteral("510"), QStringLiteral("480"),
                    QStringLiteral("100"), QStringLiteral("500")}) +
        historyRow(QStringLiteral("2007年3月5日"), {QStringLiteral("分割"), QStringLiteral("1:2"), QStringLiteral("9"),
                                                    QStringLiteral("9"), QStringLiteral("9"), QStringLiteral("9")}));
    const IskHistory history = readIskHistory(page, QStringLiteral("7203"), 2007, 3, 1);
    EXPECT_EQ(history.page, IskHistory::Page::Read);
    EXPECT_TRUE(history.rejected.empty());
    const std::vector<iskKabukaRecord> &rows = history.rows;
    ASSERT_EQ(rows.size(), 2u);

    EXPECT_EQ(std::tie(rows[0].Year, rows[0].Month, rows[0].Day), std::tuple(2007, 3, 6));
    EXPECT_EQ(rows[0].Owarine, 1234);
    EXPECT_EQ(rows[0].Hazimene, QStringLiteral("12")); // halves to even
    EXPECT_EQ(rows[0].Takane, 14);
    EXPECT_EQ(rows[0].Yasune, 1);
    EXPECT_EQ(rows[0].Dekidaka, 3000000000LL); // past 32 bits
    EXPECT_EQ(rows[0].TyouseiOwarine, 1234);
    EXPECT_EQ(rows[0].BunkatuKubun, 0);

    // The day listed twice: one row, marked, with the first line's values.
    EXPECT_EQ(rows[1].Day, 5);
    EXPECT_EQ(rows[1].BunkatuKubun, 2);
    EXPECT_EQ(rows[1].Owarine, 500);
    EXPECT_EQ(rows[1].Hazimene, QStringLiteral("490"));
}

// A row is kept only with positive prices within range and a whole, non-negative volume;
// any other row is left out with the first bad cell named, and the rows around it stay.
TEST(InfoseekHistory, BadCellsRejectTheRowAndNameTheCell)
{
    const struct {
        int cell; // 0 終値 ... 4 出来高, 5 調整後終値
        const char *text;
        const char16_t *column; // nullptr: the row is kept
    } cases[] = {
        {0, "12345678901234567890", u"終値"},
        {0, "1'234", u"終値"},
        {0, "9000000000000000000", u"終値"},
        {0, "-500", u"終値"},
        {0, "0", u"終値"},
        {0, "0.4", u"終値"},
        {1, "-", u"始値"},
        {2, "", u"高値"},
        {3, "1e3", u"安値"},
        {5, "abc", u"調整後終値"},
        {4, "12345678901234567890", u"出来高"},
        {4, "12.5", u"出来高"},
        {4, "-1", u"出来高"},
        {4, "", u"出来高"},
        {0, "0.5", u"終値" /* rounds to 0, halves to even */},
        {0, "10,000,000,000", nullptr},
        {4, "0", nullptr},
        {4, "1,000,000,000,000,000", nullptr},
    };
    const QStringList good = {QStringLiteral("500"), QStringLiteral("490"), QStringLiteral("510"),
                              QStringLiteral("480"), QStringLiteral("100"), QStringLiteral("500")};
    for (const auto &c : cases) {
        QStringList cells = good;
        cells[c.cell] = QString::fromLatin1(c.text);
        const QString page = historyPage(historyRow(QStringLiteral("2007年3月7日"), good) +
                                         historyRow(QStringLiteral("2007年3月6日"), cells) +
                                         historyRow(QStringLiteral("2007年3月5日"), good));
        const IskHistory history = readIskHistory(page, QStringLiteral("7203"), 2007, 3, 1);
        const std::string where = std::to_string(c.cell) + " " + c.text;
        EXPECT_EQ(history.page, IskHistory::Page::Read) << where;
        const bool kept = c.column == nullptr;
        ASSERT_EQ(history.rows.size(), kept ? 3u : 2u) << where;
        if (kept)
            continue;
        ASSERT_EQ(history.rejected.size(), 1u) << where;
        EXPECT_EQ(history.rejected[0].Day, 6) << where;
        EXPECT_EQ(history.rejected[0].column, QString::fromUtf16(c.column)) << where;
        EXPECT_EQ(history.rejected[0].cell, QString::fromLatin1(c.text).toUpper()) << where;
    }
}

TEST(InfoseekHistory, StopsAtStartDayAndReadsOnlyWholePagesOfTheStock)
{
    const QStringList cells = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                               QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    const QString three = historyRow(QStringLiteral("2007年3月7日"), cells) +
                          historyRow(QStringLiteral("2007年3月6日"), cells) +
                          historyRow(QStringLiteral("2007年3月5日"), cells);
    using Page = IskHistory::Page;
    const struct {
        QString page;
        int startDay;
        Page state;
        size_t rows;
    } cases[] = {
        {historyPage(three), 6, Page::Read, 2}, // the row before the start day ends it
        {historyPage(three), 1, Page::Read, 3},
        {historyPage(three).replace(QStringLiteral("調整後終値"), QStringLiteral("調整値")), 1, Page::Unreadable,
         0}, // no history table
        {historyPage(three).left(historyPage(three).indexOf(QStringLiteral("<td>4</td>"), 200)), 1, Page::Unreadable,
         0},                                                                             // cut mid-row
        {historyPage(three).remove(QStringLiteral("</table>")), 1, Page::Unreadable, 0}, // cut after a whole row
        {historyPage(three, QStringLiteral("6758")), 1, Page::OtherStock, 0},            // another stock's page
        {historyPage(three, QString()), 1, Page::Read, 3},                               // no code named
        {QStringLiteral("<html><head><title>ソニー&lt;6758&gt;</title></head><body>") + historyPage(three, QString()),
         1, Page::OtherStock, 0}, // the title names another stock
        {historyPage(three, QString())
             .replace(QStringLiteral("<h1>トヨタ"), QStringLiteral("<h1 class=n>&lt;6758&gt;")),
         1, Page::OtherStock, 0},
        // Codes elsewhere above the table say nothing of the page's subject.
        {historyPage(three, QString()).replace(QStringLiteral("<table>"), kOtherStocksBox + QStringLiteral("<table>")),
         1, Page::Read, 3},
        {historyPage(three).replace(QStringLiteral("<table>"), kOtherStocksBox + QStringLiteral("<table>")), 1,
         Page::Read, 3},
        {historyPage(three, QString()).replace(QStringLiteral("<table>"), QStringLiteral("<p>(2007)</p><table>")), 1,
         Page::Read, 3},
        {historyPage(three, QString())
             .replace(QStringLiteral("<table>"), QStringLiteral("<h2>ソニー(6758)</h2><table>")),
         1, Page::Read, 3},
        {historyPage(historyRow(QStringLiteral("2007/3/7"), cells) + three), 1, Page::Read,
         0}, // a date cell without 年月日 ends the table
        {historyPage(historyRow(QStringLiteral("2007年3月"), cells) + three), 1, Page::Read, 0}, // fewer parts
        {historyPage(three).replace(QStringLiteral("<th scope=\"row\">"), QStringLiteral("<td>")), 1, Page::Read,
         0}, // no SCOPE=ROW
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const IskHistory history = readIskHistory(cases[i].page, QStringLiteral("7203"), 2007, 3, cases[i].startDay);
        EXPECT_EQ(history.page, cases[i].state) << i;
        EXPECT_EQ(history.rows.size(), cases[i].rows) << i;
    }
}

// The stock a history page is about is the code its title or main heading writes beside
// the name, in any bracketed form; a year there is no code.
TEST(InfoseekHistory, HeadingsNameTheStockInEveryBracketForm)
{
    const QStringList cells = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                               QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    const QString rows = historyRow(QStringLiteral("2007年3月6日"), cells);
    const sys::SimulatedClock clock(QDateTime(QDate(2010, 6, 1), QTime(9, 0)));
    using Page = IskHistory::Page;
    const struct {
        const char16_t *head; // what stands above the table
        Page state;
    } cases[] = {
        // The stock's own page, in each form.
        {u"<h1>トヨタ(7203)</h1>", Page::Read},
        {u"<h1>トヨタ（7203）</h1>", Page::Read},
        {u"<h1>トヨタ（７２０３）</h1>", Page::Read},
        {u"<h1>トヨタ【7203】</h1>", Page::Read},
        {u"<h1>トヨタ [7203.T]</h1>", Page::Read},
        {u"<h1>トヨタ［7203.t］</h1>", Page::Read},
        {u"<h1 class=n><span>トヨタ</span>( 7203 )</h1>", Page::Read},
        {u"<title>トヨタ&lt;7203&gt;</title>", Page::Read},
        {u"<title>トヨタ＜7203＞</title>", Page::Read},
        // Another stock's page, in each form.
        {u"<h1>ソニー(6758)</h1>", Page::OtherStock},
        {u"<h1>ソニー（6758）</h1>", Page::OtherStock},
        {u"<h1>ソニー（６７５８）</h1>", Page::OtherStock},
        {u"<h1>ソニー【6758】</h1>", Page::OtherStock},
        {u"<h1>ソニー [6758.T]</h1>", Page::OtherStock},
        {u"<h1>ソニー［6758.t］</h1>", Page::OtherStock},
        {u"<h1 class=n><span>ソニー</span>( 6758 )</h1>", Page::OtherStock},
        {u"<title>ソニー&lt;6758&gt;</title>", Page::OtherStock},
        {u"<title>ソニー＜6758＞</title>", Page::OtherStock},
        // A year in the heading of the stock's own page.
        {u"<title>トヨタ自動車 時系列 (2007)</title>", Page::Read},
        {u"<h1>株価時系列(2007)</h1>", Page::Read},
        {u"<title>トヨタ(7203) 時系列【2007】</title><h1>トヨタ</h1>", Page::Read},
        // A year beside another stock's code, or the stock's own code beside another's.
        {u"<title>ソニー(6758) 時系列 (2007)</title>", Page::OtherStock},
        {u"<title>時系列 (2007)</title><h1>ソニー[6758.T]</h1>", Page::OtherStock},
        {u"<title>ソニー(6758)</title><h1>トヨタ(7203)</h1>", Page::OtherStock},
        // A number before the asked start year is no year the page may name.
        {u"<h1>株価時系列(1999)</h1>", Page::OtherStock},
        // No code: five digits, or a code not in brackets.
        {u"<h1>トヨタ(72030)</h1>", Page::Read},
        {u"<h1>ソニー 6758</h1>", Page::Read},
        // A heading left open runs to the next heading, or to the table.
        {u"<h1>トヨタ(7203)", Page::Read},
        {u"<h1>ソニー(6758)", Page::OtherStock},
        {u"<h1>トヨタ<h2>ソニー(6758)</h2>", Page::Read},
        {u"<h1>トヨタ</h2><p>ソニー(6758)</p>", Page::Read},
        // The title's text is plain text up to its end tag.
        {u"<title>トヨタ<h1>ソニー(6758)</h1>", Page::OtherStock},
    };
    for (const auto &c : cases) {
        const QString head = QString::fromUtf16(c.head);
        const IskHistory history =
            readIskHistory(head + historyPage(rows, QString()), QStringLiteral("7203"), 2007, 3, 1);
        EXPECT_EQ(history.page, c.state) << head.toStdString();
        EXPECT_EQ(history.rows.size(), c.state == Page::Read ? 1u : 0u) << head.toStdString();
    }
    // The years from the start day's to this one are years the page may name; a later
    // number is a code.
    for (const auto &[year, state] : {std::pair{2010, Page::Read}, std::pair{2011, Page::OtherStock}}) {
        const QString titled = QStringLiteral("<title>時系列 (%1)</title>").arg(year);
        EXPECT_EQ(readIskHistory(titled + historyPage(rows, QString()), QStringLiteral("7203"), 2007, 3, 1).page, state)
            << year;
    }
}

// Pages built to make a reader's time grow with the square of their length are read like
// any other page: each of these finishes in about the time of parsing it.
TEST(InfoseekHistory, HostilePageShapesAreRead)
{
    const QStringList cells = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                               QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    const QString oneDay = historyRow(QStringLiteral("2007年3月6日"), cells);
    constexpr int kHeadings = 100'000;
    constexpr int kTableRows = 50'000; // about 5 MB of page
    QString distinctDays;
    for (int i = 0; i < kTableRows; ++i)
        distinctDays += historyRow(japaneseDay(QDate(2200, 1, 1).addDays(-i)), cells);
    using Page = IskHistory::Page;
    const struct {
        QString page;
        Page state;
        size_t rows;
    } cases[] = {
        {historyPage(oneDay), Page::Read, 1}, // the page as the site writes it
        {QStringLiteral("<h1>トヨタ(7203)").repeated(kHeadings) + historyPage(oneDay), Page::Read, 1},
        {QStringLiteral("<h1>トヨタ(7203)").repeated(kHeadings) + QStringLiteral("<h1>ソニー(6758)") +
             historyPage(oneDay),
         Page::OtherStock, 0},
        {QStringLiteral("<title>トヨタ(7203)").repeated(kHeadings) + historyPage(oneDay), Page::Read, 1},
        {QStringLiteral("<h1 class=x ").repeated(kHeadings) + historyPage(oneDay), Page::Read, 1},
        {QStringLiteral("<h1>(").repeated(kHeadings) + QStringLiteral("</h1>") + historyPage(oneDay), Page::Read, 1},
        {historyPage(distinctDays), Page::Read, size_t(kTableRows)},
        {historyPage(oneDay.repeated(kTableRows)), Page::Read, 1}, // one day listed again and again
        // Rows whose cells never end, and one end far behind them.
        {historyPage(QStringLiteral("<tr><th scope=row>2007年3月6日").repeated(kTableRows) + QStringLiteral("</td>")),
         Page::Unreadable, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const IskHistory history = readIskHistory(cases[i].page, QStringLiteral("7203"), 1900, 1, 1);
        EXPECT_EQ(history.page, cases[i].state) << i;
        EXPECT_EQ(history.rows.size(), cases[i].rows) << i;
    }
}

TEST(InfoseekCodes, MarketNamesAndSiteLetters)
{
    const struct {
        const char16_t *name;
        const char *code;
    } names[] = {{u"東証", "t1"},
                 {u"東証(REIT)", "tr"},
                 {u"ヘラクレスグロース", "hc2"},
                 {u"ヘラクレススタンダード", "hc1"},
                 {u"札幌証", "s1"},
                 {u"福岡証Qボード", "fq"},
                 {u"JASDAQ", "js"},
                 {u"東証１部", "na"},
                 {u"", "na"}};
    for (const auto &n : names)
        EXPECT_EQ(iskMarketCode(QString::fromUtf16(n.name)), QString::fromLatin1(n.code));

    const struct {
        const char *market;
        const char *letter;
    } letters[] = {{"t1", "t"}, {"tm", "t"}, {"oe", "o"}, {"hc1", "q"}, {"ns", "n"},
                   {"fq", "f"}, {"sa", "s"}, {"js", "j"}, {"na", "na"}, {"T1", "na"}};
    for (const auto &l : letters)
        EXPECT_EQ(iskSuffix(QString::fromLatin1(l.market)), QString::fromLatin1(l.letter));
}

TEST(CautionPage, ReadsCodesAndMarketsOfOneSection)
{
    const QString page = cautionPage(cautionRow(QStringLiteral("１２３４"), QStringLiteral("東1")) +
                                         cautionRow(QStringLiteral("5678"), QStringLiteral("ｊｑ")),
                                     cautionRow(QStringLiteral("9012"), QStringLiteral("ＨＱ")) +
                                         cautionRow(QStringLiteral("3456"), QStringLiteral("名m")));
    const CsmSection first = readCsmSection(1, page);
    ASSERT_EQ(first.outcome, CsmSection::Outcome::Read);
    ASSERT_EQ(first.rows.size(), 2u);
    EXPECT_EQ(first.rows[0].BrandCode, QStringLiteral("1234")); // full-width digits narrowed
    EXPECT_EQ(first.rows[0].SizyouCode, QStringLiteral("t1"));
    EXPECT_EQ(first.rows[1].SizyouCode, QStringLiteral("js")); // "ｊｑ" is compared upper-cased: "ＪＱ"
    const CsmSection second = readCsmSection(2, page);
    ASSERT_EQ(second.rows.size(), 2u);
    EXPECT_EQ(second.rows[0].SizyouCode, QStringLiteral("hc2"));
    EXPECT_EQ(second.rows[1].SizyouCode, QStringLiteral("nm")); // compared upper-cased
}

TEST(CautionPage, RowsAreFoundByTheirTagWithABlank)
{
    // A row written "<tr>" is not a row of the list; the first cell needs "<td " too.
    const QString page =
        cautionPage(QStringLiteral("<tr><td align=center>1111</td><td>x</td><td>東1</td><td>y</td></tr>\n") +
                        cautionRow(QStringLiteral("2222"), QStringLiteral("東2")),
                    QString());
    const CsmSection section = readCsmSection(1, page);
    ASSERT_EQ(section.rows.size(), 1u);
    EXPECT_EQ(section.rows[0].BrandCode, QStringLiteral("2222"));
    EXPECT_EQ(readCsmSection(2, page).outcome, CsmSection::Outcome::Read); // an empty list is a list
    EXPECT_TRUE(readCsmSection(2, page).rows.empty());
}

TEST(CautionPage, UnreadablePagesSayWhy)
{
    using Outcome = CsmSection::Outcome;
    const QString good = cautionPage(cautionRow(QStringLiteral("1234"), QStringLiteral("東1")), QString());
    const struct {
        QString page;
        Outcome outcome;
    } cases[] = {
        {QStringLiteral("     "), Outcome::NoPage},
        {QString(), Outcome::NoPage},
        {QStringLiteral("キーワードが入力されていません"), Outcome::NoPage},
        {QStringLiteral("<h1>ページが表示できません</h1>"), Outcome::ErrorPage},
        {QString(good).replace(QStringLiteral("■整理ポスト"), QStringLiteral("■整理")), Outcome::Missing},
        {good.left(good.indexOf(QStringLiteral("</table>"))), Outcome::Missing}, // no table end
        {QString(good).replace(QStringLiteral("市場"), QStringLiteral("取引所")), Outcome::Missing},
        {QString(good).replace(QStringLiteral("<td align=\"center\">1234"), QStringLiteral("<td>1234")),
         Outcome::Missing},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const CsmSection section = readCsmSection(1, cases[i].page);
        EXPECT_EQ(section.outcome, cases[i].outcome) << i;
        EXPECT_TRUE(section.rows.empty()) << i;
    }
}

TEST(CautionCodes, MarketAbbreviations)
{
    const struct {
        const char16_t *text;
        const char *code;
    } cases[] = {{u"東証", "t1"}, {u"東E", "te"},  {u"大G", "og"}, {u"ＨＱ", "hc2"}, {u"ＪＱ", "js"},
                 {u"名S", "ns"},  {u"福証", "f1"}, {u"札A", "sa"}, {u"HQ", "na"},    {u"東e", "na"}};
    for (const auto &c : cases)
        EXPECT_EQ(csmMarketCode(QString::fromUtf16(c.text)), QString::fromLatin1(c.code));
}

TEST(QuotePage, TimeOrDateChangeAndPrices)
{
    const QDate today(2007, 7, 2);
    const YahooQuote timed = readYahooQuote(quotePage(QStringLiteral("9:05 <b>612.5</b>")), today);
    ASSERT_EQ(timed.kind, YahooQuote::Kind::Quote);
    const yhfKabukaRecord &q = timed.record;
    EXPECT_EQ(std::tie(q.Year, q.Month, q.Day, q.Hour, q.Minute), std::tuple(2007, 7, 2, 9, 5));
    EXPECT_DOUBLE_EQ(q.Genzaiti, 612.5);
    EXPECT_DOUBLE_EQ(q.ZenzituHi, 123.45);
    EXPECT_DOUBLE_EQ(q.ZenzituHiRitu, 0.77);
    EXPECT_DOUBLE_EQ(q.Dekidaka, 1234500);
    EXPECT_DOUBLE_EQ(q.Hazimene, 610);
    EXPECT_DOUBLE_EQ(q.Takane, 1615);
    EXPECT_DOUBLE_EQ(q.Yasune, 605.5);

    const YahooQuote dated =
        readYahooQuote(quotePage(QStringLiteral("6/29 <b>700</b>"), QStringLiteral("前日比<br>-50(-0.30%)")), today);
    ASSERT_EQ(dated.kind, YahooQuote::Kind::Quote);
    const yhfKabukaRecord &d = dated.record;
    EXPECT_EQ(std::tie(d.Year, d.Month, d.Day, d.Hour, d.Minute), std::tuple(2007, 6, 29, 15, 0));
    EXPECT_DOUBLE_EQ(d.Genzaiti, 700);
    EXPECT_DOUBLE_EQ(d.ZenzituHi, -50);
    EXPECT_DOUBLE_EQ(d.ZenzituHiRitu, -0.3);
}

TEST(QuotePage, PagesWithoutAQuote)
{
    using Kind = YahooQuote::Kind;
    const QDate today(2007, 7, 2);
    const struct {
        QString page;
        Kind kind;
    } cases[] = {
        {QStringLiteral("   "), Kind::NoRow},
        {QStringLiteral("<p>キーワードが入力されていません</p>") + quotePage(QStringLiteral("9:05 1")), Kind::NoRow},
        {QString(quotePage(QStringLiteral("9:05 1"))).remove(QStringLiteral("アラートに登録")), Kind::NoQuote},
        // Without "取引値" the page is cut from its third character on; it still lacks the end marker here.
        {QString(quotePage(QStringLiteral("9:05 1")))
             .replace(QStringLiteral("取引値"), QStringLiteral("現在値"))
             .remove(QStringLiteral("アラートに登録")),
         Kind::NoQuote},
        // ... and here it has one: the text from the page's start is no quote cell.
        {QString(quotePage(QStringLiteral("9:05 1"))).replace(QStringLiteral("取引値"), QStringLiteral("現在値")),
         Kind::NoQuote},
        {quotePage(QStringLiteral("905 1")), Kind::NoQuote}, // no ":"
        {quotePage(QStringLiteral("9:05")), Kind::NoQuote},  // no blank before the price
        {quotePage(QStringLiteral("9:05 1"), QStringLiteral("前日比<br>+1")), Kind::NoQuote}, // no "(" in the change
        {quotePage(QStringLiteral("9:05 1"))
                 .left(quotePage(QStringLiteral("9:05 1")).indexOf(QStringLiteral("<tr><td>前日"))) +
             QStringLiteral("アラートに登録"),
         Kind::NoQuote}, // fewer than ten cells
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(readYahooQuote(cases[i].page, today).kind, cases[i].kind) << i;
}

TEST(QuotePage, CellsAreReadAfterExactlyBr)
{
    // "<br />" is not "<BR>": such a cell loses its first three characters and reads as 0.
    const YahooQuote quote = readYahooQuote(
        quotePage(QStringLiteral("9:05 612"), QStringLiteral("前日比<br>+1(+1%)"), QStringLiteral("出来高<br />1,000")),
        QDate(2007, 7, 2));
    ASSERT_EQ(quote.kind, YahooQuote::Kind::Quote);
    EXPECT_EQ(quote.record.Dekidaka, 0);
    EXPECT_EQ(quote.record.Genzaiti, 612);
}

TEST(QuoteCodes, SuffixIsExactAndCaseSensitive)
{
    const struct {
        const char *market;
        const char *suffix;
    } cases[] = {{"t1", ".t"}, {"tm", ".t"}, {"og", ".o"}, {"nm", ".n"}, {"fq", ".f"},
                 {"sa", ".s"}, {"hc1", ""},  {"js", ""},   {"na", ""},   {"T1", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(yhfSuffix(QString::fromLatin1(c.market)), QString::fromLatin1(c.suffix));
}

TEST(ResultTable, HoldsTheFirstThousandRows)
{
    QString history;
    const QDate newest(2007, 12, 31);
    for (int i = 0; i < 1005; ++i)
        history += historyRow(QStringLiteral("%1年%2月%3日")
                                  .arg(newest.addDays(-i).year())
                                  .arg(newest.addDays(-i).month())
                                  .arg(newest.addDays(-i).day()),
                              {QString::number(i + 1), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                               QStringLiteral("1"), QStringLiteral("1")});
    iskBrandCode = QStringLiteral("7203");
    iskStartYear = 2000;
    iskStartMonth = 1;
    iskStartDay = 1;
    iskOpen(2);
    iskParse(historyPage(history));
    ASSERT_EQ(iskCount, 1000);
    EXPECT_EQ(iskKabuka[1000].Owarine, 1000);
    EXPECT_EQ(iskKabuka[0].Year, 0); // row 0 is never filled

    QString rows;
    for (int i = 0; i < 1003; ++i)
        rows += cautionRow(QString::number(1000 + i), QStringLiteral("東1"));
    csmOpen(1);
    csmParse(cautionPage(rows, QString()));
    ASSERT_EQ(csmCount, 1000);
    EXPECT_EQ(csmMeigara[1000].BrandCode, QStringLiteral("1999"));
    EXPECT_TRUE(csmMeigara[0].BrandCode.isEmpty());
}
