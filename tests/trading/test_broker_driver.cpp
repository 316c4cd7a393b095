#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/browser/Browser.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp932.h"
#include "support/FakeBrokerSite.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProgramDirFixture.h"
#include "support/ReservationRows.h"
#include "trading/modBroker.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <atomic>

#include <gtest/gtest.h>

namespace {

using Behaviour = FakeBrokerSite::Behaviour;

const QString kLoginStart = QStringLiteral("■■■ログイン画面S■■■");
const QString kLoginEnd = QStringLiteral("■■■ログイン画面E■■■");
const QString kLoginSkipped = QStringLiteral("■■■ログイン画面E(ログイン済なので抜かして次の処理へ)■■■");
const QString kMenuStart = QStringLiteral("■■■メインメニューS■■■");
const QString kMenuEnd = QStringLiteral("■■■メインメニューE■■■");

QString retryLine(int count)
{
    return QStringLiteral("証券会社アクセスリトライ処理(%1回目)").arg(count);
}

// A server that is not the broker, on this machine under `host`, counting what reaches it.
struct OtherServer {
    explicit OtherServer(const QString &host)
    {
        const auto count = [this](const httplib::Request &, httplib::Response &response) {
            ++reached;
            response.set_content("<html><body>ok</body></html>", "text/html");
        };
        http.server().Post(".*", count);
        http.server().Get(".*", count);
        base = QStringLiteral("http://%1:%2/").arg(host).arg(http.start());
    }

    LoopbackHttpServer http;
    std::atomic<int> reached{0};
    QString base;
};

// The driver against the fake broker, with a stand-in for the web timer: one etrAction per
// tick, a tick coming when a page has completed or when the tick's deadline has passed.
class BrokerDriver : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 15)));
        glngLogFileNo = openLog();
        broker.start();
        broker.writeSiteFile(dir());
        QObject::connect(&webOrder, &browser::Browser::DocumentComplete,
                         [this](const QString &url) { mstrPageURL = url; });
        etrUserID = QStringLiteral("U");
        etrPassword = QStringLiteral("login-secret");
        etrPassword2 = QStringLiteral("trade-secret");
        addReservation(1);
        etrOrder = {1, 1, 1, QStringLiteral("7203"), QStringLiteral("t1"), 100, 1, 1000};
    }

    void TearDown() override
    {
        broker.stop();
        ProgramDirFixture::TearDown();
    }

    // A reservation waiting for its order, as the order cycle finds it.
    void addReservation(int number)
    {
        ::addReservation({.予約番号 = number,
                          .銘柄コード = QStringLiteral("7203"),
                          .株数 = 100,
                          .処理区分 = 0,
                          .エラーコード = 0,
                          .更新日付 = QStringLiteral("2026-12-01 09:00:00"),
                          .市場コード = QStringLiteral("t1")});
    }

    // エラーコード and 更新日付 of a reservation.
    std::pair<int, QString> stored(int number)
    {
        const QVariant code = reservationValue(number, QStringLiteral("エラーコード"));
        EXPECT_TRUE(code.isValid()) << "no reservation " << number;
        return {code.toInt(), reservationValue(number, QStringLiteral("更新日付")).toString()};
    }

    // Opens a step as the order cycle and the run control do and ticks it to its end;
    // returns etrClose's result.
    int runStep(int requestMode, std::chrono::milliseconds tickDeadline = std::chrono::milliseconds(400))
    {
        etrOpen(webOrder, requestMode);
        etrLogin(webOrder);
        etrRunningMode = 1;
        for (int tick = 0; tick < 30 && etrRunningMode != 3; ++tick) {
            waitForTick(tickDeadline);
            if (etrRunningMode == 1)
                etrAction(webOrder, mstrPageURL);
        }
        EXPECT_EQ(etrRunningMode, 3) << "the step did not end";
        return etrClose();
    }

    void waitForTick(std::chrono::milliseconds deadline)
    {
        QSignalSpy completed(&webOrder, &browser::Browser::DocumentComplete);
        completed.wait(int(deadline.count()));
    }

    int postsTo(const char *path) const
    {
        const QString prefix = QStringLiteral("POST ") + QString::fromUtf8(path);
        return int(std::count_if(broker.requests().cbegin(), broker.requests().cend(),
                                 [&prefix](const QString &r) { return r == prefix; }));
    }

    FakeBrokerSite broker{{QStringLiteral("U"), QStringLiteral("login-secret"), QStringLiteral("trade-secret")}};
    browser::Browser webOrder;
    QString mstrPageURL;
};

