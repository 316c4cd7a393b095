#include "marketdata/modYahooChart.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QDesktopServices>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Takes the addresses the program would hand to the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

const QString kBase = QStringLiteral("http://127.0.0.1:8080/");
const QString kQuery = QStringLiteral("q?d=c&k=c3&a=v,r14,m26-12-9&p=m25,m75,s&t=3m&l=off&z=m&q=c&s=");

TEST(YahooChart, AddressOfTheChartPage)
{
    const struct {
        const char *code;
        const char *market;
        const char *tail;
    } cases[] = {
        {"7203", "t1", "7203.t"},
        {"6758", "o2", "6758.o"},
        {"1234", "hc1", "1234"},
        {"72'03 &x=1", "t1", "72%2703%20%26x%3D1.t"},
    };
    for (const auto &c : cases) {
        const QUrl url = yahooChartUrl(kBase + kQuery, QString::fromLatin1(c.code), QString::fromLatin1(c.market));
        EXPECT_EQ(url.toString(QUrl::FullyEncoded), kBase + kQuery + QString::fromLatin1(c.tail)) << c.code;
        EXPECT_EQ(url.host(), QStringLiteral("127.0.0.1"));
    }
    EXPECT_TRUE(yahooChartUrl(kBase + kQuery, QString(), QStringLiteral("t1")).isEmpty());
    EXPECT_TRUE(yahooChartUrl(kBase + kQuery, QStringLiteral("  "), QStringLiteral("t1")).isEmpty());
}

class YahooChartOpen : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        ProgramDirFixture::TearDown();
    }
    void writeSiteFile(const QByteArray &content)
    {
        QFile file(path(QStringLiteral("Nimbra_site.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    UrlCatcher catcher;
};

TEST_F(YahooChartOpen, OpensThePageOfTheConfiguredHost)
{
    writeSiteFile("[Hosts]\nYahoo=http://127.0.0.1:8080/\n");
    showYahooChart(QStringLiteral("7203"), QStringLiteral("t1"));
    showYahooChart(QString(), QStringLiteral("t1"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.front().toString(QUrl::FullyEncoded), kBase + kQuery + QStringLiteral("7203.t"));
    EXPECT_TRUE(MessageBoxRecorder::instance().calls().isEmpty());
}

TEST_F(YahooChartOpen, MissingHostIsReportedAndNothingOpens)
{
    writeSiteFile("[Hosts]\nInfoseek=http://127.0.0.1:8080/\n");
    showYahooChart(QStringLiteral("7203"), QStringLiteral("t1"));
    EXPECT_TRUE(catcher.urls.isEmpty());
    ASSERT_EQ(MessageBoxRecorder::instance().calls().size(), 1);
    EXPECT_TRUE(MessageBoxRecorder::instance().calls().front().text.contains(QStringLiteral("Yahoo")));
}

} // namespace

#include "test_yahooChart.moc"
