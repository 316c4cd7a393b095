#include "marketdata/modinfoseek.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/PageSubject.h"
#include "marketdata/QuotePage.h"
#include "marketdata/StockCode.h"
#include "platform/net/Inet.h"
#include "platform/net/SiteFile.h"
#include "platform/net/Transfer.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"

#include <QUrl>

#include <algorithm>
#include <map>
#include <tuple>
#include <variant>

int iskMode = 0;
int iskStatus = 0;
int iskError = 0;
int iskCount = 0;
std::array<iskKabukaRecord, 1001> iskKabuka;
std::vector<IskRejectedRow> iskRejected;

QString iskBrandCode;
QString iskSizyouCode;
int iskStartYear = 0;
int iskStartMonth = 0;
int iskStartDay = 0;
int iskEndYear = 0;
int iskEndMonth = 0;
int iskEndDay = 0;

QString iskBrandName;
QString iskGyousyuName;
QString iskTangenKabusu;

namespace {

bool notListed = false;
constexpr int kMaxAttempts = 10;
const QString kSiteKey = QStringLiteral("Infoseek");

QString queryValue(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

QString pageAddress()
{
    const QString qt = QStringLiteral("&qt=") + queryValue(iskBrandCode) + u'.' + iskSuffix(iskSizyouCode);
    QString path;
    if (iskMode == 1) {
        path = QStringLiteral("MnStock/sresult.html?search=1") + qt;
    } else if (iskMode == 2) {
        path = QStringLiteral("MnStock/slast.html?pg=slast.html&search=1&k=d") + qt +
               QStringLiteral("&sy=%1&sm=%2&sd=%3&ey=%4&em=%5&ed=%6")
                   .arg(iskStartYear)
                   .arg(iskStartMonth)
                   .arg(iskStartDay)
                   .arg(iskEndYear)
                   .arg(iskEndMonth)
                   .arg(iskEndDay);
    } else {
        return {};
    }
    return quotepage::siteAddressOrLog(kSiteKey, path);
}

// The date cell's year, month and day; nothing when it holds fewer than three numbers
// (a cell without 年/月/日 ends the table).
std::optional<std::tuple<int, int, int>> historyDate(QString cell)
{
    cell.replace(u'年', u'-').replace(u'月', u'-').replace(u'日', u'-');
    const QStringList pieces = cell.split(u'-');
    if (pieces.size() < 3 || !std::all_of(pieces.begin(), pieces.begin() + 3, text::isNumeric))
        return std::nullopt;
    const auto part = [&](int i) { return quotepage::wholeInt(text::trimSpaces(pieces[i]).toDouble()); };
    return std::tuple{part(0), part(1), part(2)};
}

// The headings of the six value cells, in page order.
const std::array<QString, 6> kValueColumns = {QStringLiteral("終値"),   QStringLiteral("始値"),
                                              QStringLiteral("高値"),   QStringLiteral("安値"),
                                              QStringLiteral("出来高"), QStringLiteral("調整後終値")};
constexpr size_t kVolumeCell = 4;

// The six value cells of a history row, in page order, as the page wrote them; nothing
// when the row ends early.
std::optional<std::array<QString, 6>> historyCells(quotepage::PageCursor &text)
{
    std::array<QString, 6> cells;
    for (QString &cell : cells) {
        if (!text.cutAfter(u"</TD>"))
            return std::nullopt;
        const std::optional<QString> raw = text.keepBefore(u"</TD>");
        if (!raw)
            return std::nullopt;
        cell = quotepage::cellValue(*raw);
    }
    text.cutAfter(u"</TD>");
    return cells;
}

// A price cell: a number rounded to a whole number (halves to even) from 1 to kIskMaxPrice.
std::optional<qint64> priceCell(QString cell)
{
    cell.remove(u',');
    if (!text::isNumeric(cell))
        return std::nullopt;
    const double value = text::trimSpaces(cell).toDouble();
    if (!(value >= 0.5 && value <= double(kIskMaxPrice)))
        return std::nullopt;
    const qint64 price = text::roundHalfEven(value);
    return price >= 1 ? std::optional(price) : std::nullopt;
}

// A volume cell: digits only (thousands separators aside), at most kIskMaxVolume.
std::optional<qint64> volumeCell(QString cell)
{
    cell.remove(u',');
    cell = text::trimSpaces(cell);
    if (cell.isEmpty() || !std::all_of(cell.begin(), cell.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const qint64 volume = cell.toLongLong(&ok);
    return ok && volume <= kIskMaxVolume ? std::optional(volume) : std::nullopt;
}

// The row made of a date and its six cells, or the first cell that makes it unusable.
std::variant<iskKabukaRecord, IskRejectedRow> historyRow(int year, int month, int day,
                                                         const std::array<QString, 6> &cells)
{
    std::array<qint64, 6> values{};
    for (size_t i = 0; i < cells.size(); ++i) {
        const std::optional<qint64> value = i == kVolumeCell ? volumeCell(cells[i]) : priceCell(cells[i]);
        if (!value)
            return IskRejectedRow{year, month, day, kValueColumns[i], cells[i]};
        values[i] = *value;
    }
    iskKabukaRecord row;
    row.Year = year;
    row.Month = month;
    row.Day = day;
    row.Owarine = values[0];
    row.Hazimene = QString::number(values[1]);
    row.Takane = values[2];
    row.Yasune = values[3];
    row.Dekidaka = values[4];
    row.TyouseiOwarine = values[5];
    return row;
}

// The years a history page asked for from `startYear` on may name in its headings: from
// the start year to this year.
YearSpan historyYears(int startYear)
{
    const int thisYear = sys::now().date().year();
    return {std::min(startYear, thisYear), std::max(startYear, thisYear)};
}

} // namespace

void iskOpen(int mode)
{
    iskMode = mode;
    iskStatus = 0;
    iskError = 0;
    iskClear(mode);
}

void iskClear(int mode)
{
    iskStatus = 11;
    iskCount = 0;
    iskRejected.clear();
    notListed = false;
    if (mode == 1 || mode == 2)
        iskKabuka.fill(iskKabukaRecord{});
}

void iskRun(net::Inet &control, const std::function<bool()> &stopRequested)
{
    if (iskError != 0)
        return;
    const QString address = pageAddress();
    if (text::trimSpaces(address).isEmpty()) {
        // No page can be asked for: a failure, not a page without rows.
        iskError = iskMode == 1 || iskMode == 2 ? kIskNoAddress : 0;
        return;
    }
    int lastTransferError = 0;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        iskError = 0;
        iskCount = 0;
        notListed = false;
        const quotepage::Download page = quotepage::downloadPage(control, address, mail::Basp::kcEucJp);
        if (page.error == net::kErrorBodyTooLarge || page.error == net::kErrorForeignRedirect) {
            iskError = page.error; // the same answer again: not worth another attempt
            return;
        }
        if (page.error != 0)
            lastTransferError = page.error;
        else if (!page.empty)
            return iskParse(page.text);
        if (stopRequested && stopRequested())
            break;
    }
    iskError = lastTransferError != 0 ? lastTransferError : quotepage::kNoPageError;
}

void iskAction(net::Inet &control, int state)
{
    if (state != net::icResponseCompleted)
        return;
    QString page;
    for (QString chunk = control.GetChunk(1024); !chunk.isEmpty(); chunk = control.GetChunk(1024))
        page += chunk;
    iskParse(page);
}

void iskParse(const QString &page)
{
    if (iskStatus != 11)
        return;
    if (iskMode == 1)
        iskParseHeader(page);
    else if (iskMode == 2)
        iskParseHistory(page);
}

void iskParseHeader(const QString &page)
{
    const std::optional<IskHeader> header = readIskHeader(page);
    if (!header) {
        notListed = isIskNotFoundPage(page);
        return;
    }
    if (!header->code.isEmpty() && header->code != iskBrandCode.toUpper()) {
        iskError = kIskOtherStockPage; // e.g. a redirect to another stock's page
        return;
    }
    iskBrandName = header->brandName;
    iskSizyouCode = header->sizyouCode;
    iskGyousyuName = header->gyousyuName;
    iskTangenKabusu = header->tangenKabusu;
    iskCount = iskCount + 1;
}

void iskParseHistory(const QString &page)
{
    IskHistory history = readIskHistory(page, iskBrandCode, iskStartYear, iskStartMonth, iskStartDay);
    if (history.page == IskHistory::Page::Unreadable)
        iskError = kIskUnreadablePage;
    else if (history.page == IskHistory::Page::OtherStock)
        iskError = kIskOtherStockPage;
    iskRejected = std::move(history.rejected);
    const std::vector<iskKabukaRecord> &rows = history.rows;
    const int kept = int(std::min<size_t>(rows.size(), size_t(quotepage::kResultRows - iskCount)));
    for (int i = 0; i < kept; ++i)
        iskKabuka[size_t(iskCount + 1 + i)] = rows[size_t(i)];
    iskCount += kept;
    if (size_t(kept) < rows.size())
        quotepage::logRowsLeftOut(QStringLiteral("iskParseHistory"), rows.size());
}

bool iskNotListed()
{
    return notListed;
}

int iskClose()
{
    return iskError;
}

bool isIskNotFoundPage(const QString &page)
{
    return quotepage::prepare(page).contains(QStringLiteral("一致するデータが見つかりませんでした"));
}

std::optional<IskHeader> readIskHeader(const QString &page)
{
    using namespace quotepage;
    if (isIskNotFoundPage(page))
        return std::nullopt;
    QString text = prepare(page);
    IskHeader header;
    if (!cutAfter(text, QStringLiteral("<!-- 銘柄ヘッダ -->")) || !cutAfter(text, QStringLiteral("<SPAN ID=DNAME>")))
        return std::nullopt;
    const std::optional<QString> name = keepBefore(text, QStringLiteral("</SPAN>"));
    if (!name || !cutAfter(text, QStringLiteral("<SMALL>")))
        return std::nullopt;
    header.brandName = *name;

    std::optional<QString> small = keepBefore(text, QStringLiteral("</SMALL>"));
    if (!small)
        return std::nullopt;
    QString s = keepBefore(*small, QStringLiteral("<")).value_or(*small);
    for (const char16_t *noise : {u"&LT", u"&GT", u"&NBSP", u"\r", u"\n", u" "})
        s.remove(QString::fromUtf16(noise));
    const QStringList pieces = s.split(u';');
    if (pieces.size() < 4)
        return std::nullopt;
    // The pieces in front of the market may name the stock, as "(7203)" or "&lt;7203&gt;"
    // (whose brackets are gone with the entities) or in another bracketed form.
    for (const QString &piece : {pieces[0], pieces[1]}) {
        const std::optional<QString> code = isStockCode(piece) ? piece : bracketedCode(piece);
        if (code) {
            header.code = *code;
            break;
        }
    }
    header.sizyouCode = iskMarketCode(text::trimSpaces(pieces[2]));
    header.gyousyuName = pieces[3];

    if (!cutAfter(text, QStringLiteral("単元株数")) || !cutAfter(text, QStringLiteral("<TD")) ||
        !cutAfter(text, QStringLiteral(">")))
        return std::nullopt;
    std::optional<QString> unit = keepBefore(text, QStringLiteral("株</TD>"));
    if (!unit)
        return std::nullopt;
    unit->remove(u',');
    header.tangenKabusu = text::formatPlainNumber(text::leadingNumber(*unit));
    return header;
}

IskHistory readIskHistory(const QString &page, const QString &code, int startYear, int startMonth, int startDay)
{
    using namespace quotepage;
    QString prepared = prepare(page);
    prepared.replace(QStringLiteral("<TH"), QStringLiteral("<TD"))
        .replace(QStringLiteral("TH>"), QStringLiteral("TD>"));
    IskHistory history;
    const QString tableHeader = QStringLiteral(">調整後終値</TD>");
    const qsizetype tableAt = prepared.indexOf(tableHeader);
    if (tableAt < 0)
        return history;
    if (namesOtherStock(QStringView(prepared).first(tableAt), code.toUpper(), historyYears(startYear))) {
        history.page = IskHistory::Page::OtherStock;
        return history;
    }
    PageCursor text(std::move(prepared));
    text.cutAfter(tableHeader);
    const std::tuple start{startYear, startMonth, startDay};
    std::optional<std::tuple<int, int, int>> previous;
    while (text.contains(QStringLiteral("SCOPE=ROW"))) {
        if (!text.cutAfter(u"<TR") || !text.cutAfter(u">"))
            break; // a split line's own mark was the last
        const std::optional<QString> dateCell = text.keepBefore(u"</TD>");
        if (!dateCell)
            return {};
        const auto date = historyDate(cellValue(*dateCell));
        if (!date)
            break;
        if (previous == date) {
            // The day listed a second time: a split line, whose cells are passed over.
            if (!history.rows.empty() &&
                std::tie(history.rows.back().Year, history.rows.back().Month, history.rows.back().Day) == *date)
                history.rows.back().BunkatuKubun = 2;
            text.cutAfter(u"</TD>");
            continue;
        }
        const std::optional<std::array<QString, 6>> cells = historyCells(text);
        if (!cells)
            return {}; // the page ends inside a row
        if (*date < start)
            break;
        previous = date;
        const auto [year, month, day] = *date;
        const std::variant<iskKabukaRecord, IskRejectedRow> row = historyRow(year, month, day, *cells);
        if (const auto *kept = std::get_if<iskKabukaRecord>(&row))
            history.rows.push_back(*kept);
        else
            history.rejected.push_back(std::get<IskRejectedRow>(row));
    }
    // A page cut off after its last whole row has lost the table's end.
    if (!text.contains(QStringLiteral("</TABLE>")))
        return {};
    history.page = IskHistory::Page::Read;
    return history;
}

QString iskSiteHost()
{
    return QUrl(net::siteAddress(kSiteKey, QString()).valueOr(QString())).host();
}

QString iskMarketCode(const QString &name)
{
    static const std::map<QString, QString> codes = {
        {QStringLiteral("東証"), QStringLiteral("t1")},
        {QStringLiteral("東証1部"), QStringLiteral("t1")},
        {QStringLiteral("東証2部"), QStringLiteral("t2")},
        {QStringLiteral("東証(ETF)"), QStringLiteral("te")},
        {QStringLiteral("東証外国部"), QStringLiteral("tg")},
        {QStringLiteral("東証(優先出資証券)"), QStringLiteral("ty")},
        {QStringLiteral("東証(REIT)"), QStringLiteral("tr")},
        {QStringLiteral("東証マザーズ"), QStringLiteral("tm")},
        {QStringLiteral("大証1部"), QStringLiteral("o1")},
        {QStringLiteral("大証2部"), QStringLiteral("o2")},
        {QStringLiteral("大証外国部"), QStringLiteral("og")},
        {QStringLiteral("ヘラクレスグロース"), QStringLiteral("hc2")},
        {QStringLiteral("ヘラクレススタンダード"), QStringLiteral("hc1")},
        {QStringLiteral("ヘラクレス外国部"), QStringLiteral("hcg")},
        {QStringLiteral("大証(ETF)"), QStringLiteral("oe")},
        {QStringLiteral("名古屋証1部"), QStringLiteral("n1")},
        {QStringLiteral("名古屋証2部"), QStringLiteral("n2")},
        {QStringLiteral("名古屋証マザーズ"), QStringLiteral("nm")},
        {QStringLiteral("名古屋証セントレックス"), QStringLiteral("ns")},
        {QStringLiteral("福岡証"), QStringLiteral("f1")},
        {QStringLiteral("福岡証1部"), QStringLiteral("f1")},
        {QStringLiteral("福岡証2部"), QStringLiteral("f2")},
        {QStringLiteral("福岡証マザーズ"), QStringLiteral("fm")},
        {QStringLiteral("福岡証Qボード"), QStringLiteral("fq")},
        {QStringLiteral("札幌証1部"), QStringLiteral("s1")},
        {QStringLiteral("札幌証"), QStringLiteral("s1")},
        {QStringLiteral("札幌証2部"), QStringLiteral("s2")},
        {QStringLiteral("札幌証マザーズ"), QStringLiteral("sm")},
        {QStringLiteral("札幌証アンビシャス"), QStringLiteral("sa")},
        {QStringLiteral("JASDAQ"), QStringLiteral("js")},
    };
    const auto it = codes.find(name);
    return it == codes.end() ? QStringLiteral("na") : it->second;
}

QString iskSuffix(const QString &market)
{
    static const std::map<QString, QString> letters = {
        {QStringLiteral("t1"), QStringLiteral("t")},  {QStringLiteral("t2"), QStringLiteral("t")},
        {QStringLiteral("te"), QStringLiteral("t")},  {QStringLiteral("tg"), QStringLiteral("t")},
        {QStringLiteral("ty"), QStringLiteral("t")},  {QStringLiteral("tr"), QStringLiteral("t")},
        {QStringLiteral("tm"), QStringLiteral("t")},  {QStringLiteral("o1"), QStringLiteral("o")},
        {QStringLiteral("o2"), QStringLiteral("o")},  {QStringLiteral("og"), QStringLiteral("o")},
        {QStringLiteral("oe"), QStringLiteral("o")},  {QStringLiteral("hc2"), QStringLiteral("q")},
        {QStringLiteral("hc1"), QStringLiteral("q")}, {QStringLiteral("hcg"), QStringLiteral("q")},
        {QStringLiteral("n1"), QStringLiteral("n")},  {QStringLiteral("n2"), QStringLiteral("n")},
        {QStringLiteral("nm"), QStringLiteral("n")},  {QStringLiteral("ns"), QStringLiteral("n")},
        {QStringLiteral("f1"), QStringLiteral("f")},  {QStringLiteral("f2"), QStringLiteral("f")},
        {QStringLiteral("fm"), QStringLiteral("f")},  {QStringLiteral("fq"), QStringLiteral("f")},
        {QStringLiteral("s1"), QStringLiteral("s")},  {QStringLiteral("s2"), QStringLiteral("s")},
        {QStringLiteral("sm"), QStringLiteral("s")},  {QStringLiteral("sa"), QStringLiteral("s")},
        {QStringLiteral("js"), QStringLiteral("j")},
    };
    const auto it = letters.find(market);
    return it == letters.end() ? QStringLiteral("na") : it->second;
}
