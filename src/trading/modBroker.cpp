#include "trading/modBroker.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/browser/Browser.h"
#include "trading/BrokerSite.h"
#include "trading/BrokerStep.h"
#include "trading/BrokerText.h"
#include "trading/modBrokerPages.h"

#include <cstdint>

int etrRequestMode = 0;
int etrActionMode = 0;
int etrRunningMode = 0;
int etrError = 0;
int etrRetryCount = 0;
bool broker::orderSent = false;

QString etrUserID;
QString etrPassword;
QString etrPassword2;

etrOrderInfo etrOrder;
QString etrOrderNo;
qint64 etrGenkinZandaka = 0;
std::vector<etrHoyuuInfo> etrHoyuuMeigara;
int etrHoyuuCount = 0;

namespace {

// The step was ended by etrOpen (paper mode, no broker address): nothing reaches the broker.
bool stepBarred = false;
// The document the driver acted on last; a page step needs a later one.
std::uint64_t actedOnDocument = 0;

constexpr int kMaxRetries = 3;

bool isKnownOutcome(int code)
{
    return code == etrErrNone || (code >= etrErrBuyingPower && code <= etrErrHoldingsShort);
}

// The page the browser shows must have completed after the driver's last action; an older
// page still shown (the next one is loading, or never came) is a failed attempt.
bool isNewPage(const browser::Browser &webOrder)
{
    return !webOrder.busy() && webOrder.documentSerial() > actedOnDocument;
}

void requireNewPage(const browser::Browser &webOrder)
{
    if (!isNewPage(webOrder))
        throw BrokerPageError(QStringLiteral("次の画面の読込が完了していません"));
}

void failPageStep(const QString &reason)
{
    writeLog(glngLogFileNo, QStringLiteral("証券会社画面の処理失敗:") + reason);
    if (etrRetryCount < kMaxRetries) {
        etrRunningMode = 1;
        ++etrRetryCount;
        writeLog(glngLogFileNo, QStringLiteral("証券会社アクセスリトライ処理(") + QString::number(etrRetryCount) +
                                    QStringLiteral("回目)"));
        return;
    }
    etrError = etrErrRetriesSpent;
    writeLog(glngLogFileNo, QStringLiteral("証券会社アクセスエラー(etrError=") + QString::number(etrError) +
                                QStringLiteral("/etrRunningMode=") + QString::number(etrRunningMode) +
                                QStringLiteral("/etrActionMode=") + QString::number(etrActionMode) + u')');
    broker::endStep(etrErrRetriesSpent);
}

QString gatewayAddress(const QString &controlId)
{
    return QStringLiteral("/ETGate/?_ControlID=") + controlId + QStringLiteral("&_PageID=DefaultPID&_DataStoreID=DS") +
           controlId + QStringLiteral("&_ActionID=DefaultAID&getFlg=on");
}

// The driver does not follow the menu's links: it plants a button of its own that goes to
// the order page or the account page, and clicks it.
void mainMenuPage(browser::Browser &webOrder)
{
    etrRunningMode = 2;
    writeLog(glngLogFileNo, QStringLiteral("■■■メインメニューS■■■"));
    browser::Document &page = webOrder.document();
    QString html = page.bodyInnerHTML();
    const QString target = gatewayAddress(etrRequestMode == 1 ? QStringLiteral("WPLETstT001Control")
                                                              : QStringLiteral("WPLETacR001Control"));
    const QString button = QStringLiteral("<form name=\"frmorya\" action=\"") + target +
                           QStringLiteral("\" method=\"post\"><input type=\"button\" name=\"btnorya\" value=\"●\"") +
                           QStringLiteral(" onclick=\"javascript:location.href='") + target +
                           QStringLiteral("'\"></form>");
    html.replace(QStringLiteral("Reserved."), button);
    page.setBodyInnerHTML(html);
    page.elementNamed(QStringLiteral("btnorya")).click();
    broker::markPageActedOn(webOrder);
    etrActionMode = etrRequestMode == 1 ? 5 : 11;
    etrRunningMode = 1;
    writeLog(glngLogFileNo, QStringLiteral("■■■メインメニューE■■■"));
}

void loginPage(browser::Browser &webOrder)
{
    etrRunningMode = 2;
    writeLog(glngLogFileNo, QStringLiteral("■■■ログイン画面S■■■"));
    browser::Document &page = webOrder.document();
    QString html = page.bodyInnerHTML();
    html.replace(QStringLiteral("<form "), QStringLiteral("<form autocomplete=\"off\" "));
    page.setBodyInnerHTML(html);
    if (!page.bodyContentHTML().contains(QStringLiteral("サイトへログイン"))) {
        etrActionMode = 3;
        etrRunningMode = 1;
        writeLog(glngLogFileNo, QStringLiteral("■■■ログイン画面E(ログイン済なので抜かして次の処理へ)■■■"));
        mainMenuPage(webOrder);
        return;
    }
    page.elementNamed(QStringLiteral("user_id")).setValue(etrUserID);
    page.elementNamed(QStringLiteral("user_password")).setValue(etrPassword);
    page.elementNamed(QStringLiteral("form_login")).submit();
    broker::markPageActedOn(webOrder);
    etrActionMode = 3;
    etrRunningMode = 1;
    writeLog(glngLogFileNo, QStringLiteral("■■■ログイン画面E■■■"));
}

void dispatch(browser::Browser &webOrder, const QString &pageText)
{
    if (etrActionMode == 3) {
        mainMenuPage(webOrder);
    } else if (etrActionMode == 1) {
        loginPage(webOrder);
    } else if (etrRequestMode == 1) {
        if (etrActionMode == 5)
            broker::orderFormPage(webOrder);
        else if (etrActionMode == 11)
            broker::acceptancePage(pageText, webOrder.document().nestingCapped());
    } else if (etrRequestMode == 2 && etrActionMode == 11) {
        broker::accountPage(webOrder);
    }
}

} // namespace