TEST_F(BrokerDriver, PlacesAnOrderLoggedOutThenAnotherStillLoggedIn)
{
    EXPECT_EQ(runStep(1), 0);
    EXPECT_EQ(etrOrderNo, QStringLiteral("100001"));
    EXPECT_TRUE(broker::orderSent);
    // The store heard of the order before it left; the completion writes the result.
    EXPECT_EQ(stored(1), std::make_pair(90, QStringLiteral("2026-12-10 10:15:00")));
    ASSERT_EQ(broker.orders().size(), 1);
    const QMap<QString, QString> sent = broker.orders().front().fields;
    EXPECT_EQ(sent.value(QStringLiteral("stock_sec_code")), QStringLiteral("7203"));
    EXPECT_EQ(sent.value(QStringLiteral("input_market")), QStringLiteral("TKY"));
    EXPECT_EQ(sent.value(QStringLiteral("input_quantity")), QStringLiteral("100"));
    EXPECT_EQ(sent.value(QStringLiteral("trade_kbn")), QStringLiteral("1"));
    EXPECT_EQ(sent.value(QStringLiteral("in_sasinari_kbn")), QStringLiteral("1"));
    EXPECT_EQ(sent.value(QStringLiteral("input_price")), QStringLiteral("1000"));
    EXPECT_EQ(sent.value(QStringLiteral("trade_pwd")), QStringLiteral("trade-secret"));
    EXPECT_EQ(sent.value(QStringLiteral("skip_estimate")), QStringLiteral("1"));
    EXPECT_TRUE(sent.contains(QStringLiteral("ACT_place")));

    QStringList log = logLines();
    const QStringList first = {kLoginStart, kLoginEnd, kMenuStart, kMenuEnd};
    for (qsizetype i = 0, at = 0; i < first.size(); ++i) {
        at = log.indexOf(first[i], at);
        EXPECT_GE(at, 0) << first[i].toStdString();
    }
    for (const QString &line :
         {QStringLiteral("etrAction■■■処理終了!!■■■"), QStringLiteral("エラーコード:0"),
          QStringLiteral("注文番号:100001"), QStringLiteral("etrClose実行開始"), QStringLiteral("etrClose実行終了")})
        EXPECT_TRUE(log.contains(line)) << line.toStdString();
    EXPECT_FALSE(log.join(u'\n').contains(QStringLiteral("secret"))) << "no password in the log";

    // Second step: the site is still logged in, so login and menu are one call.
    addReservation(2);
    etrOrder.予約番号 = 2;
    EXPECT_EQ(runStep(1), 0);
    EXPECT_EQ(etrOrderNo, QStringLiteral("100002"));
    log = logLines();
    const qsizetype skipped = log.indexOf(kLoginSkipped);
    ASSERT_GE(skipped, 0);
    EXPECT_EQ(log.value(skipped + 1), kMenuStart);
    EXPECT_EQ(postsTo("/ETGate/login"), 1);
    EXPECT_EQ(broker.acceptedOrderCount(), 2);
}

TEST_F(BrokerDriver, TypesEachKindOfOrderIntoTheForm)
{
    const struct {
        int torihiki, baibai, sasinari;
        const char *market;
        const char *tradeKbn, *sasinariKbn, *price, *exchange;
    } cases[] = {
        {1, 2, 1, "t1", "2", "1", "1000", "TKY"},  // cash sell: position 1
        {2, 1, 1, "hc2", "3", "1", "1000", "NDJ"}, // margin buy: position 2
        {2, 2, 2, "js", "4", "2", "", "OTC"},      // margin sell at market: price left as the page had it
        {1, 1, 2, "o1", "1", "2", "", "OSK"},
    };
    int number = 10;
    for (const auto &c : cases) {
        addReservation(number);
        etrOrder = {number, c.torihiki, c.baibai, QStringLiteral("7203"), QString::fromUtf8(c.market),
                    100,    c.sasinari, 1000};
        ++number;
        EXPECT_EQ(runStep(1), 0) << c.market;
        const QMap<QString, QString> sent = broker.orders().last().fields;
        EXPECT_EQ(sent.value(QStringLiteral("trade_kbn")), QString::fromUtf8(c.tradeKbn)) << c.market;
        EXPECT_EQ(sent.value(QStringLiteral("in_sasinari_kbn")), QString::fromUtf8(c.sasinariKbn)) << c.market;
        EXPECT_EQ(sent.value(QStringLiteral("input_price")), QString::fromUtf8(c.price)) << c.market;
        EXPECT_EQ(sent.value(QStringLiteral("input_market")), QString::fromUtf8(c.exchange)) << c.market;
    }
    EXPECT_EQ(broker.orders().size(), std::size(cases));
}

