#include "trading/modBrokerPages.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/browser/Browser.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "trading/BrokerSite.h"
#include "trading/BrokerStep.h"
#include "trading/BrokerText.h"
#include "trading/modBroker.h"

#include <QRegularExpression>

namespace {

constexpr int kMaxHoldings = 1000;

browser::Node &nthNamed(const browser::Document &page, const QString &name, int position)
{
    const QList<browser::Node *> group = page.getElementsByName(name);
    if (group.size() <= position)
        throw BrokerPageError(QStringLiteral("画面に") + name + QStringLiteral("の") + QString::number(position + 1) +
                              QStringLiteral("番目の選択肢がありません"));
    return *group.at(position);
}

void selectMarket(const browser::Document &page)
{
    const QString exchange = etrMarketCode(etrOrder.市場コード);
    for (browser::Node *option : page.elementNamed(QStringLiteral("input_market")).options()) {
        if (option->value() == exchange) {
            option->setSelected(true);
            return;
        }
    }
    throw BrokerPageError(QStringLiteral("注文画面の市場(input_market)に") + exchange + QStringLiteral("(市場コード:") +
                          etrOrder.市場コード + QStringLiteral(")がないため注文しない"));
}

// Before the order leaves, the store says so: should the answer never be read (the
// connection drops, the program ends), the reservation is marked "outcome unknown" and is
// not sent again by itself.
void markOrderSending()
{
    gcnDB.execute(QStringLiteral("update ttresevation set エラーコード = ?, 更新日付 = ? where 予約番号 = ?"),
                  int(etrErrOutcomeUnknown), db::dateTimeText(sys::now()), etrOrder.予約番号);
    if (gcnDB.changes() != 1)
        throw BrokerPageError(QStringLiteral("予約番号") + QString::number(etrOrder.予約番号) +
                              QStringLiteral("の予約データがないため注文しない"));
    broker::orderSent = true;
    writeLog(glngLogFileNo,
             QStringLiteral("★注文送信(予約番号:") + QString::number(etrOrder.予約番号) + QStringLiteral(")"));
}

int refusalCode(const QString &pageText)
{
    if (pageText.contains(QStringLiteral("買付余力が不足しております｡")))
        return etrErrBuyingPower;
    if (pageText.contains(QStringLiteral("売買単位が誤っております｡")))
        return etrErrTradingUnit;
    if (pageText.contains(QStringLiteral("該当する銘柄情報は見つかりませんでした。")))
        return etrErrNoStock;
    if (pageText.contains(QStringLiteral("預り残高が不足しているため")))
        return etrErrHoldingsShort;
    return etrErrRefused;
}

// Whether a page says that something failed: one of the refusals the codes name, or any
// other refusal or error text. Beside the acceptance text it leaves the outcome unknown.
bool showsRefusalOrError(const QString &pageText)
{
    static const QStringList words = {QStringLiteral("できません"), QStringLiteral("られません"),
                                      QStringLiteral("エラー"), QStringLiteral("失敗"), QStringLiteral("ERROR")};
    if (refusalCode(pageText) != etrErrRefused)
        return true;
    for (const QString &word : words)
        if (pageText.contains(word))
            return true;
    return false;
}

// The order number of an acceptance page: all nine cells of the order summary must be found.
QString acceptedOrderNumber(const QString &pageText)
{
    const struct {
        const char16_t *label;
        QString terminator;
    } cells[] = {
        {u"受付時間<", QStringLiteral("<")},
        {u"注文番号<", QStringLiteral("<")},
        {u"取引<", QStringLiteral("<")},
        {u"銘柄コード<", QStringLiteral("<")},
        {u"銘柄<", QStringLiteral("<")},
        {u"市場<", QStringLiteral("<")},
        {u"株数<", QStringLiteral("株<")},
        {u"価格<", etrOrder.指成区分 == 1 ? QStringLiteral("円<") : QStringLiteral("<")},
        {u"期間<", QStringLiteral("<")},
    };
    QString s = pageText;
    QString orderNumber;
    for (const auto &cell : cells) {
        s = advancePastFound(s, QString::fromUtf16(cell.label));
        s = advancePastFound(s, QStringLiteral("<TD "));
        const QString value = advancePastFound(takeUpTo(s, cell.terminator), QStringLiteral(">"));
        if (cell.label == cells[1].label)
            orderNumber = value.trimmed();
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(orderNumber).hasMatch())
        throw BrokerPageError(QStringLiteral("注文番号(") + orderNumber + QStringLiteral(")が数字ではありません"));
    return orderNumber;
}

// A number cell: "1,234" reads as 1234; a cell without a number fails the page step.
qint64 cellNumber(QString cell, const char *what)
{
    cell.remove(u',');
    if (!startsWithNumber(cell))
        throw BrokerPageError(QString::fromUtf8(what) + QStringLiteral("(") + cell +
                              QStringLiteral(")が数値ではありません"));
    return pageNumber(cell);
}

qint64 cashBalance(const QString &upperHtml)
{
    QString s = advancePastFound(upperHtml, QStringLiteral("現金残高"));
    s = advancePastFound(s, QStringLiteral("</TD>"));
    s = takeUpTo(s, QStringLiteral("</FONT>"));
    s = advancePastFound(s, QStringLiteral("<FONT"));
    s.remove(u',');
    s = advancePastFound(s, QStringLiteral(">"));
    return cellNumber(s, "現金残高");
}

// The holdings table: two rows per holding, the code in the first, shares and unit price
// in the second. Only the log reads it.
std::vector<etrHoyuuInfo> holdings(const QString &pageText)
{
    std::vector<etrHoyuuInfo> rows;
    QString s = advancePast(pageText, QStringLiteral(">株式（現物/"));
    s = takeUpTo(s, QStringLiteral("</TABLE>"));
    s = advancePast(s, QStringLiteral("評価損益"));
    while (s.contains(QStringLiteral("<TR"))) {
        etrHoyuuInfo row;
        s = advancePast(s, QStringLiteral("<TR"));
        QString t = advancePast(s, QStringLiteral("<TD"));
        t = takeUpTo(t, QStringLiteral("<A HREF"));
        row.銘柄コード = advancePast(t, QStringLiteral(">"));
        if (int(rows.size()) == kMaxHoldings)
            throw BrokerPageError(QStringLiteral("保有銘柄が") + QString::number(kMaxHoldings) +
                                  QStringLiteral("件を超えています"));
        s = advancePast(s, QStringLiteral("<TR"));
        s = advancePast(s, QStringLiteral("<TD"));
        t = advancePast(takeUpTo(s, QStringLiteral("</TD>")), QStringLiteral(">"));
        row.株数 = pageNumber(t.remove(u','));
        s = advancePast(s, QStringLiteral("<TD"));
        t = advancePast(takeUpTo(s, QStringLiteral("</TD>")), QStringLiteral(">"));
        row.単価 = pageNumber(t.remove(u','));
        rows.push_back(row);
    }
    return rows;
}

} // namespace

