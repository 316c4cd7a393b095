#include "platform/net/SiteFile.h"
#include "platform/net/Transfer.h"
#include "support/LoopbackHttpServer.h"
#include "support/TemporaryDirFixture.h"

#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <curl/curl.h>

using namespace std::chrono_literals;

namespace {

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto &s = site.server();
        s.Get("/page", [](const httplib::Request &, httplib::Response &res) {
            res.set_content("\xb3\xf4\xb2\xc1", "text/html; charset=EUC-JP");
        });
        s.Get("/missing", [](const httplib::Request &, httplib::Response &res) {
            res.status = 404;
            res.set_content("not here", "text/plain");
        });
        s.Get("/moved", [](const httplib::Request &, httplib::Response &res) { res.set_redirect("/page"); });
        s.Get("/elsewhere", [this](const httplib::Request &, httplib::Response &res) {
            res.set_redirect("http://localhost:" + std::to_string(site.port()) + "/page");
        });
        s.Get("/loop", [](const httplib::Request &, httplib::Response &res) { res.set_redirect("/loop"); });
        s.Get("/big", [](const httplib::Request &, httplib::Response &res) {
            res.set_content(std::string(3000, 'x'), "text/html");
        });
        s.Get("/bigchunked", [](const httplib::Request &, httplib::Response &res) {
            // No length announced: the limit is found while the body arrives.
            res.set_chunked_content_provider("text/html", [](size_t, httplib::DataSink &sink) {
                const std::string piece(1000, 'y');
                for (int i = 0; i < 5; ++i)
                    sink.write(piece.data(), piece.size());
                sink.done();
                return true;
            });
        });
        s.Get("/slow", [this](const httplib::Request &, httplib::Response &res) {
            site.waitUnlessStopping(400ms);
            res.set_content("late", "text/plain");
        });
        site.start();
    }

    LoopbackHttpServer site;
};

} // namespace

TEST_F(TransferTest, ResponsesStatusAndRedirects)
{
    const net::TransferResult page = net::fetch(site.baseUrl() + QStringLiteral("page"));
    EXPECT_TRUE(page.succeeded());
    EXPECT_EQ(page.httpStatus, 200);
    EXPECT_EQ(page.body, QByteArray("\xb3\xf4\xb2\xc1"));
    EXPECT_EQ(page.contentType, QByteArray("text/html; charset=EUC-JP"));

    const net::TransferResult missing = net::fetch(site.baseUrl() + QStringLiteral("missing"));
    EXPECT_EQ(missing.error, 0);
    EXPECT_FALSE(missing.succeeded());
    EXPECT_EQ(missing.httpStatus, 404);
    EXPECT_EQ(missing.body, QByteArray("not here"));

    const net::TransferResult moved = net::fetch(site.baseUrl() + QStringLiteral("moved"));
    EXPECT_TRUE(moved.succeeded());
    EXPECT_EQ(moved.body, page.body);
}

TEST_F(TransferTest, FailuresCarryNumberAndText)
{
    net::TransferOptions quick;
    quick.totalTimeout = 150ms;
    const net::TransferResult late = net::fetch(site.baseUrl() + QStringLiteral("slow"), quick);
    EXPECT_EQ(late.error, CURLE_OPERATION_TIMEDOUT);
    EXPECT_FALSE(late.errorText.isEmpty());
    EXPECT_TRUE(late.body.isEmpty());

    const QString closedBase = site.baseUrl();
    site.stop();
    const net::TransferResult refused = net::fetch(closedBase + QStringLiteral("page"));
    EXPECT_EQ(refused.error, CURLE_COULDNT_CONNECT);
    EXPECT_FALSE(refused.errorText.isEmpty());
    EXPECT_FALSE(refused.succeeded());

    // Only web addresses are fetched.
    const net::TransferResult local = net::fetch(QStringLiteral("file:///etc/passwd"));
    EXPECT_EQ(local.error, CURLE_UNSUPPORTED_PROTOCOL);
    EXPECT_TRUE(local.body.isEmpty());
}