TEST_F(BrokerDriver, ReadsTheBalanceAndHoldingsThenLeavesTheSite)
{
    Behaviour b;
    b.cash = QStringLiteral("12,345,678,901");
    b.holdings = {{QStringLiteral("7203"), QStringLiteral("1,000"), QStringLiteral("1,234")},
                  {QStringLiteral("6758"), QStringLiteral("200"), QStringLiteral("5,678")}};
    broker.setBehaviour(b);
    EXPECT_EQ(runStep(2), 0);
    EXPECT_EQ(etrGenkinZandaka, 12345678901) << "cash beyond 32 bits";
    ASSERT_EQ(etrHoyuuCount, 2);
    EXPECT_EQ(etrHoyuuMeigara[1].銘柄コード, QStringLiteral("6758"));
    EXPECT_EQ(etrHoyuuMeigara[1].株数, 200);
    EXPECT_EQ(etrHoyuuMeigara[1].単価, 5678);
    const QStringList log = logLines();
    const qsizetype at = log.indexOf(QStringLiteral("保有銘柄コード:7203　市場:　株数:1000　単価:1234"));
    ASSERT_GE(at, 0);
    const QStringList tail = {QStringLiteral("保有銘柄コード:6758　市場:　株数:200　単価:5678"),
                              QStringLiteral("保有銘柄数:2"),
                              QStringLiteral("現金残高:12345678901"),
                              QStringLiteral("エラーコード:0"),
                              QStringLiteral("■■■口座管理画面E■■■"),
                              QStringLiteral("■■■残高取得処理終了!!■■■")};
    EXPECT_EQ(log.mid(at + 1, tail.size()), tail);
    EXPECT_TRUE(broker.orders().isEmpty());
    QSignalSpy(&webOrder, &browser::Browser::DocumentComplete).wait(200);
    EXPECT_EQ(webOrder.locationURL(), QStringLiteral("about:blank"));

    b.holdings.clear();
    broker.setBehaviour(b);
    EXPECT_EQ(runStep(2), 0);
    EXPECT_EQ(etrHoyuuCount, 0);
    EXPECT_TRUE(logLines().contains(QStringLiteral("保有銘柄数:0")));
}

TEST_F(BrokerDriver, RefusalsEndTheStepWithTheirCodeAnUnknownOneStaysMarkedUnknown)
{
    const struct {
        int refusal;
        int code;
    } cases[] = {{2, 2}, {3, 3}, {4, 4}, {5, 5}, {1, 90}};
    for (const auto &c : cases) {
        Behaviour b;
        b.refusal = c.refusal;
        broker.setBehaviour(b);
        etrOrderNo = QStringLiteral("99");
        EXPECT_EQ(runStep(1), c.code) << c.refusal;
        EXPECT_EQ(etrOrderNo, QStringLiteral("99")) << "a refusal keeps the previous number";
        EXPECT_EQ(stored(1).first, 90) << "the completion writes the refusal code over the mark";
        EXPECT_TRUE(logLines().filter(QStringLiteral("★エラーHTML:")).size() > 0);
    }
    EXPECT_EQ(broker.orders().size(), std::size(cases)) << "one order per step";
    EXPECT_EQ(broker.acceptedOrderCount(), 0);
}

// The answer is read from what the page shows: an acceptance text and table in markup a
// browser never shows (a page's message templates in a comment, a script string, a
// <template> or a display:none block) count for nothing, nor does a refusal text in a hidden
// error block; a page that shows both an acceptance and a refusal leaves the outcome unknown.
TEST_F(BrokerDriver, OnlyThePagesContentAcceptsOrRefusesAnOrder)
{
    using Templates = Behaviour::Templates;
    const struct {
        const char *name;
        Templates templates;
        int refusal;
        bool hiddenRefusal;
        int code;
        const char *orderNo;
    } cases[] = {
        {"refusal with templates in a comment and a script", Templates::CommentAndScript, 2, false, 2, "99"},
        {"a second one alike", Templates::CommentAndScript, 2, false, 2, "99"},
        {"acceptance with templates in a comment and a script", Templates::CommentAndScript, 0, false, 0, "100001"},
        {"plain refusal with templates in a <template>", Templates::TemplateElement, 1, false, 90, "99"},
        {"refusal with templates in a <template>", Templates::TemplateElement, 2, false, 2, "99"},
        {"plain refusal with templates in a display:none block", Templates::DisplayNone, 1, false, 90, "99"},
        {"refusal with templates in a display:none block", Templates::DisplayNone, 3, false, 3, "99"},
        {"acceptance with templates in a display:none block", Templates::DisplayNone, 0, false, 0, "100002"},
        {"acceptance with a hidden error block", Templates::None, 0, true, 0, "100003"},
        {"refusal that also shows an acceptance", Templates::Shown, 2, false, 90, "99"},
        {"acceptance that also shows a refusal", Templates::Shown, 5, false, 90, "99"},
    };
    for (const auto &c : cases) {
        Behaviour b;
        b.templates = c.templates;
        b.refusal = c.refusal;
        b.hiddenRefusal = c.hiddenRefusal;
        broker.setBehaviour(b);
        etrOrderNo = QStringLiteral("99");
        EXPECT_EQ(runStep(1), c.code) << c.name;
        EXPECT_EQ(etrOrderNo, QString::fromUtf8(c.orderNo)) << c.name;
    }
    EXPECT_EQ(logLines().count(QStringLiteral("★注文受付と注文エラーの両方の文言があるため結果不明")), 2);
    EXPECT_EQ(broker.orders().size(), std::size(cases));
}

