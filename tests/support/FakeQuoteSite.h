#pragma once

// The fake quote site: the money site's stock header and price history pages, the
// caution-list page and the quote page, generated from a FakeMarket and served over HTTP
// on 127.0.0.1, in the shapes and text codes of the real sites. One server answers for
// all three sites.
//
// In a test:
//   FakeQuoteSite site({.seed = 7, .lastDay = QDate(2007, 3, 30)});
//   site.start();                          // any free port
//   site.writeSiteFile(programDirectory);  // <ExeName>_site.ini pointing every site here
//   site.setFailure(FakeQuoteSite::Failure::Http500, 3); // the next three requests fail
//   ... run the program's code ...
//   site.requests();                       // what was asked, in order
//
// By hand: build/tests/support/fake_quote_site --port 8080 --seed 1 --stocks 36 --days 60
//
// Pages served:
//   /MnStock/sresult.html?search=1&qt=<code>.<letter>           stock header
//   /MnStock/slast.html?...&qt=<code>.<letter>&sy=&sm=&sd=&ey=&em=&ed=
//       history from the end day back to the start day, newest first, plus the trading day
//       before the start day (the reader must stop there); the split day listed twice;
//       the stock's name and "(code)" above the table (none with CodeMarks::AngleBrackets)
//   /net_trade/margin_trade/chuui/post.html                       both caution sections
//   /q?d=t&s=<code>                                               current quote
//   /terms.html                                                   terms of use (Shift_JIS)
// The money site and the quote site write EUC-JP, the caution site Shift_JIS (CP932),
// each declared in the Content-Type header and a <meta> tag unless switched.

#include "support/FakeMarket.h"
#include "support/FakeQuotePages.h"
#include "support/LoopbackHttpServer.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

class FakeQuoteSite {
public:
    enum class Failure {
        None,
        ErrorPage,    // a "ページが表示できません" page
        EmptyPage,    // status 200 and no body
        Timeout,      // no answer until the timeout delay has passed
        Http500,      // status 500
        ChangedPage,  // the page without the markers the readers look for (a redesign)
        Truncated,    // the page cut off in the middle
        WrongCharset, // the page's bytes in Shift_JIS, declared as EUC-JP
        OtherStock,   // a redirect within the site to the reference stock's page of the same request
        OffSite,      // a redirect to the same path on another host name ("localhost")
        HugeBody,     // a body of 20 MB, past the program's page size limit
    };
    // The failure named on the command line ("error-page", "changed", ...); nothing for an
    // unknown name.
    static std::optional<Failure> failureNamed(const QString &name);
    static QStringList failureNames();
    enum class Encoding { SiteDefault, EucJp, ShiftJis };
    enum class Declaration { HeaderAndMeta, HeaderOnly, MetaOnly, None };

    explicit FakeQuoteSite(const FakeMarket::Options &options);
    FakeQuoteSite() : FakeQuoteSite(FakeMarket::Options{}) {}

    // Listens on 127.0.0.1 (port 0 = any free port) and returns the port.
    int start(int port = 0);
    void stop();
    QString baseUrl() const { return m_http.baseUrl(); }
    // The site file's [Hosts] section for this site: Infoseek, Yahoo and Caution at
    // baseUrl(), Consent at its terms page.
    QString hostsLines() const;
    // Writes <directory>/<exeName>_site.ini holding hostsLines().
    void writeSiteFile(const QString &directory, const QString &exeName = QStringLiteral("Nimbra")) const;

    const FakeMarket &market() const { return m_market; }

    // The next `requests` requests fail so (-1: every request until switched back).
    void setFailure(Failure failure, int requests = -1);
    // How long a Timeout request stalls before it answers (default 10 s; ends early on stop).
    void setTimeoutDelay(std::chrono::milliseconds delay);
    void setEncoding(Encoding encoding);
    void setDeclaration(Declaration declaration);
    // How the header and history pages name their stock (default: in parentheses).
    void setCodeMarks(fakepages::CodeMarks marks);
    // Every page served passes through `rewrite` before it is encoded (a hostile site).
    void setRewrite(std::function<QString(const QString &html)> rewrite);
    // The moment the quote page shows (default: sys::now() at each request).
    void setQuoteMoment(std::optional<QDateTime> moment);
    // The quote page shows the last trade's date, as on a weekday without trading.
    void setQuoteShowsDate(bool showsDate);

    // Path and query of every request so far, in order.
    QStringList requests() const;
    int requestCount() const;

private:
    struct Page {
        QString html;
        bool shiftJis = false; // the site's own code: Shift_JIS, else EUC-JP
    };
    void serve(const httplib::Request &request, httplib::Response &response, const Page &page);
    Failure takeFailure();
    fakepages::CodeMarks codeMarks() const;

    FakeMarket m_market;
    LoopbackHttpServer m_http;
    mutable std::mutex m_mutex;
    Failure m_failure = Failure::None;
    int m_failuresLeft = 0;
    std::chrono::milliseconds m_timeoutDelay{10000};
    Encoding m_encoding = Encoding::SiteDefault;
    Declaration m_declaration = Declaration::HeaderAndMeta;
    fakepages::CodeMarks m_codeMarks = fakepages::CodeMarks::Parentheses;
    std::function<QString(const QString &)> m_rewrite;
    std::optional<QDateTime> m_quoteMoment;
    bool m_quoteShowsDate = false;
    QStringList m_requests;
};
