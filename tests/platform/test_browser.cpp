#include "platform/browser/Browser.h"
#include "platform/text/Cp932.h"
#include "platform/ui/BrowserView.h"
#include "support/LoopbackHttpServer.h"

#include <QSignalSpy>

#include <mutex>

#include <gtest/gtest.h>

using browser::Browser;

namespace {

// A small site: pages that show what the request carried.
class BrowserOverLoopback : public ::testing::Test {
protected:
    void SetUp() override
    {
        httplib::Server &s = http.server();
        s.Get("/set", [](const httplib::Request &, httplib::Response &res) {
            res.set_header("Set-Cookie", "sid=abc123; Path=/");
            res.set_content("<html><body>set</body></html>", "text/html");
        });
        s.Get("/show", [](const httplib::Request &req, httplib::Response &res) {
            res.set_content("<html><body><p>cookie=" + req.get_header_value("Cookie") +
                                "</p><p>referer=" + req.get_header_value("Referer") + "</p></body></html>",
                            "text/html");
        });
        s.Get("/form", [](const httplib::Request &, httplib::Response &res) {
            res.set_content("<html><body><form name=f action=/post method=post><input name=a value=1>"
                            "</form></body></html>",
                            "text/html");
        });
        s.Post("/post", [](const httplib::Request &req, httplib::Response &res) {
            res.status = 303;
            res.set_header("Location", req.body == "a=1" ? "/done?posted=a1" : "/done?posted=other");
        });
        s.Get("/done", [](const httplib::Request &req, httplib::Response &res) {
            res.set_content("<html><body>" + req.method + " " + req.get_param_value("posted") + "</body></html>",
                            "text/html");
        });
        s.Get("/slow", [this](const httplib::Request &, httplib::Response &res) {
            http.waitUnlessStopping(std::chrono::milliseconds(1500));
            res.set_content("<html><body>slow</body></html>", "text/html");
        });
        s.Get("/fast", [](const httplib::Request &, httplib::Response &res) {
            res.set_content("<html><body>fast</body></html>", "text/html");
        });
        s.Get("/error", [](const httplib::Request &, httplib::Response &res) {
            res.status = 500;
            res.set_content("<html><body>broken</body></html>", "text/html");
        });
        s.Get("/jp", [](const httplib::Request &req, httplib::Response &res) {
            const std::string how = req.get_param_value("how");
            const QString text = QStringLiteral("現金残高～");
            if (how == "header")
                res.set_content("<html><body>" + text::toCp932(text).toStdString() + "</body></html>",
                                "text/html; charset=Shift_JIS");
            else if (how == "meta")
                res.set_content("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                "charset=EUC-JP\"></head><body>" +
                                    text::encodeCharset(text, "EUC-JP-MS").toStdString() + "</body></html>",
                                "text/html");
            else if (how == "utf8")
                res.set_content("<html><body>" + text.toStdString() + "</body></html>", "text/html; charset=UTF-8");
            else
                res.set_content("<html><body>" + text::toCp932(text).toStdString() + "</body></html>", "text/html");
        });
        http.start();
    }

    QString url(const char *path) const { return http.baseUrl() + QString::fromUtf8(path).mid(1); }

    // Navigates and waits for the completion; returns the address it reported.
    QString load(const QString &address)
    {
        QSignalSpy done(&browser, &Browser::DocumentComplete);
        browser.Navigate(address);
        if (!done.wait(10000))
            return QStringLiteral("(no completion)");
        return done.takeFirst().at(0).toString();
    }

    QString bodyText() const { return browser.document().body().textContent(); }