// Each way of writing a page as `from` replaced by `to`.
std::function<QString(const QString &)> replacing(const QString &from, const QString &to)
{
    return [from, to](QString html) { return html.replace(from, to); };
}

// The login heading or the login button may carry the text a browser shows: the login is
// made as on the plain page.
TEST_F(BrokerDriver, TheLoginIsMadeWhereTheHeadingIsAnImageOrTheLabelIsOnTheButton)
{
    const QString heading = QStringLiteral("<h1>お客様サイトへログイン</h1>");
    const QString button = QStringLiteral("<input type=\"submit\" name=\"ACT_login\" value=\"ログイン\">");
    const struct {
        const char *name;
        std::function<QString(const QString &)> rewrite;
    } cases[] = {
        {"the plain page", {}},
        {"the heading as an image",
         replacing(heading, QStringLiteral("<h1><img src=\"login.gif\" alt=\"お客様サイトへログイン\"></h1>"))},
        {"the label on the button",
         [&](QString html) {
             return html.replace(heading, QString())
                 .replace(button,
                          QStringLiteral("<input type=\"submit\" name=\"ACT_login\" value=\"サイトへログイン\">"));
         }},
        {"an image button",
         [&](QString html) {
             return html.replace(heading, QString())
                 .replace(button, QStringLiteral("<input type=\"image\" name=\"ACT_login\" src=\"b.gif\" "
                                                 "alt=\"お客様サイトへログイン\">"));
         }},
    };
    for (const auto &c : cases) {
        Behaviour b;
        b.rewrite = c.rewrite;
        broker.setBehaviour(b);
        broker.endSessions();
        const int loginsBefore = postsTo("/ETGate/login");
        EXPECT_EQ(runStep(2), 0) << c.name;
        EXPECT_EQ(postsTo("/ETGate/login"), loginsBefore + 1) << c.name;
    }
}

