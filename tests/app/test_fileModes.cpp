// What the program writes in its directory is its user's alone (files 0600, folders 0700),
// also where an earlier version left its files readable by others. Modes are read, not
// tried: a test run as root is let through whatever the mode.
#include "app/modMain.h"
#include "platform/sys/Clock.h"
#include "support/FakePop3Server.h"
#include "support/ProgramDirFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

class FileModes : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        m_oldMask = ::umask(S_IWGRP | S_IWOTH); // a user's usual mask: new files 0644
        ProgramDirFixture::SetUp();
    }
    void TearDown() override
    {
        ProgramDirFixture::TearDown();
        ::umask(m_oldMask);
    }

    static mode_t modeOf(const QString &path)
    {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
    }

private:
    mode_t m_oldMask = 0;
};

TEST_F(FileModes, AStartAndAMailPassLeaveEveryFileOwnerOnly)
{
    // The databases, yesterday's log, an old weekday copy (Wednesday, 4) and the mail folder
    // as an earlier version left them: readable by everyone.
    createDatabases();
    writeFile(QStringLiteral("Nimbra.log"), "2026/12/09 18:00:00,前日のログ\r\n");
    writeFile(QStringLiteral("Nimbra4.log"), "2026/12/02 18:00:00,先週のログ\r\n");
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("data/mail"))));
    for (const char *name : {"Nimbra.log", "Nimbra4.log", "Nimbra.mdb", "Nimbra_mst.mdb", "data", "data/mail"}) {
        const QString file = path(QString::fromLatin1(name));
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), QFileInfo(file).isDir() ? 0755 : 0644), 0) << name;
    }

    QTemporaryDir box;
    QFile mail(box.filePath(QStringLiteral("m1")));
    ASSERT_TRUE(mail.open(QIODevice::WriteOnly));
    mail.write(QStringLiteral("From: a@example.com\r\nSubject: x\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n"
                              "「認証パスワード」\r\nab12\r\n")
                   .toUtf8());
    mail.close();
    FakePop3Server pop3(box.path(), QStringLiteral("user"), QStringLiteral("secret"));
    pop3.start();
    storeSettings({{QStringLiteral("UserID"), QStringLiteral("taro")},
                   {QStringLiteral("POP3Server"), pop3.address()},
                   {QStringLiteral("POPUserID"), QStringLiteral("user")},
                   {QStringLiteral("POPPassword"), QStringLiteral("secret")}});
    sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));

    {
        const RunningProgram program = Main(); // its load reads the mailbox
        ASSERT_TRUE(program.mainWindow);
        program.mainWindow->close(); // backs the working database up
    }
    pop3.stop();

    QStringList seen;
    QDirIterator entries(dir(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString entry = entries.next();
        const QString name = QDir(dir()).relativeFilePath(entry);
        if (name == QLatin1String("config") || name.startsWith(QLatin1String("config/")))
            continue; // the settings, which a user keeps elsewhere
        seen << name;
        EXPECT_EQ(modeOf(entry), QFileInfo(entry).isDir() ? 0700u : 0600u) << name.toStdString();
    }
    for (const char *expected :
         {"Nimbra.log", "Nimbra4.log", "Nimbra.mdb", "Nimbra_mst.mdb", "Nimbra5.mdb", "data", "data/mail"})
        EXPECT_TRUE(seen.contains(QString::fromLatin1(expected))) << expected;
    EXPECT_EQ(seen.filter(QStringLiteral(".eml")).size(), 1) << seen.join(u' ').toStdString();
}

} // namespace