namespace broker {

void orderFormPage(browser::Browser &webOrder)
{
    etrRunningMode = 2;
    if (etrOrder.株数 <= 0)
        throw BrokerPageError(QStringLiteral("注文株数(") + QString::number(etrOrder.株数) +
                              QStringLiteral(")が0以下のため注文しない"));
    const browser::Document &page = webOrder.document();
    page.elementNamed(QStringLiteral("stock_sec_code")).setValue(etrOrder.銘柄コード);
    selectMarket(page);
    page.elementNamed(QStringLiteral("input_quantity")).setValue(QString::number(etrOrder.株数));
    const bool sell = etrOrder.売買区分 == 2;
    const int tradeKind = etrOrder.取引区分 == 2 ? (sell ? 3 : 2) : (sell ? 1 : 0);
    nthNamed(page, QStringLiteral("trade_kbn"), tradeKind).setChecked(true);
    if (etrOrder.指成区分 == 1) {
        page.elementNamed(QStringLiteral("input_price")).setValue(QString::number(etrOrder.指値));
        nthNamed(page, QStringLiteral("in_sasinari_kbn"), 0).setChecked(true);
    } else {
        nthNamed(page, QStringLiteral("in_sasinari_kbn"), 1).setChecked(true);
    }
    page.elementNamed(QStringLiteral("trade_pwd")).setValue(etrPassword2);
    page.elementNamed(QStringLiteral("skip_estimate")).setChecked(true);
    browser::Node &place = page.elementNamed(QStringLiteral("ACT_place"));
    markOrderSending();
    try {
        place.click();
    } catch (const browser::SubmitRefused &) {
        broker::orderSent = false; // refused before any request was made: the order did not leave
        throw;
    }
    broker::markPageActedOn(webOrder);
    etrActionMode = 11;
    etrRunningMode = 1;
}

void acceptancePage(const QString &pageText, bool nestingCapped)
{
    etrRunningMode = 2;
    int code = etrErrNone;
    const bool accepted = pageText.contains(QStringLiteral("ご注文を受け付けました"));
    if (!accepted) {
        code = refusalCode(pageText);
        writeLog(glngLogFileNo, QStringLiteral("★エラーHTML:") + pageText);
    } else if (showsRefusalOrError(pageText)) {
        // A page that says both cannot be believed either way: the order may stand, so it
        // is never sent again by itself, and the user looks on the broker's site.
        code = etrErrOutcomeUnknown;
        writeLog(glngLogFileNo, QStringLiteral("★注文受付と注文エラーの両方の文言があるため結果不明"));
        writeLog(glngLogFileNo, QStringLiteral("★エラーHTML:") + pageText);
    } else if (nestingCapped) {
        // Part of the page was read otherwise than written: what hides the acceptance or
        // shows a refusal may be in it.
        code = etrErrOutcomeUnknown;
        writeLog(glngLogFileNo, QStringLiteral("★注文受付画面の入れ子が深すぎて全体を読めないため結果不明"));
    } else {
        etrOrderNo = acceptedOrderNumber(pageText);
    }
    broker::endStep(code);
    writeLog(glngLogFileNo, QStringLiteral("etrAction■■■処理終了!!■■■"));
    writeLog(glngLogFileNo, QStringLiteral("エラーコード:") + QString::number(etrError));
    writeLog(glngLogFileNo, QStringLiteral("注文番号:") + etrOrderNo);
}

void accountPage(browser::Browser &webOrder)
{
    etrRunningMode = 2;
    writeLog(glngLogFileNo, QStringLiteral("■■■口座管理画面S■■■"));
    browser::Document &page = webOrder.document();
    const QString html = page.bodyContentHTML();
    const QString upper = html.toUpper();
    if (upper.contains(QStringLiteral("顧客サイトへのログインが必要です。"))) {
        writeLog(glngLogFileNo, QStringLiteral("★エラーHTML:") + upper);
        broker::endStep(etrErrLoginRequired);
        return;
    }
    const qint64 cash = cashBalance(upper);
    const std::vector<etrHoyuuInfo> rows = holdings(brokerPageText(html));
    etrGenkinZandaka = cash;
    etrHoyuuMeigara = rows;
    etrHoyuuCount = int(rows.size());
    for (const etrHoyuuInfo &row : rows)
        writeLog(glngLogFileNo, QStringLiteral("保有銘柄コード:") + row.銘柄コード + QStringLiteral("　市場:") +
                                    row.市場 + QStringLiteral("　株数:") + QString::number(row.株数) +
                                    QStringLiteral("　単価:") + QString::number(row.単価));
    writeLog(glngLogFileNo, QStringLiteral("保有銘柄数:") + QString::number(etrHoyuuCount));
    writeLog(glngLogFileNo, QStringLiteral("現金残高:") + QString::number(etrGenkinZandaka));
    writeLog(glngLogFileNo, QStringLiteral("エラーコード:") + QString::number(etrError));
    writeLog(glngLogFileNo, QStringLiteral("■■■口座管理画面E■■■"));
    writeLog(glngLogFileNo, QStringLiteral("■■■残高取得処理終了!!■■■"));
    etrRunningMode = 3;
    page.setLocation(brokerSite().neutral);
    broker::markPageActedOn(webOrder);
}

} // namespace broker