// An acceptance a browser shows as an image's text or in a read-only field is accepted. A
// page that shows any refusal or error text beside the acceptance, that hides the
// acceptance by its own style sheet beside a refusal, or that nests deeper than a browser
// keeps its tree leaves the outcome unknown, and no order number is taken from it.
TEST_F(BrokerDriver, AnAcceptanceIsReadAsABrowserShowsIt)
{
    using Templates = Behaviour::Templates;
    const QString ok = QStringLiteral("<p class=\"ok\">ご注文を受け付けました。</p>");
    const QString refusal = QStringLiteral("ただいまご注文を受け付けできませんでした。");
    const QString generic = QStringLiteral("ご注文を承ることができませんでした。");
    const auto refusedWithSheet = [&](const QString &sheet) {
        return [=](QString html) {
            return html
                .replace(QStringLiteral("</head>"),
                         QStringLiteral("<style>") + sheet + QStringLiteral("</style></head>"))
                .replace(refusal, generic);
        };
    };
    // The answer to the order, its content inside `depth` blocks.
    const auto wrapped = [](int depth) {
        return [depth](QString html) {
            if (!html.contains(QStringLiteral("ご注文を受け付けました")))
                return html;
            return html
                .replace(QStringLiteral("<body>"), QStringLiteral("<body>") + QStringLiteral("<div>").repeated(depth))
                .replace(QStringLiteral("</body>"),
                         QStringLiteral("</div>").repeated(depth) + QStringLiteral("</body>"));
        };
    };
    const struct {
        const char *name;
        int refusal;
        Templates templates;
        std::function<QString(const QString &)> rewrite;
        int code;
    } cases[] = {
        {"the plain acceptance", 0, Templates::None, {}, 0},
        {"the acceptance as an image", 0, Templates::None,
         replacing(ok, QStringLiteral("<p class=\"ok\"><img src=\"ok.gif\" alt=\"ご注文を受け付けました。\"></p>")), 0},
        {"the acceptance in a read-only field", 0, Templates::None,
         replacing(ok, QStringLiteral(
                           "<p><input type=\"text\" size=\"40\" readonly value=\"ご注文を受け付けました。\"></p>")),
         0},
        {"the acceptance in 100 blocks", 0, Templates::None, wrapped(100), 0},
        {"an acceptance beside a generic error", 0, Templates::None,
         replacing(ok, ok + QStringLiteral("<p>システムエラーが発生しました。</p>")), 90},
        {"an acceptance in 15,000 blocks", 0, Templates::None, wrapped(15000), 90},
        {"a generic refusal beside a shown acceptance", 1, Templates::Shown, refusedWithSheet(QString()), 90},
        {"a generic refusal, the acceptance hidden by a class rule", 1, Templates::Shown,
         refusedWithSheet(QStringLiteral(".template { display: none }")), 90},
        {"a generic refusal, the acceptance hidden by a rule not evaluated", 1, Templates::Shown,
         refusedWithSheet(QStringLiteral("body > div.template:first-child { display: none }")), 90},
        {"a generic refusal, the acceptance hidden inline with a comment", 1, Templates::Shown,
         [&](QString html) {
             return html
                 .replace(QStringLiteral("<div class=\"template\">"),
                          QStringLiteral("<div class=\"template\" style=\"display:/**/none\">"))
                 .replace(refusal, generic);
         },
         90},
        {"a generic refusal, the acceptance in a canvas", 1, Templates::Shown,
         [&](QString html) {
             return html.replace(QStringLiteral("<div class=\"template\">"), QStringLiteral("<canvas><div>"))
                 .replace(refusal, generic);
         },
         90},
    };
    for (const auto &c : cases) {
        Behaviour b;
        b.refusal = c.refusal;
        b.templates = c.templates;
        b.rewrite = c.rewrite;
        broker.setBehaviour(b);
        etrOrderNo = QStringLiteral("99");
        EXPECT_EQ(runStep(1), c.code) << c.name;
        if (c.code == 0) {
            EXPECT_EQ(etrOrderNo, broker.orders().last().orderNumber) << c.name;
        } else {
            EXPECT_EQ(etrOrderNo, QStringLiteral("99")) << c.name << ": no number taken from the page";
            EXPECT_EQ(stored(1).first, 90) << c.name;
        }
    }
    EXPECT_EQ(broker.orders().size(), std::size(cases)) << "one order per step, none sent again";
}