namespace broker {

void endStep(int code)
{
    etrError = code;
    if (orderSent && !isKnownOutcome(code)) {
        etrError = etrErrOutcomeUnknown;
        writeLog(glngLogFileNo, QStringLiteral("★注文送信後の結果が不明(予約番号:") +
                                    QString::number(etrOrder.予約番号) + QStringLiteral("/etrError=") +
                                    QString::number(code) + QStringLiteral(")のためエラーコード:") +
                                    QString::number(etrError));
    }
    etrRunningMode = 3;
}

void markPageActedOn(const browser::Browser &webOrder)
{
    actedOnDocument = webOrder.documentSerial();
}

} // namespace broker

void etrOpen(browser::Browser &webOrder, int requestMode)
{
    etrActionMode = 0;
    etrRequestMode = requestMode;
    etrRunningMode = 0;
    etrError = etrErrNone;
    broker::orderSent = false;
    stepBarred = false;
    actedOnDocument = webOrder.documentSerial();
    etrClear();
    if (sysBS.paperMode()) {
        writeLog(glngLogFileNo, QStringLiteral("★実購入せずに動作中のため証券会社に接続しない"));
        stepBarred = true;
        broker::endStep(etrErrPaperMode);
        return;
    }
    const BrokerSite site = brokerSite();
    if (!site.ok()) {
        writeLog(glngLogFileNo, QStringLiteral("★証券会社に接続しない:") + site.problem);
        stepBarred = true;
        broker::endStep(etrErrNoBrokerAddress);
        return;
    }
    webOrder.setFormTargetTest([site](const QUrl &target) { return isBrokerPage(target.toString(), site); });
}

void etrClear()
{
    etrActionMode = 1;
    etrRetryCount = 0;
}

QString etrLogin(browser::Browser &webOrder)
{
    if (stepBarred || sysBS.paperMode())
        return {};
    const BrokerSite site = brokerSite();
    if (!site.ok())
        return {};
    actedOnDocument = webOrder.documentSerial();
    webOrder.Navigate(site.gateway);
    return site.gateway;
}

int etrClose()
{
    writeLog(glngLogFileNo, QStringLiteral("etrClose実行開始"));
    // A step closed before it ended has no result: never report it as a success, and after
    // a sent order its outcome is unknown. With no step in flight (finished, or the run
    // stopped after it) there is nothing to end and its result stands.
    const bool inFlight = etrRunningMode == 1 || etrRunningMode == 2;
    if (inFlight && etrError == etrErrNone)
        broker::endStep(etrErrRetriesSpent);
    else if (inFlight)
        broker::endStep(etrError);
    const int result = etrError;
    etrRunningMode = 3;
    writeLog(glngLogFileNo, QStringLiteral("etrClose実行終了"));
    return result;
}

