#include "core/modRegistry.h"
#include "platform/settings/SettingsStore.h"
#include "support/ProgramDirFixture.h"

#include <QFile>

namespace {

class RegistryTest : public ProgramDirFixture {};

TEST_F(RegistryTest, MissingKeyMissingValueAndRoundTrips)
{
    const QString key = settingsSubKey();
    EXPECT_EQ(key, QStringLiteral("Software\\Pellan\\Nimbra"));
    EXPECT_EQ(regGetString(HKEY_LOCAL_MACHINE, key, QStringLiteral("UserID")), QStringLiteral("(Error Code = 2)"));

    EXPECT_EQ(regSetString(HKEY_LOCAL_MACHINE, key, QStringLiteral("UserID"), QStringLiteral("taro")), 0);
    EXPECT_EQ(regGetString(HKEY_LOCAL_MACHINE, key, QStringLiteral("UserID")), QStringLiteral("taro"));
    EXPECT_EQ(regGetString(HKEY_LOCAL_MACHINE, key, QStringLiteral("Other")), QString());

    // Values of any length and content come back whole.
    const QString awkward = QStringLiteral(" 空白と\\改行\r\n=記号 ") + QString(600, u'x');
    EXPECT_EQ(regSetString(HKEY_LOCAL_MACHINE, key, QStringLiteral("Long"), awkward), 0);
    EXPECT_EQ(regGetString(HKEY_LOCAL_MACHINE, key, QStringLiteral("Long")), awkward);
    EXPECT_EQ(regGetString(HKEY_LOCAL_MACHINE, key, QStringLiteral("UserID")), QStringLiteral("taro"));

    const QString file = settings::fileForKey(HKEY_LOCAL_MACHINE + u'\\' + key);
    EXPECT_EQ(file, dir() + QStringLiteral("/config/Pellan/Nimbra.ini"));
    // Owner-only: the file holds the broker and mailbox passwords.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(file) & others, QFileDevice::Permissions());
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::WriteOwner);
}

TEST_F(RegistryTest, FailedWriteIsReported)
{
    // The settings folder cannot be created: a plain file stands where it should be.
    QFile blocker(dir() + QStringLiteral("/config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_NE(regSetString(HKEY_LOCAL_MACHINE, settingsSubKey(), QStringLiteral("UserID"), QStringLiteral("x")), 0);
}

TEST(VersionNo, PadsEachPart)
{
    EXPECT_EQ(getVersionNo(), QStringLiteral("%1%2%3")
                                  .arg(NIMBRA_VERSION_MAJOR, 2, 10, QChar(u'0'))
                                  .arg(NIMBRA_VERSION_MINOR, 2, 10, QChar(u'0'))
                                  .arg(NIMBRA_VERSION_PATCH, 4, 10, QChar(u'0')));
    EXPECT_EQ(getVersionNo().size(), 8);
}

} // namespace