TEST_F(BrokerDriver, EachAcceptedOrderLeavesANoticeMailInTheReadersLayout)
{
    broker.setMailDirectory(dir());
    Behaviour b;
    b.metaOnly = true; // and the pages declare their code in <meta> only
    b.fillPrice = 1234;
    broker.setBehaviour(b);
    EXPECT_EQ(runStep(1), 0);
    QFile file(path(QStringLiteral("notice-100001.eml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray mail = file.readAll();
    const qsizetype bodyAt = mail.indexOf("\r\n\r\n");
    ASSERT_GT(bodyAt, 0);
    EXPECT_TRUE(mail.left(bodyAt).contains("charset=ISO-2022-JP"));
    const QStringList lines = text::decodeCharset(mail.mid(bodyAt + 4), "ISO-2022-JP").split(QStringLiteral("\r\n"));
    const qsizetype i = lines.indexOf(QStringLiteral("約定日時"));
    ASSERT_GE(i, 0);
    EXPECT_EQ(lines.value(i + 1), QStringLiteral("2026-12-10 10:15"));
    EXPECT_EQ(lines.value(i + 3), QStringLiteral("100001"));
    EXPECT_EQ(lines.value(i + 4), QStringLiteral("現物買"));
    EXPECT_EQ(lines.value(i + 6), QStringLiteral("7203"));
    EXPECT_EQ(lines.value(i + 9), QStringLiteral("約定株数:100"));
    EXPECT_EQ(lines.value(i + 10), QStringLiteral("約定単価:1,234"));

    b.refusal = 2;
    broker.setBehaviour(b);
    runStep(1);
    EXPECT_EQ(QDir(dir()).entryList({QStringLiteral("*.eml")}).size(), 1) << "no mail for a refused order";
}

TEST_F(BrokerDriver, ServiceStoppedEndsTheStepAtOnce)
{
    Behaviour b;
    b.maintenance = true;
    broker.setBehaviour(b);
    EXPECT_EQ(runStep(1), 1001);
    EXPECT_EQ(runStep(2), 1001);
    EXPECT_TRUE(broker.orders().isEmpty());
    EXPECT_EQ(stored(1).first, 0) << "nothing was sent";

    // Once the order has left, a stopped service says nothing of its fate.
    Behaviour stoppedAtOrder;
    stoppedAtOrder.stoppedAtOrder = true;
    broker.setBehaviour(stoppedAtOrder);
    EXPECT_EQ(runStep(1), 90);
    EXPECT_EQ(stored(1).first, 90);
    EXPECT_EQ(broker.orders().size(), 1);
}

TEST_F(BrokerDriver, ThreeRetriesThenCode91WithoutAnOrder)
{
    Behaviour missingButton;
    missingButton.menuWithoutReserved = true;
    Behaviour missingElement;
    missingElement.missingFormElement = QStringLiteral("trade_pwd");
    Behaviour noSendButton;
    noSendButton.missingFormElement = QStringLiteral("ACT_place");
    Behaviour noMarket;
    noMarket.markets = {QStringLiteral("TKY")};
    Behaviour wrongLogin;
    wrongLogin.wrongLogin = true;
    Behaviour serverError;
    serverError.http500 = true;
    const struct {
        const char *name;
        Behaviour behaviour;
        const char *marketCode;
        int failedActionMode;
    } cases[] = {
        {"login refused", wrongLogin, "t1", 5}, // first: the others leave the site logged in
        {"menu without Reserved.", missingButton, "t1", 3},
        {"form element missing", missingElement, "t1", 5},
        {"no send button: nothing marked as sent", noSendButton, "t1", 5},
        {"no option for the market", noMarket, "o1", 5},
        {"HTTP 500", serverError, "t1", 3},
    };
    for (const auto &c : cases) {
        broker.setBehaviour(c.behaviour);
        etrOrder.市場コード = QString::fromUtf8(c.marketCode);
        EXPECT_EQ(runStep(1, std::chrono::milliseconds(250)), 91) << c.name;
        const QStringList log = logLines();
        const qsizetype first = log.lastIndexOf(retryLine(1));
        ASSERT_GE(first, 0) << c.name;
        EXPECT_EQ(log.indexOf(retryLine(2), first) > first && log.indexOf(retryLine(3), first) > first, true) << c.name;
        EXPECT_TRUE(log.contains(QStringLiteral("証券会社アクセスエラー(etrError=91/etrRunningMode=2/etrActionMode=%1)")
                                     .arg(c.failedActionMode)))
            << c.name;
        EXPECT_TRUE(broker.orders().isEmpty()) << c.name;
        EXPECT_EQ(stored(1).first, 0) << c.name;
        EXPECT_FALSE(broker::orderSent) << c.name;
    }
    const QStringList log = logLines();
    EXPECT_TRUE(log.filter(QStringLiteral("OSK(市場コード:o1)")).size() > 0) << "the market is named";
    EXPECT_TRUE(log.contains(QStringLiteral("証券会社画面の処理失敗:画面に名前が「trade_pwd」の要素がありません")))
        << "the missing element is named";
}

TEST_F(BrokerDriver, AnUnreadableAnswerAfterTheOrderLeftStaysUnknown)
{
    Behaviour missingRow;
    missingRow.missingAcceptanceRow = true;
    Behaviour dropped;
    dropped.dropAfterOrder = true;
    for (const Behaviour &b : {missingRow, dropped}) {
        broker.setBehaviour(b);
        EXPECT_EQ(runStep(1, std::chrono::milliseconds(250)), 90);
        EXPECT_EQ(stored(1).first, 90);
        EXPECT_TRUE(etrOrderNo.isEmpty()) << "no number read from a partial page";
    }
    EXPECT_EQ(broker.acceptedOrderCount(), 2) << "the broker took both orders: neither may be sent again";
    EXPECT_EQ(broker.orders().size(), 2);
}

TEST_F(BrokerDriver, ASlowAcceptancePageIsReadWhenItCompletesNotAsARefusal)
{
    Behaviour slow;
    slow.slowAnswer = std::chrono::milliseconds(700);
    broker.setBehaviour(slow);
    EXPECT_EQ(runStep(1), 0);
    EXPECT_EQ(etrOrderNo, QStringLiteral("100001"));
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(retryLine(1)));
    EXPECT_TRUE(log.filter(QStringLiteral("★エラーHTML:")).isEmpty());
    EXPECT_EQ(broker.orders().size(), 1);
}

TEST_F(BrokerDriver, ClosingAStepWhoseOrderLeftGivesUnknown)
{
    Behaviour slow;
    slow.slowAnswer = std::chrono::milliseconds(3000);
    broker.setBehaviour(slow);
    etrOpen(webOrder, 1);
    etrLogin(webOrder);
    etrRunningMode = 1;
    for (int tick = 0; tick < 10 && !broker::orderSent; ++tick) {
        waitForTick(std::chrono::milliseconds(400));
        etrAction(webOrder, mstrPageURL);
    }
    ASSERT_TRUE(broker::orderSent);
    EXPECT_EQ(etrClose(), 90);
    EXPECT_EQ(stored(1).first, 90);

    // A step closed before anything was sent has no result either: never a success.
    etrOpen(webOrder, 2);
    etrLogin(webOrder);
    etrRunningMode = 1;
    EXPECT_EQ(etrClose(), 91);
}

TEST_F(BrokerDriver, NoOrderWhenTheStoreCannotMarkIt)
{
    etrOrder.予約番号 = 999; // no such reservation
    EXPECT_EQ(runStep(1, std::chrono::milliseconds(250)), 91);
    EXPECT_TRUE(broker.orders().isEmpty());
}

// A store that cannot record the order is no fault of the page: the database error leaves
// the step for the program's error boundary at once, with nothing sent and no retry.
TEST_F(BrokerDriver, AStoreThatCannotRecordTheOrderIsAnErrorNotARetry)
{
    gcnDB.execute(QStringLiteral("PRAGMA query_only = ON")); // every write to the working database fails
    try {
        runStep(1);
        ADD_FAILURE() << "the step went on without the store";
    } catch (const db::Error &e) {
        EXPECT_TRUE(e.message().contains(path(QStringLiteral("Nimbra.mdb")))) << e.message().toStdString();
    }
    gcnDB.execute(QStringLiteral("PRAGMA query_only = OFF"));
    EXPECT_TRUE(broker.orders().isEmpty());
    EXPECT_FALSE(broker::orderSent);
    EXPECT_EQ(stored(1).first, 0);
    const QStringList log = logLines();
    EXPECT_TRUE(log.filter(QStringLiteral("証券会社画面の処理失敗")).isEmpty());
    EXPECT_FALSE(log.contains(retryLine(1)));
}

TEST_F(BrokerDriver, AnExpiredSessionOnTheAccountPageIsLoginRequired)
{
    Behaviour expired;
    expired.sessionExpired = true;
    broker.setBehaviour(expired);
    etrGenkinZandaka = 777;
    EXPECT_EQ(runStep(2), 101);
    EXPECT_EQ(etrGenkinZandaka, 777);
}

// A hidden sample of the cash cell before the real one is not what the page shows.
TEST_F(BrokerDriver, TheCashIsReadFromTheCellThePageShows)
{
    Behaviour b;
    b.sampleCash = QStringLiteral("99,999,999");
    b.cash = QStringLiteral("1,500,000");
    broker.setBehaviour(b);
    EXPECT_EQ(runStep(2), 0);
    EXPECT_EQ(etrGenkinZandaka, 1500000);
    EXPECT_EQ(etrHoyuuCount, 1);
}

TEST_F(BrokerDriver, AccountPageWithoutACashFigureKeepsTheCash)
{
    Behaviour noLabel;
    noLabel.cashLabel = false;
    Behaviour noDigit;
    noDigit.cash = QStringLiteral("---");
    for (const Behaviour &b : {noLabel, noDigit}) {
        broker.setBehaviour(b);
        etrGenkinZandaka = 777;
        EXPECT_EQ(runStep(2, std::chrono::milliseconds(250)), 91);
        EXPECT_EQ(etrGenkinZandaka, 777);
    }
}

TEST_F(BrokerDriver, PageOutsideTheBrokerChangesNothing)
{
    etrOpen(webOrder, 1);
    etrRunningMode = 1;
    etrAction(webOrder, QStringLiteral("http://127.0.0.2/ETGate/"));
    etrAction(webOrder, QStringLiteral("http://evil.test/?127.0.0.1"));
    QUrl otherPort(broker.baseUrl() + QStringLiteral("ETGate/"));
    otherPort.setPort(otherPort.port() + 1);
    etrAction(webOrder, otherPort.toString()); // the broker's host, another server
    EXPECT_EQ(etrRunningMode, 1);
    EXPECT_EQ(etrActionMode, 1);
    EXPECT_EQ(etrRetryCount, 0);
    EXPECT_EQ(etrError, 0);
}

// A login or order form whose action leads to another host is not sent: neither password
// leaves, and the step ends with its own code, not as an order of unknown outcome.
TEST_F(BrokerDriver, FormsAreSentToTheBrokerOnly)
{
    const OtherServer elsewhere(QStringLiteral("localhost"));
    const QString elsewhereBase = elsewhere.base;

    Behaviour foreignForms;
    foreignForms.formsTo = elsewhereBase;
    broker.setBehaviour(foreignForms);
    EXPECT_EQ(runStep(1), 1004) << "login form";
    EXPECT_EQ(postsTo("/ETGate/login"), 0);

    broker.setBehaviour(Behaviour());
    EXPECT_EQ(runStep(2), 0) << "logged in now: the next step goes straight to the order form";
    broker.setBehaviour(foreignForms);
    EXPECT_EQ(runStep(1), 1004) << "order form";
    EXPECT_FALSE(broker::orderSent);
    EXPECT_TRUE(broker.orders().isEmpty());

    QSignalSpy(&webOrder, &browser::Browser::DocumentComplete).wait(300);
    EXPECT_EQ(elsewhere.reached, 0) << "nothing reached the other host";
    const QStringList log = logLines();
    EXPECT_EQ(log.filter(QStringLiteral("★送信先が証券会社のサイトではないため送信しない(") + elsewhereBase).size(), 2);
    EXPECT_FALSE(log.join(u'\n').contains(QStringLiteral("secret")));
}

// A login or order form posted to the broker and answered with a redirect to another
// server goes no further: a 307 would post it, with its password, again there.
TEST_F(BrokerDriver, ARedirectNeverCarriesAFormOffTheBroker)
{
    const OtherServer elsewhere(QStringLiteral("127.0.0.1"));
    const QString elsewhereBase = elsewhere.base;

    Behaviour redirected;
    redirected.redirectFormsTo = elsewhereBase;
    broker.setBehaviour(redirected);
    EXPECT_EQ(runStep(1), 1005) << "login form: the broker took it, its redirect was not followed";
    EXPECT_EQ(postsTo("/ETGate/login"), 1);

    broker.setBehaviour(Behaviour());
    EXPECT_EQ(runStep(2), 0) << "logged in now: the next step goes straight to the order form";
    broker.setBehaviour(redirected);
    EXPECT_EQ(runStep(1), 90) << "the order reached the broker's host: its outcome is unknown";
    EXPECT_EQ(postsTo("/ETGate/order"), 1);
    EXPECT_EQ(stored(1).first, 90);

    QSignalSpy(&webOrder, &browser::Browser::DocumentComplete).wait(300);
    EXPECT_EQ(elsewhere.reached, 0) << "nothing reached the other server";
    const QStringList log = logLines();
    EXPECT_EQ(log.filter(QStringLiteral("★証券会社は要求を受けたが、応答の転送先へは進まない(") + elsewhereBase).size(),
              2);
    EXPECT_TRUE(log.filter(QStringLiteral("送信しない")).isEmpty()) << "the forms were sent";
    EXPECT_FALSE(log.join(u'\n').contains(QStringLiteral("secret")));
}

TEST_F(BrokerDriver, PaperModeNeverReachesTheBroker)
{
    sysBS.SelZituKounyu = 1;
    for (int kind : {1, 2}) {
        etrOpen(webOrder, kind);
        EXPECT_EQ(etrRunningMode, 3);
        EXPECT_EQ(etrError, 1002);
        EXPECT_TRUE(etrLogin(webOrder).isEmpty());
        etrRunningMode = 1; // as the opener does after etrLogin
        etrAction(webOrder, broker.baseUrl() + QStringLiteral("ETGate/"));
        EXPECT_EQ(etrRunningMode, 3);
        EXPECT_EQ(etrClose(), 1002);
    }
    QSignalSpy(&webOrder, &browser::Browser::DocumentComplete).wait(200);
    EXPECT_TRUE(broker.requests().isEmpty());
    EXPECT_EQ(logLines().count(QStringLiteral("★実購入せずに動作中のため証券会社に接続しない")), 2);
}

TEST_F(BrokerDriver, NoUsableBrokerAddressOpensNoStep)
{
    QFile site(path(QStringLiteral("Nimbra_site.ini")));
    ASSERT_TRUE(site.open(QIODevice::WriteOnly));
    site.write("[Hosts]\nBroker=http://broker.example.co.jp/\n");
    site.close();
    etrOpen(webOrder, 1);
    EXPECT_EQ(etrRunningMode, 3);
    EXPECT_EQ(etrError, 1003);
    EXPECT_TRUE(etrLogin(webOrder).isEmpty());
    EXPECT_TRUE(logLines().filter(QStringLiteral("https://")).size() > 0);
    EXPECT_TRUE(broker.requests().isEmpty());
}

} // namespace
