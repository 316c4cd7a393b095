#include "QuoteSiteFixture.h"
#include "marketdata/modCosmo.h"
#include "platform/text/Cp932.h"
#include "support/LoopbackHttpServer.h"

#include <QLabel>

#include <curl/curl.h>

#include <map>

using Failure = FakeQuoteSite::Failure;

namespace {

class CautionModuleTest : public QuoteSiteFixture {
protected:
    // Every stock of the fake market in tmbond with the given flag.
    void storeStocks(int flag)
    {
        for (const FakeStock &s : site.market().stocks())
            gcnDB.execute(
                QStringLiteral("insert into tmbond (銘柄コード,会社名,市場コード,業種名,単元株数,管理ポスト区分)"
                               " values (?,?,?,?,?,?)"),
                s.code, s.name, s.market, s.industry, s.unit, flag);
    }

    std::map<std::pair<QString, QString>, int> storedFlags()
    {
        std::map<std::pair<QString, QString>, int> flags;
        db::Statement st = gcnDB.prepare(QStringLiteral("select 銘柄コード, 市場コード, 管理ポスト区分 from tmbond"));
        while (st.step())
            flags[{st.text(0), st.text(1)}] = int(st.int64(2));
        return flags;
    }

    // The flag each stored stock should have after a refresh from the fake's list.
    std::map<std::pair<QString, QString>, int> expectedFlags()
    {
        std::map<std::pair<QString, QString>, int> flags;
        for (const FakeStock &s : site.market().stocks()) {
            int flag = 0;
            for (const FakeCaution &c : site.market().cautionList())
                if (c.code == s.code)
                    flag = std::max(flag, c.section);
            flags[{s.code, s.market}] = flag;
        }
        return flags;
    }

    QLabel label;
};

QStringList endLines(const QString &section, int error)
{
    const QString code = QStringLiteral("エラーコード:") + QString::number(error);
    return {section, code, QStringLiteral("■■■処理終了!!■■■"), code};
}

} // namespace

TEST_F(CautionModuleTest, OneSectionWithItsEndLines)
{
    csmOpen(1);
    csmRun(control);
    EXPECT_EQ(csmClose(), 0);
    QStringList expected;
    for (const FakeCaution &c : site.market().cautionList())
        if (c.section == 1)
            expected.append(c.code);
    ASSERT_EQ(csmCount, expected.size());
    for (int j = 1; j <= csmCount; ++j)
        EXPECT_EQ(csmMeigara[size_t(j)].BrandCode, expected[j - 1]); // full-width digits narrowed
    EXPECT_EQ(csmMeigara[1].SizyouCode, site.market().cautionList()[0].market);
    EXPECT_TRUE(csmSectionFound());
    EXPECT_EQ(logTexts(), endLines(QStringLiteral("■■■整理ポスト処理終了!!■■■"), 0));
    EXPECT_EQ(site.requests(), QStringList{QStringLiteral("/net_trade/margin_trade/chuui/post.html")});
}

TEST_F(CautionModuleTest, FailedDownloadsAreLoggedWithTheirCode)
{
    failFast();
    const struct {
        Failure failure;
        int error;
        bool notFoundLine;
    } cases[] = {
        {Failure::Http500, CURLE_HTTP_RETURNED_ERROR, false},
        {Failure::EmptyPage, 99951, false},
        {Failure::Timeout, CURLE_OPERATION_TIMEDOUT, false},
        {Failure::ErrorPage, 0, true},
    };
    for (const auto &c : cases) {
        site.setFailure(c.failure);
        const qsizetype from = logTexts().size();
        csmOpen(2);
        csmRun(control);
        EXPECT_EQ(csmClose(), c.error);
        EXPECT_EQ(csmCount, 0);
        EXPECT_FALSE(csmSectionFound());
        QStringList expected = endLines(QStringLiteral("■■■監理ポスト処理終了!!■■■"), c.error);
        if (c.notFoundLine)
            expected.prepend(QStringLiteral("csmresult×××404エラーページが見つかりません×××"));
        EXPECT_EQ(logTexts(from), expected);
    }
}

