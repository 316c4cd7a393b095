#include "support/FakeQuotePages.h"

#include "platform/text/Format.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace fakepages {
namespace {

QString page(const QString &title, const QString &body)
{
    return QStringLiteral("<html>\n<head>\n%META%\n<title>") + title + QStringLiteral("</title>\n</head>\n<body>\n") +
           body + QStringLiteral("\n</body>\n</html>\n");
}

QString thousands(qint64 value)
{
    return text::formatThousands(double(value));
}

// "17,123.45" for the market average, "5,010" for a stock price.
QString price(double value, bool decimals)
{
    if (!decimals)
        return thousands(std::llround(value));
    const qint64 cents = std::llround(std::abs(value) * 100);
    return (value < 0 ? QStringLiteral("-") : QString()) + thousands(cents / 100) + u'.' +
           text::formatZeroPadded(cents % 100, 2);
}

QString signedNumber(double value)
{
    const QString digits = value == std::round(value) ? QString::number(std::llround(std::abs(value)))
                                                      : QString::number(std::abs(value), 'f', 2);
    return (value < 0 ? QStringLiteral("-") : QStringLiteral("+")) + digits;
}

QString japaneseDate(const QDate &d)
{
    return QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day());
}

QString historyRow(const FakeDay &d)
{
    return QStringLiteral("<tr><th scope=\"row\">") + japaneseDate(d.date) + QStringLiteral("</th><td>") +
           thousands(d.close) + QStringLiteral("</td><td>") + thousands(d.open) + QStringLiteral("</td><td>") +
           thousands(d.high) + QStringLiteral("</td><td>") + thousands(d.low) + QStringLiteral("</td><td>") +
           thousands(d.volume) + QStringLiteral("</td><td>") + thousands(d.adjustedClose) +
           QStringLiteral("</td></tr>\n");
}

QString fullWidthDigits(const QString &code)
{
    QString wide = code;
    for (QChar &c : wide)
        if (c.isDigit())
            c = QChar(char16_t(c.unicode() + 0xFEE0));
    return wide;
}

QString cautionTable(const FakeMarket &market, int section)
{
    QString rows;
    for (const FakeCaution &c : market.cautionList()) {
        if (c.section != section)
            continue;
        const FakeStock *stock = market.find(c.code, c.market);
        rows += QStringLiteral("<tr bgcolor=\"#ffffff\"><td align=\"center\">") +
                (c.fullWidth ? fullWidthDigits(c.code) : c.code) + QStringLiteral("</td><td>") +
                (stock ? stock->name : QStringLiteral("上場廃止予定")) + QStringLiteral("</td><td align=\"center\">") +
                FakeMarket::cautionAbbreviation(c.market) + QStringLiteral("</td><td>") +
                market.lastDay().toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("</td></tr>\n");
    }
    return QStringLiteral(
               "<table border=\"1\" cellpadding=\"2\">\n<tr bgcolor=\"#dddddd\"><th>コード</th><th>銘柄名</th>"
               "<th>市場</th><th>指定日</th></tr>\n") +
           rows + QStringLiteral("</table>\n");
}

} // namespace

QString stockHeaderPage(const FakeStock &stock, CodeMarks marks)
{
    const QString code = marks == CodeMarks::Parentheses ? u'(' + stock.code + QStringLiteral(")&nbsp;&nbsp;")
                                                         : QStringLiteral("&lt;") + stock.code + QStringLiteral("&gt;");
    return page(
        stock.name + QStringLiteral(" 株価"),
        QStringLiteral(
            "<div id=\"search\">\n<!-- 銘柄ヘッダ -->\n<div class=\"stockHeader\">\n<h1><span id=\"dname\">") +
            stock.name + QStringLiteral("</span></h1>\n<small>") + code + FakeMarket::infoseekMarketName(stock.market) +
            QStringLiteral("&nbsp;") + stock.industry +
            QStringLiteral("</small>\n</div>\n<table class=\"stockData\">\n<tr><th>単元株数</th><td class=\"num\">") +
            thousands(stock.unit) +
            QStringLiteral("株</td></tr>\n<tr><th>決算期</th><td>3月</td></tr>\n</table>\n</div>"));
}

QString noMatchPage()
{
    return page(QStringLiteral("銘柄検索"), QStringLiteral("<p>一致するデータが見つかりませんでした。</p>"));
}

