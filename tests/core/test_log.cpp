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
