#include "platform/mail/Basp.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(NIMBRA_TESTS_DIR "/platform/mail/") + QString::fromLatin1(name);
}

struct ReadCase {
    const char *file;
    const char16_t *subject;
    const char16_t *body;
};

// Every fixture carries the same subject and body in another shape; the body always comes
// back with CR LF line ends and decoded from its charset.
const char16_t kBody[] = u"約定通知です\r\n株価：1,000円～\r\n.行頭の点\r\n";
const char16_t kJisBody[] = u"約定通知です\r\n株価：1,000円\r\n.行頭の点\r\n"; // JIS X 0208 has no "～" of CP932

const ReadCase kReadCases[] = {
    {"iso2022jp-7bit.eml", u"約定通知", kJisBody}, {"utf8-base64.eml", u"約定通知", kBody},
    {"sjis-qp.eml", u"約定通知", kBody},           {"eucjp-8bit.eml", u"約定通知", kJisBody},
    {"lf-only.eml", u"約定通知", kBody},           {"multipart-attachment.eml", u"約定通知", kBody},
    {"folded-subject.eml", u"約定通知", kBody},    {"no-charset.eml", u"約定通知", kJisBody},
};

} // namespace

TEST(MailRead, HeadersAndBodyOfEachShape)
{
    const mail::Basp basp;
    for (const ReadCase &c : kReadCases) {
        SCOPED_TRACE(c.file);
        const ReadMailAnswer answer = basp.ReadMail(fixture(c.file), QStringLiteral("subject:from:date:"), {});
        ASSERT_TRUE(answer.isList) << qPrintable(answer.text);
        ASSERT_EQ(answer.list.size(), 4);
        EXPECT_EQ(answer.list[0], QString::fromUtf16(c.subject));
        EXPECT_TRUE(answer.list[1].contains(QLatin1String("broker@example.com"))) << qPrintable(answer.list[1]);
        EXPECT_EQ(answer.list[2], QStringLiteral("Thu, 05 Jan 2006 09:20:00 +0900"));
        EXPECT_EQ(answer.list[3], QString::fromUtf16(c.body));
        EXPECT_TRUE(answer.bodyInvalidIn.isEmpty()) << qPrintable(answer.bodyInvalidIn);
    }
}

TEST(MailRead, ABodyWhoseLabelDoesNotFitItsBytesNamesTheLabel)
{
    // Shift_JIS bytes under the label ISO-2022-JP, a 7-bit code that has no such bytes.
    const ReadMailAnswer answer =
        mail::Basp().ReadMail(fixture("sjis-labelled-iso2022jp.eml"), QStringLiteral("subject:"), {});
    ASSERT_TRUE(answer.isList) << qPrintable(answer.text);
    EXPECT_EQ(answer.list[0], QStringLiteral("約定通知"));
    EXPECT_EQ(answer.bodyInvalidIn, QStringLiteral("ISO-2022-JP"));
    EXPECT_FALSE(answer.list[1].contains(QStringLiteral("約定"))); // read in its label, not guessed
}

TEST(MailRead, SenderNameIsDecoded)
{
    const BaspAnswer answer = mail::Basp().ReadMail(fixture("utf8-base64.eml"), QStringLiteral("from:message-id:"), {});
    ASSERT_TRUE(answer.isList);
    EXPECT_TRUE(answer.list[0].contains(QStringLiteral("証券会社"))) << qPrintable(answer.list[0]);
    EXPECT_EQ(answer.list[1], QStringLiteral("<n1@example.com>"));
}

TEST(MailRead, MissingFileGivesAnErrorText)
{
    const BaspAnswer answer =
        mail::Basp().ReadMail(fixture("no-such-file.eml"), QStringLiteral("subject:from:date:"), {});
    EXPECT_FALSE(answer.isList);
    EXPECT_TRUE(answer.text.contains(QLatin1String("error"))) << qPrintable(answer.text);
}
