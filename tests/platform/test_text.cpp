#include "platform/text/Cp932.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"

#include <gtest/gtest.h>

TEST(VbText, LeadingNumberRule)
{
    const struct {
        const char16_t *input;
        double expected;
    } cases[] = {
        {u"", 0},
        {u"abc", 0},
        {u"7abc", 7},
        {u"  -12.5x", -12.5},
        {u"+3", 3},
        {u"1.2.3", 1.2},
        {u"-", 0},
        {u".5", 0.5},
        {u"1234567890123", 1234567890123.0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(text::leadingNumber(QString::fromUtf16(c.input)), c.expected)
            << QString::fromUtf16(c.input).toStdString();
}

TEST(VbText, RoundingAndTrim)
{
    EXPECT_EQ(text::roundHalfEven(2.5), 2);
    EXPECT_EQ(text::roundHalfEven(3.5), 4);
    EXPECT_EQ(text::roundHalfEven(-2.5), -2);
    EXPECT_EQ(text::roundHalfEven(1234.6), 1235);
    EXPECT_EQ(text::trimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    // The ideographic space is not a blank to trim.
    EXPECT_EQ(text::trimSpaces(QStringLiteral("\u3000株\u3000 ")), QStringLiteral("\u3000株\u3000"));
}

TEST(Format, FixedTexts)
{
    const QDate d(2007, 3, 5);
    EXPECT_EQ(text::formatYmdSlash(d), QStringLiteral("2007/03/05"));
    EXPECT_EQ(text::formatYmd(d), QStringLiteral("20070305"));
    EXPECT_EQ(text::formatDateTimeSlash(QDateTime(d, QTime(9, 5, 7))), QStringLiteral("2007/03/05 09:05:07"));
    EXPECT_EQ(text::formatZeroPadded(7, 2), QStringLiteral("07"));
    EXPECT_EQ(text::formatZeroPadded(1, 4), QStringLiteral("0001"));

    const struct {
        double value;
        const char *thousands;
        const char *oneDecimal;
        const char *twoDecimals;
    } numbers[] = {
        {0, "0", ".0", "0.00"},
        {0.26, "0", ".3", "0.26"},
        {-0.3, "0", "-.3", "-0.30"},
        {2.5, "3", "2.5", "2.50"},
        {1234567.5, "1,234,568", "1234567.5", "1,234,567.50"},
        {-1234, "-1,234", "-1234.0", "-1,234.00"},
        {0.25, "0", ".3", "0.25"},
        {999.95, "1,000", "1000.0", "999.95"},
        {0.125, "0", ".1", "0.13"},
        {-0.125, "0", "-.1", "-0.13"},
        {-0.004, "0", ".0", "0.00"},
        {999.995, "1,000", "1000.0", "1,000.00"},
    };
    for (const auto &n : numbers) {
        EXPECT_EQ(text::formatThousands(n.value), QString::fromLatin1(n.thousands)) << n.value;
        EXPECT_EQ(text::formatOneDecimal(n.value), QString::fromLatin1(n.oneDecimal)) << n.value;
        EXPECT_EQ(text::formatThousands2(n.value), QString::fromLatin1(n.twoDecimals)) << n.value;
    }
}

TEST(Cp932, WidthAndRoundTrip)
{
    EXPECT_EQ(text::cp932ByteLength(QStringLiteral("ABC")), 3);
    EXPECT_EQ(text::cp932ByteLength(QStringLiteral("株式")), 4);
    EXPECT_EQ(text::cp932ByteLength(QStringLiteral("ｶﾌﾞ")), 3); // half-width katakana
    const QString mixed = QStringLiteral("トヨタ～①ｱ");
    EXPECT_EQ(text::fromCp932(text::toCp932(mixed)), mixed);
    // The code page's own mappings, not plain Shift_JIS: FULLWIDTH TILDE and MINUS SIGN.
    EXPECT_EQ(text::toCp932(QStringLiteral("～")), QByteArray("\x81\x60"));
    EXPECT_EQ(text::toCp932(QStringLiteral("−")), QByteArray("\x81\x7c"));
    EXPECT_EQ(text::toCp932(QStringLiteral("\u00e9")), QByteArray("?"));
}