// Redirects are followed only within the host asked for; a page past the size limit is
// not returned, whether its length is announced or not.
TEST_F(TransferTest, RedirectsStayOnTheHostAndBodiesWithinTheLimit)
{
    net::TransferOptions small;
    small.maxBodyBytes = 2048;
    const struct {
        const char *path;
        int error;
        long status;
    } cases[] = {
        {"moved", 0, 200},
        {"elsewhere", net::kErrorForeignRedirect, 302},
        {"loop", CURLE_TOO_MANY_REDIRECTS, 302},
        {"big", net::kErrorBodyTooLarge, 200},
        {"bigchunked", net::kErrorBodyTooLarge, 200},
        {"page", 0, 200},
    };
    for (const auto &c : cases) {
        const net::TransferResult r = net::fetch(site.baseUrl() + QString::fromLatin1(c.path), small);
        EXPECT_EQ(r.error, c.error) << c.path;
        EXPECT_EQ(r.httpStatus, c.status) << c.path;
        EXPECT_EQ(r.errorText.isEmpty(), c.error == 0) << c.path;
        if (c.error != 0) {
            EXPECT_TRUE(r.body.isEmpty()) << c.path;
        }
    }
    EXPECT_EQ(net::fetch(site.baseUrl() + QStringLiteral("big")).body.size(), 3000) << "the default limit is larger";
}

TEST_F(TransferTest, TimersTickWhileTheCallerWaits)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    const net::TransferResult late = net::fetch(site.baseUrl() + QStringLiteral("slow"));
    EXPECT_TRUE(late.succeeded());
    EXPECT_GT(ticks, 5);
}

class SiteFileTest : public TemporaryDirFixture {
protected:
    void writeSiteFile(const QByteArray &content)
    {
        QFile file(path(QStringLiteral("Nimbra_site.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

TEST_F(SiteFileTest, JoinsBaseAndPathWithOneSlash)
{
    writeSiteFile("; quote sites\n[Other]\nYahoo=http://wrong/\n[hosts]\n"
                  " infoseek = http://127.0.0.1:8080/ \nYahoo=http://127.0.0.1:8081\n"
                  "Caution=https://example.test//\nConsent=127.0.0.1:9/\nTerms=http://127.0.0.1:8082/terms.html\n");
    const struct {
        const char *key;
        const char *path;
        const char *url;
    } cases[] = {
        {"Infoseek", "MnStock/sresult.html?search=1", "http://127.0.0.1:8080/MnStock/sresult.html?search=1"},
        {"Yahoo", "q?d=t&s=7203", "http://127.0.0.1:8081/q?d=t&s=7203"},
        {"Caution", "/net_trade/margin_trade/chuui/post.html",
         "https://example.test/net_trade/margin_trade/chuui/post.html"},
        {"Yahoo", "", "http://127.0.0.1:8081"}, // no path: the entry as written
        {"Terms", "", "http://127.0.0.1:8082/terms.html"},
    };
    for (const auto &c : cases) {
        const net::SiteAddress a = net::siteAddress(QString::fromLatin1(c.key), QString::fromLatin1(c.path));
        ASSERT_TRUE(a.ok()) << a.problem().toStdString();
        EXPECT_EQ(a.value(), QString::fromLatin1(c.url));
    }

    const net::SiteAddress noScheme = net::siteAddress(QStringLiteral("Consent"), QStringLiteral("x"));
    EXPECT_FALSE(noScheme.ok());
    EXPECT_TRUE(noScheme.problem().contains(u"Consent"));
    const net::SiteAddress missing = net::siteAddress(QStringLiteral("Broker"), QStringLiteral("x"));
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.problem(), QStringLiteral("サイトファイル(") + net::siteFilePath() +
                                     QStringLiteral(")の[Hosts]にBrokerがありません。"));
}

TEST_F(SiteFileTest, AChangedFileTakesEffectAtTheNextRequest)
{
    writeSiteFile("[Hosts]\nInfoseek=http://127.0.0.1:8080/\n");
    EXPECT_EQ(net::siteAddress(QStringLiteral("Infoseek"), QStringLiteral("a")).value(),
              QStringLiteral("http://127.0.0.1:8080/a"));
    writeSiteFile("[Hosts]\nInfoseek=http://127.0.0.1:9090/\n");
    EXPECT_EQ(net::siteAddress(QStringLiteral("Infoseek"), QStringLiteral("a")).value(),
              QStringLiteral("http://127.0.0.1:9090/a"));
    QFile::remove(path(QStringLiteral("Nimbra_site.ini")));
    EXPECT_FALSE(net::siteAddress(QStringLiteral("Infoseek"), QStringLiteral("a")).ok());
}

TEST_F(SiteFileTest, MissingFileIsAProblemNotACrash)
{
    const net::SiteAddress a = net::siteAddress(QStringLiteral("Yahoo"), QStringLiteral("q"));
    EXPECT_FALSE(a.ok());
    EXPECT_FALSE(a.problem().isEmpty());
    EXPECT_TRUE(a.problem().contains(net::siteFilePath()));
}
