#include "support/ProgramDirFixture.h"
#include "trading/BrokerSite.h"
#include "trading/BrokerText.h"
#include "trading/modBroker.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(BrokerText, AdvancePastMovesByTheKeysWidthInCp932Bytes)
{
    const struct {
        const char *text;
        const char *key;
        const char *expected;
    } cases[] = {
        {"<TD>注文番号</TD>\n  <TD CLASS=V>1", "注文番号<", "\n  <TD CLASS=V>1"}, // 5 characters, 9 bytes
        {"取引</TD>x", "取引<", "D>x"},                                           // lands 2 characters after the key
        {"<TD CLASS=V>1", "<TD ", "CLASS=V>1"},                                   // ASCII: exactly after the key
        {"abcdef", "<TD ", "def"},         // absent: the first (4 - 1) characters are dropped
        {"abcdefghij", "注文番号<", "ij"}, // absent: the first (9 - 1) characters are dropped
        {"a<b<c", "<", "b<c"},             // the first occurrence
    };
    for (const auto &c : cases)
        EXPECT_EQ(advancePast(QString::fromUtf8(c.text), QString::fromUtf8(c.key)), QString::fromUtf8(c.expected))
            << c.text << " / " << c.key;
    EXPECT_THROW(advancePastFound(QStringLiteral("abc"), QStringLiteral("<TD ")), BrokerPageError);
}

TEST(BrokerText, TakeUpToAndNumbers)
{
    EXPECT_EQ(takeUpTo(QStringLiteral("CLASS=V>100株</TD>"), QStringLiteral("株<")), QStringLiteral("CLASS=V>100"));
    EXPECT_EQ(takeUpTo(QStringLiteral("<x"), QStringLiteral("<")), QString());
    EXPECT_THROW(takeUpTo(QStringLiteral("1,000"), QStringLiteral("円<")), BrokerPageError);

    const struct {
        const char *text;
        qint64 number;
        bool isNumber;
    } numbers[] = {
        {"1234567", 1234567, true},
        {" 12.5円", 12, true},
        {"13.5", 14, true},
        {"-3", -3, true},
        {"12345678901", 12345678901, true},
        {"abc", 0, false},
        {"", 0, false},
        {"-", 0, false},
        {".5", 0, true},
    };
    for (const auto &n : numbers) {
        EXPECT_EQ(pageNumber(QString::fromUtf8(n.text)), n.number) << n.text;
        EXPECT_EQ(startsWithNumber(QString::fromUtf8(n.text)), n.isNumber) << n.text;
    }
}

TEST(BrokerText, PageTextIsUpperCaseWithoutQuotesAndNoBreakSpaces)
{
    EXPECT_EQ(brokerPageText(QStringLiteral("<td class=\"v\">a&nbsp;b</td>")), QStringLiteral("<TD CLASS=V>AB</TD>"));
}

TEST(BrokerText, ExchangeCodesOfEveryMarket)
{
    const struct {
        const char *exchange;
        const char *markets; // separated by blanks
    } table[] = {
        {"TKY", "t1 t2 te tg ty tr tm"}, {"OSK", "o1 o2 og oe"}, {"NDJ", "hc1 hc2 hcg"}, {"NGY", "n1 n2 nm ns"},
        {"FKO", "f1 f2 fm fq"},          {"SPR", "s1 s2 sm sa"}, {"OTC", "js"},          {"   ", "na T1 hc JS"},
    };
    for (const auto &row : table)
        for (const QString &market : QString::fromUtf8(row.markets).split(u' '))
            EXPECT_EQ(etrMarketCode(market), QString::fromUtf8(row.exchange)) << market.toStdString();
    EXPECT_EQ(etrMarketCode(QString()), QStringLiteral("   "));
}

class BrokerSiteFile : public ProgramDirFixture {
protected:
    void writeHosts(const QString &lines)
    {
        QFile file(path(QStringLiteral("Nimbra_site.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((QStringLiteral("[Hosts]\n") + lines).toUtf8());
    }
};

TEST_F(BrokerSiteFile, PagesOfTheBrokerAreThoseOnItsDomainSchemeAndPort)
{
    writeHosts(QStringLiteral("Broker=https://trade.example.co.jp/\nBrokerDomain=Example.co.jp\n"));
    const BrokerSite site = brokerSite();
    ASSERT_TRUE(site.ok()) << site.problem.toStdString();
    EXPECT_EQ(site.gateway, QStringLiteral("https://trade.example.co.jp/ETGate/"));
    EXPECT_EQ(site.neutral, QStringLiteral("about:blank"));
    const struct {
        const char *url;
        bool broker;
    } cases[] = {
        {"https://trade.example.co.jp/ETGate/?_ControlID=x", true},
        {"https://example.co.jp/", true},
        {"https://WWW.EXAMPLE.CO.JP/a", true},
        {"https://trade.example.co.jp:443/ETGate/", true},   // the default port named
        {"http://trade.example.co.jp/ETGate/", false},       // another scheme
        {"https://trade.example.co.jp:8443/ETGate/", false}, // another port
        {"https://badexample.co.jp/", false},                // merely ends with the letters
        {"https://example.co.jp.evil.test/", false},         // contains the domain
        {"https://evil.test/?next=example.co.jp", false},    // contains the domain
        {"about:blank", false},
        {"about:neterror", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isBrokerPage(QString::fromUtf8(c.url), site), c.broker) << c.url;

    // A broker address with a port: only that port is the broker's.
    writeHosts(QStringLiteral("Broker=http://127.0.0.1:18440/\n"));
    const BrokerSite local = brokerSite();
    EXPECT_TRUE(isBrokerPage(QStringLiteral("http://127.0.0.1:18440/ETGate/"), local));
    EXPECT_FALSE(isBrokerPage(QStringLiteral("http://127.0.0.1:18441/ETGate/"), local));
    EXPECT_FALSE(isBrokerPage(QStringLiteral("http://127.0.0.1/ETGate/"), local));
}

TEST_F(BrokerSiteFile, BrokerMustBeHttpsExceptOnThisMachine)
{
    const struct {
        const char *lines;
        bool ok;
        const char *domain;
    } cases[] = {
        {"Broker=http://127.0.0.1:18440/\n", true, "127.0.0.1"},
        {"Broker=http://localhost:18440/\nNeutral=http://127.0.0.1/n.html\n", true, "localhost"},
        {"Broker=https://trade.example.co.jp/\n", true, "trade.example.co.jp"},
        {"Broker=http://trade.example.co.jp/\n", false, ""},
        {"Broker=trade.example.co.jp\n", false, ""},
        {"Yahoo=http://127.0.0.1/\n", false, ""},
    };
    for (const auto &c : cases) {
        writeHosts(QString::fromUtf8(c.lines));
        const BrokerSite site = brokerSite();
        EXPECT_EQ(site.ok(), c.ok) << c.lines;
        if (site.ok())
            EXPECT_EQ(site.domain, QString::fromUtf8(c.domain)) << c.lines;
        else
            EXPECT_TRUE(site.problem.contains(QStringLiteral("Broker"))) << site.problem.toStdString();
    }
}

} // namespace
