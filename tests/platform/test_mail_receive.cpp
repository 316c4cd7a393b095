#include "platform/mail/Basp.h"
#include "platform/mail/MailLimits.h"
#include "platform/mail/MailServer.h"
#include "support/FakePop3Server.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class MailReceive : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_box.isValid());
        ASSERT_TRUE(m_folder.isValid());
        m_server.start();
    }

    void putMail(const QString &name, const QByteArray &content)
    {
        QFile file(QDir(m_box.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    RcvMailAnswer receive(const QString &password = QStringLiteral("secret"))
    {
        return mail::Basp().RcvMail(m_server.address(), QStringLiteral("user"), password, QStringLiteral("SAVEALLD"),
                                    m_folder.path());
    }

    QStringList savedFiles() const { return QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    static QByteArray mail(int n)
    {
        return "Subject: mail " + QByteArray::number(n) + "\r\n\r\nbody " + QByteArray::number(n) + "\r\n";
    }

    QTemporaryDir m_box;
    QTemporaryDir m_folder;
    FakePop3Server m_server{m_box.path(), QStringLiteral("user"), QStringLiteral("secret")};
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(MailReceive, EmptyMailboxGivesAnEmptyList)
{
    const RcvMailAnswer answer = receive();
    ASSERT_TRUE(answer.isList) << qPrintable(answer.text);
    EXPECT_TRUE(answer.list.isEmpty());
    EXPECT_EQ(m_server.commands().back(), QStringLiteral("QUIT"));
}

TEST_F(MailReceive, EveryMailIsSavedThenTakenOffTheServer)
{
    for (int n = 1; n <= 3; ++n)
        putMail(QStringLiteral("m%1").arg(n), mail(n));
    const RcvMailAnswer answer = receive();
    ASSERT_TRUE(answer.isList) << qPrintable(answer.text);
    ASSERT_EQ(answer.list.size(), 3);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(contentOf(answer.list[n - 1]), mail(n));
    EXPECT_TRUE(m_server.maildrop().isEmpty());
    EXPECT_EQ(savedFiles().size(), 3); // no temporary file is left behind
    // Each message is on disk before the server is told to delete it.
    const QStringList commands = m_server.commands();
    EXPECT_LT(commands.indexOf(QStringLiteral("RETR 1")), commands.indexOf(QStringLiteral("DELE 1")));
    EXPECT_LT(commands.indexOf(QStringLiteral("DELE 1")), commands.indexOf(QStringLiteral("RETR 2")));
}

TEST_F(MailReceive, SessionCutOffIsFinishedByTheNextPassWithoutDuplicates)
{
    for (int n = 1; n <= 3; ++n)
        putMail(QStringLiteral("m%1").arg(n), mail(n));
    m_server.setDropAfterRetr(2);
    const RcvMailAnswer cut = receive();
    EXPECT_FALSE(cut.isList);
    EXPECT_TRUE(cut.text.contains(QLatin1String("error"))) << qPrintable(cut.text);
    EXPECT_EQ(savedFiles().size(), 2);
    EXPECT_EQ(m_server.maildrop().size(), 3); // without QUIT the server deletes nothing

    m_server.setDropAfterRetr(0);
    m_server.clearCommands();
    const RcvMailAnswer next = receive();
    ASSERT_TRUE(next.isList) << qPrintable(next.text);
    ASSERT_EQ(next.list.size(), 1);
    EXPECT_EQ(contentOf(next.list[0]), mail(3));
    EXPECT_FALSE(m_server.commands().contains(QStringLiteral("RETR 1")));
    EXPECT_TRUE(m_server.maildrop().isEmpty());
    EXPECT_EQ(savedFiles().size(), 3);
}

TEST_F(MailReceive, AMailboxThatRefusesDeletionsIsStillReadWhole)
{
    for (int n = 1; n <= 3; ++n)
        putMail(QStringLiteral("m%1").arg(n), mail(n));
    m_server.setRefuseDeletions(true);
    const RcvMailAnswer first = receive();
    ASSERT_TRUE(first.isList) << qPrintable(first.text);
    ASSERT_EQ(first.list.size(), 3);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(contentOf(first.list[n - 1]), mail(n));
    EXPECT_TRUE(first.deletionRefusal.contains(QLatin1String("read-only"))) << qPrintable(first.deletionRefusal);
    EXPECT_EQ(m_server.maildrop().size(), 3);

    // The next session fetches nothing again and asks once more for each deletion.
    m_server.clearCommands();
    const RcvMailAnswer again = receive();
    ASSERT_TRUE(again.isList) << qPrintable(again.text);
    EXPECT_TRUE(again.list.isEmpty());
    EXPECT_FALSE(again.deletionRefusal.isEmpty());
    const QStringList commands = m_server.commands();
    EXPECT_FALSE(std::any_of(commands.begin(), commands.end(),
                             [](const QString &c) { return c.startsWith(QLatin1String("RETR")); }));
    EXPECT_EQ(commands.filter(QStringLiteral("DELE")).size(), 3);

    m_server.setRefuseDeletions(false);
    const RcvMailAnswer accepted = receive();
    ASSERT_TRUE(accepted.isList) << qPrintable(accepted.text);
    EXPECT_TRUE(accepted.deletionRefusal.isEmpty());
    EXPECT_TRUE(m_server.maildrop().isEmpty());
    EXPECT_EQ(savedFiles().size(), 3);
}

TEST_F(MailReceive, AMailTooLargeToBeANoticeStaysOnTheServerUnread)
{
    ASSERT_TRUE(m_server.addSparseMessage(QStringLiteral("m0-huge"), mail::kMaxMailBytes + 1));
    putMail(QStringLiteral("m1"), mail(1));
    const RcvMailAnswer answer = receive();
    ASSERT_TRUE(answer.isList) << qPrintable(answer.text);
    ASSERT_EQ(answer.list.size(), 1);
    EXPECT_EQ(contentOf(answer.list[0]), mail(1));
    ASSERT_EQ(answer.oversized.size(), 1);
    EXPECT_EQ(answer.oversized[0].key, mail::uidlFileKey("m0-huge"));
    EXPECT_EQ(answer.oversized[0].size, mail::kMaxMailBytes + 1);
    EXPECT_EQ(m_server.maildrop(), QStringList{QStringLiteral("m0-huge")});
    const QStringList commands = m_server.commands();
    EXPECT_FALSE(commands.contains(QStringLiteral("RETR 1")));
    EXPECT_FALSE(commands.contains(QStringLiteral("DELE 1")));
    EXPECT_EQ(commands.back(), QStringLiteral("QUIT"));
}

TEST_F(MailReceive, RefusedLoginAndUnreachableServerGiveAnErrorText)
{
    putMail(QStringLiteral("m1"), mail(1));
    const RcvMailAnswer wrong = receive(QStringLiteral("wrong"));
    EXPECT_FALSE(wrong.isList);
    EXPECT_TRUE(wrong.text.contains(QLatin1String("error"))) << qPrintable(wrong.text);
    EXPECT_FALSE(wrong.text.contains(QLatin1String("wrong"))); // the password is never shown
    EXPECT_EQ(m_server.maildrop().size(), 1);

    const int port = m_server.port();
    m_server.stop();
    const BaspAnswer unreachable =
        mail::Basp().RcvMail(QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("user"), QStringLiteral("secret"),
                             QStringLiteral("SAVEALLD"), m_folder.path());
    EXPECT_FALSE(unreachable.isList);
    EXPECT_TRUE(unreachable.text.contains(QLatin1String("error"))) << qPrintable(unreachable.text);
    EXPECT_TRUE(savedFiles().isEmpty());
}

TEST_F(MailReceive, LinesStartingWithADotSurvive)
{
    const QByteArray content = "Subject: dots\r\n\r\n.\r\n..two\r\n.one\r\nend\r\n";
    putMail(QStringLiteral("dots"), content);
    const RcvMailAnswer answer = receive();
    ASSERT_TRUE(answer.isList) << qPrintable(answer.text);
    ASSERT_EQ(answer.list.size(), 1);
    EXPECT_EQ(contentOf(answer.list[0]), content);
}

TEST(MailServerAddress, FormsOfTheSetting)
{
    struct Case {
        const char *text;
        const char *host;
        int port;
        bool tls;
    } const cases[] = {
        {"mail.example.jp", "mail.example.jp", 110, false},
        {"mail.example.jp:1110", "mail.example.jp", 1110, false},
        {"pop3://127.0.0.1:11110", "127.0.0.1", 11110, false},
        {"pop3s://mail.example.jp", "mail.example.jp", 995, true},
        {"POP3S://mail.example.jp:9950/", "mail.example.jp", 9950, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const sys::Result<mail::ServerAddress> parsed = mail::parsePop3Server(QString::fromLatin1(c.text));
        ASSERT_TRUE(parsed.ok()) << qPrintable(parsed.problem());
        const mail::ServerAddress &address = parsed.value();
        EXPECT_EQ(address.host, QString::fromLatin1(c.host));
        EXPECT_EQ(address.port, c.port);
        EXPECT_EQ(address.tls, c.tls);
    }
    for (const char *bad : {"", "imap://host", "host:99999", "host name"})
        EXPECT_FALSE(mail::parsePop3Server(QString::fromLatin1(bad)).ok()) << bad;
}
