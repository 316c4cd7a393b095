#include "platform/mail/Basp.h"
#include "platform/text/Cp932.h"
#include "platform/text/PageCharset.h"
#include "platform/text/VbText.h"

#include <gtest/gtest.h>

namespace {

const QString kJapanese = QStringLiteral("株価～①ｱ");

QByteArray withMeta(const char *charset, const QByteArray &body)
{
    return QByteArray("<html><head><META http-equiv=\"Content-Type\" content=\"text/html; charset=") + charset +
           "\"></head><body>" + body + "</body></html>";
}

} // namespace

TEST(PageCharset, HeaderThenMetaThenSiteDefault)
{
    const QByteArray sjis = text::encodeCharset(kJapanese, "CP932");
    const QByteArray euc = text::encodeCharset(kJapanese, "EUC-JP-MS");
    ASSERT_NE(sjis, euc);

    const struct {
        QByteArray page;
        QByteArray contentType;
        const char *fallback;
    } cases[] = {
        {euc, "text/html; charset=EUC-JP", "CP932"},                            // header alone
        {withMeta("Shift_JIS", euc), "text/html; charset=\"euc-jp\"", "CP932"}, // header wins over meta
        {withMeta("x-sjis", sjis), "text/html", "EUC-JP-MS"},                   // meta when the header names none
        {withMeta("utf-16", sjis), "text/html", "CP932"},                       // an unknown name: the site's own code
        {sjis, {}, "CP932"},                                                    // nothing declared
        {euc, "text/html; charset=windows-31j", "EUC-JP-MS"},                   // wrongly declared: decoded as declared
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QString decoded = text::decodePage(cases[i].page, cases[i].contentType, cases[i].fallback);
        EXPECT_EQ(decoded.contains(kJapanese), i != std::size(cases) - 1) << i << ' ' << decoded.toStdString();
    }
}

TEST(PageCharset, KconvUsesTheSiteCodeOnlyAsTheLastResort)
{
    const mail::Basp basp;
    const QByteArray sjis = text::encodeCharset(kJapanese, "CP932");
    const QByteArray euc = text::encodeCharset(kJapanese, "EUC-JP-MS");
    EXPECT_EQ(basp.kconv(sjis, mail::Basp::kcShiftJis, {}), kJapanese);
    EXPECT_EQ(basp.kconv(euc, mail::Basp::kcEucJp, {}), kJapanese);
    EXPECT_EQ(basp.kconv(euc, mail::Basp::kcShiftJis, "text/html; charset=EUC-JP"), kJapanese);
    EXPECT_TRUE(basp.kconv(withMeta("shift_jis", sjis), mail::Basp::kcEucJp, {}).contains(kJapanese));
}

TEST(VbText, IsNumericAndNarrow)
{
    const struct {
        const char16_t *input;
        bool numeric;
    } numbers[] = {
        {u"12.5", true}, {u" -3 ", true}, {u"+0.5", true},  {u".5", true},     {u"1234", true},
        {u"", false},    {u"-", false},   {u"12円", false}, {u"1.2.3", false}, {u"1 2", false},
    };
    for (const auto &n : numbers)
        EXPECT_EQ(text::isNumeric(QString::fromUtf16(n.input)), n.numeric) << QString::fromUtf16(n.input).toStdString();

    EXPECT_EQ(text::toNarrow(QStringLiteral("１２３４")), QStringLiteral("1234"));
    EXPECT_EQ(text::toNarrow(QStringLiteral("ＡＢ\u3000ｃ～株")), QStringLiteral("AB c~株"));
}
