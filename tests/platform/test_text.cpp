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
        const char *twoDecimals;
    } numbers[] = {
        {0, "0", "0.00"},
        {0.26, "0", "0.26"},
        {-0.3, "0", "-0.30"},
        {2.5, "3", "2.50"},
        {1234567.5, "1,234,568", "1,234,567.50"},
        {-1234, "-1,234", "-1,234.00"},
        {0.25, "0", "0.25"},
        {999.95, "1,000", "999.95"},
        {0.125, "0", "0.13"},
        {-0.125, "0", "-0.13"},
        {-0.004, "0", "0.00"},
        {999.995, "1,000", "1,000.00"},
    };
    for (const auto &n : numbers) {
        EXPECT_EQ(text::formatThousands(n.value), QString::fromLatin1(n.thousands)) << n.value;
        EXPECT_EQ(text::formatThousands2(n.value), QString::fromLatin1(n.twoDecimals)) << n.value;
    }
}

TEST(Format, PlainNumbersHaveNoExponentAndReadBackToTheSameValue)
{
    const struct {
        double value;
        const char *plain;
        const char *shown;
    } numbers[] = {
        {0, "0", "0"},
        {-0.0, "0", "0"},
        {1234, "1234", "1234"},
        {-1234.5, "-1234.5", "-1234.5"},
        {0.00001, "0.00001", "0.00001"},
        {0.123456789, "0.123456789", "0.123456789"},
        {1e15, "1000000000000000", "1000000000000000"},
        {1.5e20, "150000000000000000000", "150000000000000000000"},
        {0.1 + 0.2, "0.30000000000000004", "0.3"},
        {-2.5e-7, "-0.00000025", "-0.00000025"},
    };
    for (const auto &n : numbers) {
        const QString plain = text::formatPlainNumber(n.value);
        EXPECT_EQ(plain, QString::fromLatin1(n.plain)) << n.value;
        EXPECT_EQ(plain.toDouble(), n.value) << n.plain;
        EXPECT_EQ(text::formatShownNumber(n.value), QString::fromLatin1(n.shown)) << n.value;
    }
    for (const double extreme : {1.7976931348623157e308, 4.9406564584124654e-324})
        EXPECT_EQ(text::formatPlainNumber(extreme).toDouble(), extreme);
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