TEST_F(CautionModuleTest, RefreshSetsTheFlagsOfBothSections)
{
    storeStocks(0);
    const FakeStock &unlisted = site.market().stocks()[0];
    gcnDB.execute(QStringLiteral("update tmbond set 管理ポスト区分 = 1 where 銘柄コード = ?"), unlisted.code);

    setKanriPost(control, label, QDate(2007, 3, 30));
    EXPECT_EQ(storedFlags(), expectedFlags()); // a stock under both posts ends with 2, the old flag is gone
    const std::map<std::pair<QString, QString>, int> flags = storedFlags();
    EXPECT_TRUE(std::any_of(flags.begin(), flags.end(), [](const auto &f) { return f.second == 1; }));
    EXPECT_TRUE(std::any_of(flags.begin(), flags.end(), [](const auto &f) { return f.second == 2; }));
    EXPECT_EQ(label.text(), QStringLiteral("2007/03/30時点の") + site.market().cautionList().back().code +
                                QStringLiteral("の注意銘柄情報を取得中です。"));
    EXPECT_EQ(logTexts().size(), 8);
}

TEST_F(CautionModuleTest, RefreshKeepsTheFlagsWhenThePageCannotBeRead)
{
    storeStocks(0);
    const FakeStock &a = site.market().stocks()[0];
    const FakeStock &b = site.market().stocks()[3];
    gcnDB.execute(QStringLiteral("update tmbond set 管理ポスト区分 = 1 where 銘柄コード = ?"), a.code);
    gcnDB.execute(QStringLiteral("update tmbond set 管理ポスト区分 = 2 where 銘柄コード = ?"), b.code);
    const auto before = storedFlags();

    const struct {
        Failure failure;
        int requests;
    } cases[] = {
        {Failure::Http500, -1},   {Failure::EmptyPage, -1},  {Failure::ErrorPage, -1}, {Failure::ChangedPage, -1},
        {Failure::Truncated, -1}, {Failure::ChangedPage, 1}, // only the first section unread
    };
    for (const auto &c : cases) {
        site.setFailure(c.failure, c.requests);
        setKanriPost(control, label, QDate(2007, 3, 30));
        EXPECT_EQ(storedFlags(), before) << int(c.failure);
        EXPECT_EQ(logTexts().last(),
                  QStringLiteral("setKanriPost×××注意銘柄情報を読めませんでした。管理ポスト区分は変更しません×××"));
    }
}

TEST_F(CautionModuleTest, PageTextIsNeverSql)
{
    storeStocks(0);
    const QString hostile = QStringLiteral("7203' or 1=1 --");
    const QString page =
        QStringLiteral("<h3>■整理ポスト</h3><table><tr><th>市場</th></tr>"
                       "<tr class=a><td class=c>") +
        hostile +
        QStringLiteral("</td><td>x</td><td>東1</td><td>y</td></tr>"
                       "<tr class=a><td class=c>1'); delete from tmbond; --</td><td>x</td><td>東1</td><td>y</td></tr>"
                       "</table><h3>■監理ポスト</h3><table><tr><th>市場</th></tr></table>");
    LoopbackHttpServer caution;
    const QByteArray body = text::toCp932(page);
    caution.server().Get("/net_trade/margin_trade/chuui/post.html",
                         [&](const httplib::Request &, httplib::Response &res) {
                             res.set_content(body.constData(), size_t(body.size()), "text/html");
                         });
    caution.start();
    QFile siteFile(path(QStringLiteral("Nimbra_site.ini")));
    ASSERT_TRUE(siteFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    siteFile.write((QStringLiteral("[Hosts]\nCaution=") + caution.baseUrl() + u'\n').toUtf8());
    siteFile.close();

    setKanriPost(control, label, QDate(2007, 3, 30));
    const auto flags = storedFlags();
    EXPECT_EQ(flags.size(), site.market().stocks().size()); // nothing deleted
    EXPECT_TRUE(std::all_of(flags.begin(), flags.end(), [](const auto &f) { return f.second == 0; }));
}
