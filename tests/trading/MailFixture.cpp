#include "trading/MailFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/mail/MailRead.h"

#include <QDir>
#include <QFile>

void MailFixture::SetUp()
{
    ProgramDirFixture::SetUp();
    ASSERT_TRUE(m_box.isValid());
    createDatabases();
    openDatabases();
    glngLogFileNo = openLog();
    gobjBASP = std::make_unique<mail::Basp>();
    m_pop3.start();
    m_smtp.start();
    POP3Server = m_pop3.address();
    POPUserID = QStringLiteral("user");
    POPPassword = QStringLiteral("secret");
    writeSiteFile(
        {QStringLiteral("SenderAddress=robot@example.com"), QStringLiteral("SupportAddress=support@example.com")});
}

void MailFixture::TearDown()
{
    m_pop3.stop();
    m_smtp.stop();
    ProgramDirFixture::TearDown();
}

void MailFixture::putMail(const QString &name, const QByteArray &content)
{
    QFile file(QDir(m_box.path()).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void MailFixture::writeSiteFile(const QStringList &mailEntries)
{
    QFile site(path(QStringLiteral("Nimbra_site.ini")));
    ASSERT_TRUE(site.open(QIODevice::WriteOnly | QIODevice::Truncate));
    site.write(QStringLiteral("[Hosts]\nSmtp=%1\n[Mail]\n%2\n").arg(m_smtp.url(), mailEntries.join(u'\n')).toUtf8());
}

QString MailFixture::receivedBody(int index) const
{
    const QString file = path(QStringLiteral("received.eml"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    out.write(m_smtp.messages().value(index).data);
    out.close();
    return mail::readMailFile(file, {}).valueOr({}).body;
}