QString etrMarketCode(const QString &marketCode)
{
    struct Exchange {
        const char16_t *code;
        QStringList markets;
    };
    static const Exchange exchanges[] = {
        {u"TKY",
         {QStringLiteral("t1"), QStringLiteral("t2"), QStringLiteral("te"), QStringLiteral("tg"), QStringLiteral("ty"),
          QStringLiteral("tr"), QStringLiteral("tm")}},
        {u"OSK", {QStringLiteral("o1"), QStringLiteral("o2"), QStringLiteral("og"), QStringLiteral("oe")}},
        {u"NDJ", {QStringLiteral("hc1"), QStringLiteral("hc2"), QStringLiteral("hcg")}},
        {u"NGY", {QStringLiteral("n1"), QStringLiteral("n2"), QStringLiteral("nm"), QStringLiteral("ns")}},
        {u"FKO", {QStringLiteral("f1"), QStringLiteral("f2"), QStringLiteral("fm"), QStringLiteral("fq")}},
        {u"SPR", {QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("sm"), QStringLiteral("sa")}},
        {u"OTC", {QStringLiteral("js")}},
    };
    for (const Exchange &exchange : exchanges)
        if (exchange.markets.contains(marketCode))
            return QString::fromUtf16(exchange.code);
    return QStringLiteral("   ");
}

void etrAction(browser::Browser &webOrder, const QString &pageURL)
{
    if (stepBarred || sysBS.paperMode()) {
        etrRunningMode = 3; // the step was never allowed to reach the broker
        return;
    }
    // A navigation of the driver that got no response: a failed attempt, or the step would
    // wait for ever (a stop request is not taken while a step is under way).
    const bool noResponse = pageURL == QLatin1String("about:neterror");
    if (!noResponse && !isBrokerPage(pageURL, brokerSite()))
        return;
    try {
        if (noResponse) {
            // The request reached the broker, whose answer pointed off its site (or from
            // https to http): the browser went no further. Retrying would be sent the same way.
            if (isNewPage(webOrder) && !webOrder.refusedRedirect().isEmpty()) {
                writeLog(glngLogFileNo, QStringLiteral("★証券会社は要求を受けたが、応答の転送先へは進まない(") +
                                            webOrder.refusedRedirect().toDisplayString() + u')');
                broker::endStep(etrErrRedirectRefused);
                return;
            }
            throw BrokerPageError(QStringLiteral("証券会社のサイトから応答がありません"));
        }
        requireNewPage(webOrder);
        const QString pageText = brokerPageText(webOrder.document().bodyContentHTML());
        if (pageText.contains(QStringLiteral("サービス停止"))) {
            broker::endStep(etrErrServiceStopped);
            return;
        }
        dispatch(webOrder, pageText);
    } catch (const browser::SubmitRefused &e) {
        // A page whose form leads elsewhere is not the broker's: retrying it would not help.
        writeLog(glngLogFileNo, QStringLiteral("★送信先が証券会社のサイトではないため送信しない(") +
                                    e.target().toDisplayString() + u')');
        broker::endStep(etrErrFormOffSite);
    } catch (const BrokerPageError &e) {
        failPageStep(e.message());
    } catch (const browser::DomError &e) {
        failPageStep(e.message());
    }
    // Anything else (a database that cannot record the order, a log that cannot be
    // written) is no fault of the page: a retry would not mend it, so it goes on up.
}

bool broker::orderStepInFlightFor(qint64 yoyakuNo)
{
    return etrRequestMode == 1 && (etrRunningMode == 1 || etrRunningMode == 2) && etrOrder.予約番号 == yoyakuNo;
}

void broker::resetStep()
{
    etrRequestMode = 0;
    etrActionMode = 0;
    etrRunningMode = 0;
    etrError = 0;
    etrRetryCount = 0;
    orderSent = false;
    etrUserID.clear();
    etrPassword.clear();
    etrPassword2.clear();
    etrOrder = {};
    etrOrderNo.clear();
    etrGenkinZandaka = 0;
    etrHoyuuMeigara.clear();
    etrHoyuuCount = 0;
    stepBarred = false;
    actedOnDocument = 0;
}
