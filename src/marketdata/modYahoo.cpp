#include "marketdata/modYahoo.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/QuotePage.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include <map>

int yhfMode = 0;
int yhfStatus = 0;
int yhfError = 0;
QString yhfBrandCode;
int yhfCount = 0;
std::array<yhfKabukaRecord, 1001> yhfKabuka;

namespace {

const QString kSiteKey = QStringLiteral("Yahoo");
// Cells of the quote section: 0 time and price, 1 change, 3 volume, 7 to 9 open, high, low.
constexpr qsizetype kQuoteCells = 10;

// The text after the first "<BR>"; a cell without one loses its first three characters.
QString afterBr(const QString &cell)
{
    return cell.mid(cell.indexOf(QStringLiteral("<BR>")) + 4);
}

double number(const QString &s)
{
    return text::leadingNumber(s);
}

// Time (or date) and price from cell 0; false unless the cell starts with "h:mm" or "m/d"
// and a blank (a changed page would otherwise yield a time and prices from other text).
bool readTimeAndPrice(const QString &cell, const QDate &today, yhfKabukaRecord &quote)
{
    static const QRegularExpression timeOrDate(QStringLiteral("^\\d{1,2}[:/]\\d{1,2}$"));
    const QString value = quotepage::cellValue(cell);
    const QStringList byBlank = value.split(u' ');
    if (byBlank.size() < 2 || !timeOrDate.match(byBlank[0]).hasMatch())
        return false;
    if (!value.contains(u'/')) {
        const QStringList byColon = value.split(u':');
        if (byColon.size() < 2)
            return false;
        quote.Year = today.year();
        quote.Month = today.month();
        quote.Day = today.day();
        quote.Hour = quotepage::wholeInt(number(byColon[0]));
        quote.Minute = quotepage::wholeInt(number(byColon[1].left(2)));
        quote.TimeShown = true;
    } else {
        const QStringList bySlash = value.split(u'/');
        quote.Year = today.year();
        quote.Month = quotepage::wholeInt(number(bySlash[0]));
        quote.Day = quotepage::wholeInt(number(bySlash[1].left(2)));
        quote.Hour = 15;
        quote.Minute = 0;
    }
    quote.Genzaiti = number(byBlank[1]);
    return true;
}

// Change and change rate from cell 1: "+123.45(+0.77%)" after its "<BR>".
bool readChange(const QString &cell, yhfKabukaRecord &quote)
{
    const QStringList pieces = afterBr(cell).split(u'(');
    if (pieces.size() < 2 || !pieces[1].contains(u'%'))
        return false;
    quote.ZenzituHi = number(pieces[0]);
    quote.ZenzituHiRitu = number(pieces[1].left(pieces[1].indexOf(u'%')));
    return true;
}

} // namespace

void yhfOpen(int kind)
{
    yhfMode = kind;
    yhfStatus = 0;
    yhfError = 0;
    yhfKabukaRecord &first = yhfKabuka[1];
    first.Hour = first.Minute = 0;
    first.Genzaiti = first.Hazimene = first.Takane = first.Yasune = 0;
    yhfClear(kind);
}

void yhfClear(int)
{
    for (size_t row = 0; row < quotepage::kResultRows; ++row)
        yhfKabuka[row].Year = yhfKabuka[row].Month = yhfKabuka[row].Day = 0;
    yhfStatus = 11;
    yhfCount = 0;
}

void yhfRun2(net::Inet &control)
{
    if (yhfError != 0 || yhfMode != 1)
        return;
    const QString address = quotepage::siteAddressOrLog(
        kSiteKey, QStringLiteral("q?d=t&s=") + QString::fromLatin1(QUrl::toPercentEncoding(yhfBrandCode)));
    if (text::trimSpaces(address).isEmpty())
        return;
    yhfCount = 0;
    const quotepage::Download page = quotepage::downloadPage(control, address, Basp::kcEucJp);
    yhfError = page.errorCode();
    yhfParseData2(page.text);
    writeLog(glngLogFileNo, QStringLiteral("■■■yhfRun2処理終了!!■■■"));
    quotepage::logErrorCode(yhfError);
}

