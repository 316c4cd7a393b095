#pragma once

#include "support/FakePop3Server.h"
#include "support/FakeSmtpServer.h"
#include "support/ProgramDirFixture.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// A program directory with its databases and log, the mail component, a loopback mailbox
// that the mailbox settings point at, and a loopback SMTP server named in the site file.
class MailFixture : public ProgramDirFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts a mail into the mailbox under `name`.
    void putMail(const QString &name, const QByteArray &content);
    // Writes the site file: the SMTP server and the [Mail] entries given (key=value lines).
    void writeSiteFile(const QStringList &mailEntries);

    // A received message's decoded text part.
    QString receivedBody(int index) const;

    QTemporaryDir m_box;
    FakePop3Server m_pop3{m_box.path(), QStringLiteral("user"), QStringLiteral("secret")};
    FakeSmtpServer m_smtp;
};
