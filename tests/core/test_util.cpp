#include "core/modUtil.h"
#include "platform/sys/Clock.h"
#include "platform/ui/cDateTimePicker.h"
#include "support/ProgramDirFixture.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>

namespace {

TEST(PadByte, CountsCp932Bytes)
{
    const struct {
        int mode;
        const char16_t *text;
        int width;
        const char16_t *expected;
    } cases[] = {
        {1, u"ABC", 6, u"ABC   "}, {2, u"ABC", 6, u"   ABC"},      {1, u"株式", 6, u"株式  "},
        {2, u"ｶﾌﾞ", 5, u"  ｶﾌﾞ"},  {1, u"1234567", 6, u"1234567"}, {0, u"", 2, u"  "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(padByte(c.mode, QString::fromUtf16(c.text), c.width), QString::fromUtf16(c.expected));
}

TEST(SetComboText, SelectsTheLastMatchAndPassesEveryEntry)
{
    QComboBox combo;
    combo.addItems({QStringLiteral("東1"), QStringLiteral(" 東2 "), QStringLiteral("大1"), QStringLiteral("東2")});
    int changes = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&] { ++changes; });

    setComboText(&combo, QStringLiteral("東2"));
    EXPECT_EQ(combo.currentIndex(), 3);

    setComboText(&combo, QStringLiteral("  東2"));
    EXPECT_EQ(combo.currentIndex(), 3);

    changes = 0;
    setComboText(&combo, QStringLiteral("なし"));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(changes, 3); // entries 3 (already current), 2, 1, 0

    QComboBox empty;
    setComboText(&empty, QStringLiteral("x"));
    EXPECT_EQ(empty.currentIndex(), -1);
}

class CopyFileTest : public ProgramDirFixture {};

TEST_F(CopyFileTest, ReplacesTargetAndKeepsItOnFailure)
{
    const auto write = [&](const QString &name, const QByteArray &content) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    const auto read = [&](const QString &name) {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    write(QStringLiteral("a"), "new");
    write(QStringLiteral("b"), "old");
    EXPECT_TRUE(copyFile(path(QStringLiteral("a")), path(QStringLiteral("b"))));
    EXPECT_EQ(read(QStringLiteral("b")), "new");

    EXPECT_FALSE(copyFile(path(QStringLiteral("missing")), path(QStringLiteral("b"))));
    EXPECT_EQ(read(QStringLiteral("b")), "new");
}

TEST(DatePicker, CreatedInItsHostWithThePresentMoment)
{
    sys::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 20, 30, 400))); // a Sunday
    QFrame host;
    host.resize(150, 60);
    cDateTimePicker picker;
    createDatePicker(picker, &host);
    sys::setNow(std::nullopt);

    ASSERT_NE(picker.editor(), nullptr);
    EXPECT_EQ(picker.editor()->parentWidget(), &host);
    EXPECT_EQ(picker.Style(), 0);
    EXPECT_TRUE(picker.editor()->calendarPopup());
    EXPECT_EQ(picker.Value(), QDateTime(QDate(2026, 12, 6), QTime(10, 20, 30)));
    EXPECT_EQ(host.height(), QFontMetrics(host.font()).height() + 8);

    picker.setValue(QDateTime(QDate(2007, 1, 4), QTime(23, 59, 58)));
    EXPECT_EQ(picker.Value(), QDateTime(QDate(2007, 1, 4), QTime(23, 59, 58)));

    picker.setStyle(3);
    picker.create();
    EXPECT_FALSE(picker.editor()->calendarPopup());
    picker.setStyle(9);
    picker.create();
    EXPECT_EQ(picker.editor(), nullptr);
}

} // namespace
