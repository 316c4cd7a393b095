#pragma once

// The fake broker: the broker's gateway pages (login, main menu, order form, acceptance
// page, refusals, account page, login required) served over HTTP on 127.0.0.1 in Shift_JIS,
// with a session cookie, in the shapes and with the names and markers the driver reads.
//
// In a test:
//   FakeBrokerSite broker({.user = "U", .password = "P", .tradePassword = "T"});
//   broker.start();                       // any free port
//   broker.writeSiteFile(programDirectory);
//   broker.setBehaviour({.refusal = 2});  // switches, see Behaviour
//   ... drive the browser ...
//   broker.orders();                      // every order form that reached the site
//
// By hand: build/tests/support/fake_broker --port 18440 --user U --password P
//          --trade-password T [--mail-dir D] [--fill-price YEN] [--hold-form MS]
//
// Pages (all under /ETGate/):
//   GET  /ETGate/                              login page, or the main menu with a session
//   POST /ETGate/login                         302 to the menu with a session cookie
//   GET  /ETGate/?_ControlID=WPLETstT001Control...  order form
//   GET  /ETGate/?_ControlID=WPLETacR001Control...  account page (cash, holdings)
//   POST /ETGate/order                         acceptance page or refusal
// Every page ends with the footer "All Rights Reserved.".

#include "support/FakeBrokerPages.h"
#include "support/LoopbackHttpServer.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <set>

class FakeBrokerSite {
public:
    struct Account {
        QString user = QStringLiteral("U");
        QString password = QStringLiteral("P");
        QString tradePassword = QStringLiteral("T");
    };

    using Holding = fakebroker::Holding; // shares and price as the page shows them ("1,000")

    // Switches; the default is a working site.
    struct Behaviour {
        bool wrongLogin = false;                 // every login is refused
        bool maintenance = false;                // "サービス停止" on every page
        int refusal = 0;                         // 1..5: orders are refused with that code's text
        std::chrono::milliseconds slowAnswer{0}; // the answer to an order comes this late
        std::chrono::milliseconds slowForm{0};   // the order form comes this late
        bool missingAcceptanceRow = false;       // the acceptance page lacks its last row (期間)
        bool menuWithoutReserved = false;        // the footer lacks "Reserved."
        QString missingFormElement;              // the order form lacks the element of this name
        bool sessionExpired = false;             // every session counts as expired
        bool http500 = false;                    // every request answers 500
        bool dropAfterOrder = false;             // an order is recorded, then the connection drops
        bool stoppedAtOrder = false;             // the answer to an order says "サービス停止"
        bool metaOnly = false;                   // charset in <meta> only, not in the HTTP header
        // The answer to an order begins with the page's message templates: the acceptance
        // text and its summary table for order 777777, hidden or shown (see Templates).
        using Templates = fakebroker::Templates;
        Templates templates = Templates::None;
        bool hiddenRefusal = false; // an acceptance page also holds a refusal text in a hidden error block
        QString formsTo;            // a base address: the login and order forms send there instead
        // Where set, every page as served passes through it: another way a site may write
        // the same page (a heading as an image, a style sheet of its own, ...).
        std::function<QString(const QString &html)> rewrite;
        // A base address: the login and the order form, once posted, are answered with a 307
        // redirect there (to the same path), which asks for the post to be made again there.
        QString redirectFormsTo;
        QStringList markets = {QStringLiteral("TKY"), QStringLiteral("OSK"), QStringLiteral("NDJ"),
                               QStringLiteral("NGY"), QStringLiteral("FKO"), QStringLiteral("SPR"),
                               QStringLiteral("OTC")}; // the input_market options
        bool cashLabel = true;                         // the account page shows "現金残高"
        QString cash = QStringLiteral("1,234,567");    // the cash cell
        QString sampleCash; // not empty: a hidden sample cash cell showing this comes before the real one
        QList<Holding> holdings = {{QStringLiteral("7203"), QStringLiteral("100"), QStringLiteral("1,234")}};
        int fillPrice = 0; // price of the notice mail; 0: the order's limit, or 1000
        int firstFill = 0; // > 0: an order fills in two executions, this many shares first, one notice each
        // Where set and fillPrice is 0, a market order fills at this price of its stock code.
        std::function<int(const QString &code)> marketPrice;
    };

    struct Order {
        QMap<QString, QString> fields; // the form as sent, decoded
        QString orderNumber;           // given when accepted; empty when refused or dropped
    };

    // One notice mail per execution of an accepted order, as a file in the mail's format;
    // `name` is its file name without ".eml".
    using NoticeCallback = std::function<void(const QString &name, const QByteArray &mail)>;

    explicit FakeBrokerSite(Account account);
    FakeBrokerSite() : FakeBrokerSite(Account{}) {}

    int start(int port = 0);
    void stop();
    QString baseUrl() const { return m_http.baseUrl(); }
    // The [Hosts] lines that point the program here.
    QString hostsLines() const;
    // Writes <directory>/<exeName>_site.ini with those lines.
    void writeSiteFile(const QString &directory, const QString &exeName = QStringLiteral("Nimbra")) const;

    void setBehaviour(const Behaviour &behaviour);
    // Forgets every session, as when the site logs its users out: the next step logs in again.
    void endSessions();
    // Notice mails: written as <directory>/notice-<order number>[-<part>].eml, and/or handed over.
    void setMailDirectory(const QString &directory);
    void setNoticeCallback(NoticeCallback callback);
    // The moment a notice says its order was executed: by default this process's clock; a
    // test that runs the program in another process on a simulated clock reads that one.
    using NoticeClock = std::function<QDateTime()>;
    void setNoticeClock(NoticeClock clock);

    // "METHOD path?query" of every request so far, in order.
    QStringList requests() const;
    // Every order form that reached the site, in order.
    QList<Order> orders() const;
    // The order forms of one stock code.
    QList<Order> ordersOf(const QString &stockCode) const;
    int acceptedOrderCount() const;

    // The notice mail for an order (headers and body, CR LF, ISO-2022-JP): all its shares,
    // or `shares` of them as execution `part` (1, 2), which its Message-ID carries, executed
    // at `executed` (an invalid moment: now).
    static QByteArray noticeMail(const Order &order, int price, qint64 shares = 0, int part = 0,
                                 const QDateTime &executed = {});

private:
    using Handler = std::function<QString(const httplib::Request &, httplib::Response &)>;
    void route(const char *pattern, bool post, Handler handler);
    QString gateway(const httplib::Request &request, httplib::Response &response);
    QString login(const httplib::Request &request, httplib::Response &response);
    QString order(const httplib::Request &request, httplib::Response &response);
    bool hasSession(const httplib::Request &request) const;
    void sendNotice(const Order &order);
    void deliverNotice(const QString &directory, const NoticeCallback &callback, const QString &name,
                       const QByteArray &mail);
    Behaviour behaviour() const;

    Account m_account;
    LoopbackHttpServer m_http;
    mutable std::mutex m_mutex;
    Behaviour m_behaviour;
    std::set<std::string> m_sessions;
    QStringList m_requests;
    QList<Order> m_orders;
    int m_nextOrderNumber = 100001;
    QString m_mailDirectory;
    NoticeCallback m_noticeCallback;
    NoticeClock m_noticeClock;
};
