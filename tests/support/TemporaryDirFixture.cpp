#include "support/TemporaryDirFixture.h"

#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "support/MessageBoxRecorder.h"

#include <QFile>

void TemporaryDirFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    qputenv("NIMBRA_HOME", m_dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/config")).toUtf8());
    sys::setExeName(QStringLiteral("Nimbra"));
    sys::setNow(std::nullopt);
    MessageBoxRecorder::instance().reset();
}

void TemporaryDirFixture::TearDown()
{
    sys::setNow(std::nullopt);
    qunsetenv("NIMBRA_HOME");
}

QString TemporaryDirFixture::path(const QString &fileName) const
{
    return m_dir.path() + u'/' + fileName;
}

QString TemporaryDirFixture::writeFile(const QString &fileName, const QByteArray &content) const
{
    const QString filePath = path(fileName);
    QFile file(filePath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << filePath.toStdString();
    file.write(content);
    return filePath;
}
