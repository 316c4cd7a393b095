#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/sys/Clock.h"
#include "support/ProgramDirFixture.h"

#include <QDir>
#include <QFile>

namespace {

class LogTest : public ProgramDirFixture {
protected:
    void writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray readFile(const QString &name)
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(LogTest, LineFormatAndFirstStart)
{
    sys::setNow(QDateTime(QDate(2007, 3, 5), QTime(9, 15, 0)));
    glngLogFileNo = openLog();
    writeLog(glngLogFileNo, QStringLiteral("データベース接続"));
    writeLog(glngLogFileNo, QStringLiteral("a,b"));
    closeLog(glngLogFileNo);

    EXPECT_EQ(QString::fromUtf8(readFile(QStringLiteral("Nimbra.log"))),
              QStringLiteral("2007/03/05 09:15:00,データベース接続\r\n2007/03/05 09:15:00,a,b\r\n"));
    // First start ever: nothing to copy.
    EXPECT_EQ(QDir(dir()).entryList({QStringLiteral("Nimbra?.log")}, QDir::Files), QStringList());
}

// A text from a mail or a page carries its own line breaks, control bytes, bidirectional
// controls and other invisible format characters: each stays on the line it was written
// in, and is shown as an escape.
TEST_F(LogTest, ControlCharactersOfATextAreWrittenAsVisibleEscapes)
{
    sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 0)));
    const struct {
        QString text;
        const char *written;
    } cases[] = {
        {QStringLiteral("From:x\r\n2026/12/10 09:00:00 ★偽のログ行"), "From:x\\r\\n2026/12/10 09:00:00 ★偽のログ行"},
        {QStringLiteral("lf\nonly"), "lf\\nonly"},
        {QStringLiteral("body") + QChar(0) + QStringLiteral("end"), "body\\x00end"},
        {QStringLiteral("+OK \x1b[2J\x1b]0;title\x07"), "+OK \\x1b[2J\\x1b]0;title\\x07"},
        {QStringLiteral("tab\there\x7f"), "tab\\there\\x7f"},
        {QStringLiteral("next") + QChar(0x85) + QStringLiteral("line") + QChar(0x2028) + QStringLiteral("sep"),
         "next\\u0085line\\u2028sep"},
        {QStringLiteral("全角　空白, コンマ"), "全角　空白, コンマ"},
        // Bidirectional controls would show the rest of the line reversed or reordered.
        {QStringLiteral("file") + QChar(0x202E) + QStringLiteral("gpj.exe"), "file\\u202egpj.exe"},
        {QString(QChar(0x200E)) + QChar(0x200F) + QChar(0x061C) + QChar(0x202A) + QChar(0x202B) + QChar(0x202C) +
             QChar(0x202D) + QChar(0x2066) + QChar(0x2067) + QChar(0x2068) + QChar(0x2069),
         "\\u200e\\u200f\\u061c\\u202a\\u202b\\u202c\\u202d\\u2066\\u2067\\u2068\\u2069"},
        // Invisible format characters would hide inside a word or look like nothing at all.
        {QStringLiteral("70") + QChar(0x200B) + QStringLiteral("0") + QChar(0x200C) + QChar(0x200D) + QChar(0x2060) +
             QChar(0xFEFF) + QChar(0x00AD) + QStringLiteral("1"),
         "70\\u200b0\\u200c\\u200d\\u2060\\ufeff\\u00ad1"},
        {QStringLiteral("tag") + QString::fromUcs4(U"\U000E0041"), "tag\\U000e0041"},
        // A backslash of the text is doubled, so that it never reads as one of the escapes.
        {QStringLiteral("C:\\new\\x1b \\r"), "C:\\\\new\\\\x1b \\\\r"},
    };
    glngLogFileNo = openLog();
    for (const auto &c : cases)
        writeLog(glngLogFileNo, c.text);
    closeLog(glngLogFileNo);

    const QList<QByteArray> lines = readFile(QStringLiteral("Nimbra.log")).split('\n');
    ASSERT_EQ(lines.size(), qsizetype(std::size(cases)) + 1) << "one line per text, and the end of the last";
    for (qsizetype i = 0; i < qsizetype(std::size(cases)); ++i)
        EXPECT_EQ(QString::fromUtf8(lines[i]),
                  QStringLiteral("2026/12/10 09:30:00,") + QString::fromUtf8(cases[i].written) + u'\r')
            << cases[i].written;
}

TEST_F(LogTest, RotationByTheLogsOwnCreationWeekday)
{
    // A log begun on Monday 2007-03-05 (weekday digit 2).
    const QByteArray mondayLog = "2007/03/05 09:15:00,start\r\n";
    writeFile(QStringLiteral("Nimbra.log"), mondayLog);
    writeFile(QStringLiteral("Nimbra2.log"), "last week\r\n");

    // Started again the same day: the copy is refreshed and the log keeps growing.
    sys::setNow(QDateTime(QDate(2007, 3, 5), QTime(18, 0)));
    glngLogFileNo = openLog();
    writeLog(glngLogFileNo, QStringLiteral("again"));
    closeLog(glngLogFileNo);
    EXPECT_EQ(readFile(QStringLiteral("Nimbra2.log")), mondayLog);
    EXPECT_TRUE(readFile(QStringLiteral("Nimbra.log")).startsWith(mondayLog));

    // Started on Wednesday: Monday's log goes to digit 2, and a new log begins.
    const QByteArray before = readFile(QStringLiteral("Nimbra.log"));
    sys::setNow(QDateTime(QDate(2007, 3, 7), QTime(8, 0)));
    glngLogFileNo = openLog();
    writeLog(glngLogFileNo, QStringLiteral("wednesday"));
    closeLog(glngLogFileNo);
    EXPECT_EQ(readFile(QStringLiteral("Nimbra2.log")), before);
    EXPECT_EQ(readFile(QStringLiteral("Nimbra.log")), QByteArray("2007/03/07 08:00:00,wednesday\r\n"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Nimbra4.log"))));
}

TEST_F(LogTest, WeekdayDigitsCountFromSunday)
{
    EXPECT_EQ(weekdayDigit(QDate(2007, 3, 4)), 1);  // Sunday
    EXPECT_EQ(weekdayDigit(QDate(2007, 3, 5)), 2);  // Monday
    EXPECT_EQ(weekdayDigit(QDate(2007, 3, 10)), 7); // Saturday
}

TEST_F(LogTest, OldLogIsKeptWhenItsCopyFails)
{
    const QByteArray sundayLog = "2007/03/04 10:00:00,sunday\r\n";
    writeFile(QStringLiteral("Nimbra.log"), sundayLog);
    ASSERT_TRUE(QDir(dir()).mkdir(QStringLiteral("Nimbra1.log"))); // the copy cannot be written

    sys::setNow(QDateTime(QDate(2007, 3, 6), QTime(8, 0)));
    glngLogFileNo = openLog();
    writeLog(glngLogFileNo, QStringLiteral("tuesday"));
    closeLog(glngLogFileNo);

    EXPECT_EQ(readFile(QStringLiteral("Nimbra.log")), sundayLog + "2007/03/06 08:00:00,tuesday\r\n");
}

} // namespace