    LoopbackHttpServer http;
    Browser browser;
};

TEST_F(BrowserOverLoopback, KeepsCookiesAndSendsTheReferer)
{
    load(url("/set"));
    load(url("/show"));
    EXPECT_TRUE(bodyText().contains(QStringLiteral("cookie=sid=abc123"))) << bodyText().toStdString();
    EXPECT_TRUE(bodyText().contains(QStringLiteral("referer=") + url("/set"))) << bodyText().toStdString();
}

TEST_F(BrowserOverLoopback, PostAnsweredBy303GoesOnAsGetAndReportsTheFinalAddress)
{
    load(url("/form"));
    QSignalSpy done(&browser, &Browser::DocumentComplete);
    // Forms are sent only where the form-target test allows: none is set yet, then one
    // that refuses this address.
    for (const Browser::FormTargetTest &test :
         {Browser::FormTargetTest(), Browser::FormTargetTest([](const QUrl &) { return false; })}) {
        browser.setFormTargetTest(test);
        EXPECT_THROW(browser.document().elementNamed(QStringLiteral("f")).submit(), browser::SubmitRefused);
        EXPECT_FALSE(browser.busy()) << "no request was started";
    }
    // The test applies to the redirect's address as well.
    browser.setFormTargetTest([this](const QUrl &target) {
        return target == QUrl(url("/post")) || target.adjusted(QUrl::RemoveQuery) == QUrl(url("/done"));
    });
    browser.document().elementNamed(QStringLiteral("f")).submit();
    EXPECT_TRUE(done.isEmpty()) << "completion comes later, never inside the call";
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(done.takeFirst().at(0).toString(), url("/done?posted=a1"));
    EXPECT_EQ(bodyText(), QStringLiteral("GET a1"));
}

// A 307 or 308 asks for the form to be posted again at the new address: each hop is put to
// the form-target test first, and a hop it refuses receives nothing.
TEST_F(BrowserOverLoopback, AFormFollowsARedirectOnlyWhereFormsMayGo)
{
    LoopbackHttpServer other;
    QStringList reached;
    std::mutex reachedMutex;
    other.server().Post(".*", [&](const httplib::Request &req, httplib::Response &res) {
        const std::lock_guard lock(reachedMutex);
        reached.append(QString::fromStdString(req.path + " " + req.body));
        res.set_content("<html><body>other " + req.body + "</body></html>", "text/html");
    });
    const QString otherBase = QStringLiteral("http://127.0.0.1:%1/").arg(other.start());
    const std::string otherTarget = otherBase.toStdString() + "taken?k=v";
    LoopbackHttpServer site; // the forms' own site
    for (const int status : {307, 308})
        site.server().Post("/moved" + std::to_string(status),
                           [status, otherTarget](const httplib::Request &, httplib::Response &res) {
                               res.status = status;
                               res.set_header("Location", otherTarget);
                           });
    site.server().Post("/here", [](const httplib::Request &, httplib::Response &res) {
        res.status = 307;
        res.set_header("Location", "/echo");
    });
    site.server().Post("/echo", [](const httplib::Request &req, httplib::Response &res) {
        res.set_content("<html><body>echo " + req.body + "</body></html>", "text/html");
    });
    site.server().Get("/forms", [](const httplib::Request &, httplib::Response &res) {
        res.set_content("<html><body><form name=m307 action=/moved307 method=post><input name=pw value=s></form>"
                        "<form name=m308 action=/moved308 method=post><input name=pw value=s></form>"
                        "<form name=here action=/here method=post><input name=pw value=s></form></body></html>",
                        "text/html");
    });
    site.start();
    const QString own = site.baseUrl();
    const auto submit = [this, own](const char *form) {
        load(own + QStringLiteral("forms"));
        QSignalSpy done(&browser, &Browser::DocumentComplete);
        browser.document().elementNamed(QString::fromUtf8(form)).submit();
        return done.wait(10000) ? done.takeFirst().at(0).toString() : QStringLiteral("(no completion)");
    };

    browser.setFormTargetTest([own](const QUrl &target) { return target.toString().startsWith(own); });
    for (const char *form : {"m307", "m308"}) {
        EXPECT_EQ(submit(form), QStringLiteral("about:neterror")) << form;
        EXPECT_EQ(browser.refusedRedirect(), QUrl(otherBase + QStringLiteral("taken"))) << "without its query";
    }
    EXPECT_EQ(submit("here"), own + QStringLiteral("echo")) << "a redirect on the same site is followed";
    EXPECT_EQ(bodyText(), QStringLiteral("echo pw=s")) << "with the form posted again";
    EXPECT_TRUE(browser.refusedRedirect().isEmpty());
    {
        const std::lock_guard lock(reachedMutex);
        EXPECT_TRUE(reached.isEmpty()) << reached.join(u'|').toStdString();
    }

    browser.setFormTargetTest([](const QUrl &) { return true; });
    EXPECT_EQ(submit("m307"), otherBase + QStringLiteral("taken?k=v")) << "where the test allows it, it goes on";
    const std::lock_guard lock(reachedMutex);
    EXPECT_EQ(reached, QStringList{QStringLiteral("/taken pw=s")});
}

TEST(BrowserRedirects, NeverToAnotherKindOfAddressNorDownToHttp)
{
    const Browser::FormTargetTest refuseAll = [](const QUrl &) { return false; };
    const struct {
        const char *from;
        const char *to;
        bool tested; // with a test that refuses every address
        bool followed;
    } cases[] = {
        {"http://a.test/x", "https://a.test/y", false, true},  {"https://a.test/x", "https://b.test/y", false, true},
        {"https://a.test/x", "http://a.test/y", false, false}, {"HTTPS://a.test/x", "HTTP://a.test/y", false, false},
        {"http://a.test/x", "ftp://a.test/y", false, false},   {"http://a.test/x", "file:///etc/passwd", false, false},
        {"http://a.test/x", "http://a.test/y", true, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(browser::mayRedirect(QUrl(QString::fromUtf8(c.from)), QUrl(QString::fromUtf8(c.to)),
                                       c.tested ? refuseAll : Browser::FormTargetTest()),
                  c.followed)
            << c.from << " -> " << c.to;
}

TEST_F(BrowserOverLoopback, ReadsThePageInItsDeclaredCharsetElseCp932)
{
    for (const char *how : {"header", "meta", "utf8", "none"}) {
        load(url("/jp?how=") + QString::fromLatin1(how));
        EXPECT_EQ(bodyText(), QStringLiteral("現金残高～")) << how;
    }
}

TEST_F(BrowserOverLoopback, ANewNavigationDropsThePendingOne)
{
    QSignalSpy done(&browser, &Browser::DocumentComplete);
    browser.Navigate(url("/slow"));
    browser.Navigate(url("/fast"));
    EXPECT_TRUE(browser.busy());
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(done.at(0).at(0).toString(), url("/fast"));
    EXPECT_FALSE(done.wait(2000)) << "the slow page must never complete";
    EXPECT_EQ(bodyText(), QStringLiteral("fast"));
    EXPECT_FALSE(browser.busy());
}

TEST_F(BrowserOverLoopback, NoResponseIsAnEmptyNetErrorPageAnErrorStatusIsAPage)
{
    LoopbackHttpServer closed;
    const int port = closed.start();
    closed.stop(); // nothing listens there now
    EXPECT_EQ(load(QStringLiteral("http://127.0.0.1:%1/x").arg(port)), QStringLiteral("about:neterror"));
    EXPECT_TRUE(browser.document().bodyInnerHTML().isEmpty());

    EXPECT_EQ(load(url("/error")), url("/error"));
    EXPECT_EQ(bodyText(), QStringLiteral("broken"));
    EXPECT_EQ(load(QStringLiteral("about:blank")), QStringLiteral("about:blank"));
    EXPECT_EQ(load(QStringLiteral("file:///etc/passwd")), QStringLiteral("about:neterror"));
}

TEST_F(BrowserOverLoopback, ViewShowsThePageTextWithoutTypedValues)
{
    browser::BrowserView view(browser);
    load(url("/form"));
    browser.document().elementNamed(QStringLiteral("a")).setValue(QStringLiteral("secret"));
    load(url("/show"));
    EXPECT_TRUE(view.isReadOnly());
    EXPECT_TRUE(view.toPlainText().startsWith(QStringLiteral("cookie="))) << view.toPlainText().toStdString();
    EXPECT_FALSE(view.toPlainText().contains(QStringLiteral("secret")));
}

} // namespace