QString historyPage(const FakeMarket &market, const FakeStock &stock, const QDate &start, const QDate &end,
                    CodeMarks marks)
{
    const std::vector<FakeDay> &days = market.history(stock.code, stock.market);
    QString rows;
    bool beforeStartListed = false;
    for (auto it = days.rbegin(); it != days.rend() && !beforeStartListed; ++it) {
        if (it->date > end)
            continue;
        beforeStartListed = it->date < start;
        rows += historyRow(*it);
        if (it->date == market.splitDay() && stock.code == market.splitStock().code &&
            stock.market == market.splitStock().market)
            rows += QStringLiteral("<tr><th scope=\"row\">") + japaneseDate(it->date) +
                    QStringLiteral("</th><td>株式分割</td><td>1:2</td><td>-</td><td>-</td><td>-</td><td>-</td></tr>\n");
    }
    return page(stock.name + QStringLiteral(" 時系列"),
                QStringLiteral("<h1>") + stock.name +
                    (marks == CodeMarks::Parentheses ? u'(' + stock.code + u')' : QString()) +
                    QStringLiteral("</h1>\n<table class=\"history\">\n<tr><th>日付</th>"
                                   "<th>終値</th><th>始値</th><th>高値</th><th>安値</th>"
                                   "<th>出来高</th><th>調整後終値</th></tr>\n") +
                    rows + QStringLiteral("</table>"));
}

QString cautionPage(const FakeMarket &market)
{
    return page(QStringLiteral("信用取引 注意銘柄一覧"),
                QStringLiteral("<h2>信用取引の注意銘柄</h2>\n<p>更新日 ") +
                    market.lastDay().toString(QStringLiteral("yyyy/MM/dd")) +
                    QStringLiteral("</p>\n<h3>■整理ポスト</h3>\n") + cautionTable(market, 1) +
                    QStringLiteral("<h3>■監理ポスト</h3>\n") + cautionTable(market, 2));
}

QString quotePage(const QString &code, const QString &name, const FakeQuote &quote)
{
    const bool decimals = code == FakeMarket::kIndexCode;
    const QString when =
        quote.showsTime
            ? QStringLiteral("%1:%2").arg(quote.time.hour()).arg(text::formatZeroPadded(quote.time.minute(), 2))
            : QStringLiteral("%1/%2").arg(quote.date.month()).arg(quote.date.day());
    const QString rate = signedNumber(quote.changeRate);
    return page(name + QStringLiteral("【") + code + QStringLiteral("】"),
                QStringLiteral("<table class=\"stocksTable\">\n<tr><th class=\"symbol\"><h1>") + name +
                    QStringLiteral("</h1></th><td class=\"stoksPrice\">取引値<td class=\"price\" nowrap>") + when +
                    QStringLiteral(" <b>") + price(quote.price, decimals) +
                    QStringLiteral("</b></td><td class=\"change\">前日比<br>") + signedNumber(quote.change) + u'(' +
                    rate + QStringLiteral("%)</td></tr>\n<tr><td>出来高<br>") + thousands(quote.volume) +
                    QStringLiteral("</td><td>売買代金<br>---</td></tr>\n<tr><td>前日終値<br>") +
                    price(quote.price - quote.change, decimals) + QStringLiteral("</td><td>始値<br>") +
                    price(quote.open, decimals) + QStringLiteral("</td><td>高値<br>") + price(quote.high, decimals) +
                    QStringLiteral("</td><td>安値<br>") + price(quote.low, decimals) +
                    QStringLiteral("</td></tr>\n</table>\n<p><a href=\"/alert?s=") + code +
                    QStringLiteral("\">アラートに登録</a></p>"));
}

QString noKeywordPage()
{
    return page(QStringLiteral("株価検索"), QStringLiteral("<p>キーワードが入力されていません。</p>"));
}

QString errorPage()
{
    return page(QStringLiteral("エラー"),
                QStringLiteral("<h1>ページが表示できません</h1>\n<p>しばらくしてからもう一度お試しください。</p>"));
}

QString changedPage(QString page)
{
    page.replace(QStringLiteral("<!-- 銘柄ヘッダ -->"), QStringLiteral("<!-- 銘柄情報 -->"));
    page.replace(QStringLiteral("調整後終値"), QStringLiteral("調整終値"));
    page.replace(QStringLiteral("■整理ポスト"), QStringLiteral("【整理銘柄】"));
    page.replace(QStringLiteral("■監理ポスト"), QStringLiteral("【監理銘柄】"));
    page.replace(QStringLiteral("取引値"), QStringLiteral("現在値"));
    return page;
}

} // namespace fakepages
