#include "platform/mail/Basp.h"
#include "platform/mail/MailRead.h"
#include "support/FakeSmtpServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class MailSend : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_server.start();
    }

    QString send(const QString &to, const QString &from, const QString &subject, const QString &body,
                 const QString &attachments = {})
    {
        return mail::Basp().SendMail(m_server.url(), to, from, subject, body, attachments);
    }

    // The header block of the only message received.
    QList<QByteArray> receivedHeaderLines() const
    {
        const QByteArray data = m_server.messages().value(0).data;
        return data.left(data.indexOf("\r\n\r\n")).split('\n');
    }

    QString writeFile(const QString &name, const QByteArray &content) const
    {
        const QString path = QDir(m_dir.path()).filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return path;
    }

    QString saveReceived() const
    {
        return writeFile(QStringLiteral("received.eml"), m_server.messages().value(0).data);
    }

    QTemporaryDir m_dir;
    FakeSmtpServer m_server;
};

} // namespace

TEST_F(MailSend, MessageArrivesWithEnvelopeAndDecodesBack)
{
    const QString body = QStringLiteral("約定通知\r\n\r\n.\r\n予約番号：12\r\n");
    ASSERT_EQ(send(QStringLiteral("user@example.com"), QStringLiteral("Nimbra <robot@example.com>"),
                   QStringLiteral("約定通知"), body),
              QString());
    ASSERT_EQ(m_server.messages().size(), 1);
    const FakeSmtpServer::Message message = m_server.messages()[0];
    EXPECT_EQ(message.from, QStringLiteral("robot@example.com"));
    EXPECT_EQ(message.to, QStringList{QStringLiteral("user@example.com")});

    const sys::Result<mail::MailContent> read =
        mail::readMailFile(saveReceived(), {QStringLiteral("subject"), QStringLiteral("from"), QStringLiteral("date"),
                                            QStringLiteral("message-id")});
    ASSERT_TRUE(read.ok()) << qPrintable(read.problem());
    const mail::MailContent &content = read.value();
    EXPECT_EQ(content.headers[0], QStringLiteral("約定通知"));
    EXPECT_EQ(content.headers[1], QStringLiteral("Nimbra <robot@example.com>"));
    EXPECT_FALSE(content.headers[2].isEmpty());
    EXPECT_FALSE(content.headers[3].isEmpty());
    EXPECT_EQ(content.body, body);
}

TEST_F(MailSend, AsciiBodyLineWithADotArrivesIntact)
{
    ASSERT_EQ(send(QStringLiteral("user@example.com"), QStringLiteral("robot@example.com"), QStringLiteral("log"),
                   QStringLiteral("first\r\n.\r\n..two\r\nlast\r\n")),
              QString());
    const sys::Result<mail::MailContent> read = mail::readMailFile(saveReceived(), {});
    EXPECT_EQ(read.valueOr({}).body, QStringLiteral("first\r\n.\r\n..two\r\nlast\r\n"));
}

TEST_F(MailSend, LineBreaksInHeaderValuesAddNoHeader)
{
    ASSERT_EQ(send(QStringLiteral("user@example.com"),
                   QStringLiteral("Nimbra\r\nBcc: evil@example.com <robot@example.com>"),
                   QStringLiteral("subject\r\nBcc: evil@example.com\nX-Injected: 1"), QStringLiteral("body")),
              QString());
    for (const QByteArray &line : receivedHeaderLines()) {
        EXPECT_FALSE(line.toLower().startsWith("bcc")) << line.constData();
        EXPECT_FALSE(line.toLower().startsWith("x-injected")) << line.constData();
    }
    EXPECT_EQ(m_server.messages()[0].to, QStringList{QStringLiteral("user@example.com")});
}

TEST_F(MailSend, AddressesMustBePlainSingleAddresses)
{
    for (const char *to : {"user@example.com\r\nRCPT TO:<evil@example.com>", "a@example.com, b@example.com", "",
                           "<user@example.com>", "no-at-sign"}) {
        SCOPED_TRACE(to);
        const QString answer = send(QString::fromLatin1(to), QStringLiteral("robot@example.com"), QStringLiteral("s"),
                                    QStringLiteral("b"));
        EXPECT_TRUE(answer.contains(QLatin1String("error"))) << qPrintable(answer);
    }
    EXPECT_TRUE(m_server.messages().isEmpty());
    EXPECT_FALSE(m_server.commands().join(u'\n').contains(QLatin1String("evil")));
}

TEST_F(MailSend, AttachmentsArriveWithTheirNames)
{
    const QString log = writeFile(QStringLiteral("Nimbra.log"), "2026/01/05 09:00:00,起動\r\n");
    const QString weekday = writeFile(QStringLiteral("Nimbra3.log"), "old\r\n");
    ASSERT_EQ(send(QStringLiteral("support@example.com"), QStringLiteral("Nimbra <robot@example.com>"),
                   QStringLiteral("ログファイル送信"), QStringLiteral("body"), log + u'\t' + weekday),
              QString());
    const QByteArray data = m_server.messages().value(0).data;
    EXPECT_TRUE(data.contains("multipart/mixed"));
    EXPECT_TRUE(data.contains("filename=Nimbra.log") || data.contains("filename=\"Nimbra.log\""));
    EXPECT_TRUE(data.contains("filename=Nimbra3.log") || data.contains("filename=\"Nimbra3.log\""));
    EXPECT_TRUE(data.contains(QByteArray("2026/01/05 09:00:00,起動\r\n").toBase64()));

    const QString missing = send(QStringLiteral("support@example.com"), QStringLiteral("robot@example.com"),
                                 QStringLiteral("s"), QStringLiteral("b"), m_dir.path() + QStringLiteral("/none.log"));
    EXPECT_TRUE(missing.contains(QLatin1String("error"))) << qPrintable(missing);
}

TEST_F(MailSend, RefusalsAndDropsGiveAnErrorText)
{
    const auto attempt = [&] {
        return send(QStringLiteral("user@example.com"), QStringLiteral("robot@example.com"), QStringLiteral("s"),
                    QStringLiteral("b"));
    };
    m_server.setRefuseRcpt(true);
    EXPECT_TRUE(attempt().contains(QLatin1String("error")));
    m_server.setRefuseRcpt(false);
    m_server.setRefuseData(true);
    EXPECT_TRUE(attempt().contains(QLatin1String("error")));
    m_server.setRefuseData(false);
    m_server.setDropAfterMail(true);
    EXPECT_TRUE(attempt().contains(QLatin1String("error")));
    EXPECT_TRUE(m_server.messages().isEmpty());
}