void yhfParseData2(const QString &page)
{
    if (yhfMode != 1 || yhfStatus != 11)
        return;
    yhfParseQuote(page);
    writeLog(glngLogFileNo, QStringLiteral("yhfParseData2(1)■■■処理終了!!■■■"));
    quotepage::logErrorCode(yhfError);
}

void yhfParseQuote(const QString &page)
{
    const YahooQuote quote = readYahooQuote(page, sys::now().date());
    if (quote.kind == YahooQuote::Kind::NoRow || yhfCount >= quotepage::kResultRows)
        return;
    yhfCount = yhfCount + 1;
    if (quote.kind == YahooQuote::Kind::Quote)
        yhfKabuka[size_t(yhfCount)] = quote.record;
}

int yhfClose()
{
    return yhfError;
}

YahooQuote readYahooQuote(const QString &page, const QDate &today)
{
    YahooQuote quote;
    const QString text = quotepage::prepare(page);
    if (text::trimSpaces(text).isEmpty() || text.contains(QStringLiteral("キーワードが入力されていません")))
        return quote;
    quote.kind = YahooQuote::Kind::NoQuote;

    const QString marker = QStringLiteral("取引値");
    const qsizetype at = text.indexOf(marker);
    const std::optional<QString> section =
        quotepage::keepBefore(text.mid(at < 0 ? 2 : at + marker.size()), QStringLiteral("アラートに登録"));
    if (!section)
        return quote;
    QString cellsText = *section;
    cellsText.remove(QStringLiteral("<B>")).remove(QStringLiteral("</B>")).remove(u',');
    cellsText.replace(QStringLiteral("</TR>"), QStringLiteral("</TD>"));
    const QStringList cells = cellsText.split(QStringLiteral("</TD>"));
    if (cells.size() < kQuoteCells)
        return quote;

    yhfKabukaRecord record;
    if (!readTimeAndPrice(cells[0], today, record) || !readChange(cells[1], record))
        return quote;
    record.Dekidaka = number(afterBr(cells[3]));
    record.Hazimene = number(afterBr(cells[7]));
    record.Takane = number(afterBr(cells[8]));
    record.Yasune = number(afterBr(cells[9]));
    quote.kind = YahooQuote::Kind::Quote;
    quote.record = record;
    return quote;
}

QString yhfSuffix(const QString &market)
{
    static const std::map<QString, QString> suffixes = {
        {QStringLiteral("t1"), QStringLiteral(".t")}, {QStringLiteral("t2"), QStringLiteral(".t")},
        {QStringLiteral("te"), QStringLiteral(".t")}, {QStringLiteral("tg"), QStringLiteral(".t")},
        {QStringLiteral("ty"), QStringLiteral(".t")}, {QStringLiteral("tr"), QStringLiteral(".t")},
        {QStringLiteral("tm"), QStringLiteral(".t")}, {QStringLiteral("o1"), QStringLiteral(".o")},
        {QStringLiteral("o2"), QStringLiteral(".o")}, {QStringLiteral("og"), QStringLiteral(".o")},
        {QStringLiteral("oe"), QStringLiteral(".o")}, {QStringLiteral("n1"), QStringLiteral(".n")},
        {QStringLiteral("n2"), QStringLiteral(".n")}, {QStringLiteral("nm"), QStringLiteral(".n")},
        {QStringLiteral("ns"), QStringLiteral(".n")}, {QStringLiteral("f1"), QStringLiteral(".f")},
        {QStringLiteral("f2"), QStringLiteral(".f")}, {QStringLiteral("fm"), QStringLiteral(".f")},
        {QStringLiteral("fq"), QStringLiteral(".f")}, {QStringLiteral("s1"), QStringLiteral(".s")},
        {QStringLiteral("s2"), QStringLiteral(".s")}, {QStringLiteral("sm"), QStringLiteral(".s")},
        {QStringLiteral("sa"), QStringLiteral(".s")},
    };
    const auto it = suffixes.find(market);
    return it == suffixes.end() ? QString() : it->second;
}
