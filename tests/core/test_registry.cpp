#include "core/SettingsRecords.h"
#include "core/modRegistry.h"
#include "core/modRegistryGet.h"
#include "core/modRegistrySet.h"
#include "platform/settings/SettingsStore.h"
#include "support/ProgramDirFixture.h"
#include "support/SettingsTestSupport.h"

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

TEST_F(RegistryTest, SettingsReadBackUnchangedAfterARestart)
{
    resetSettings();
    const double awkward[] = {0.00001, 0.123456789, -12.5, 1e15, 123456789012345678.0};
    simSL.SLMACDSpanS = awkward[0];
    simSL.SLMACDSpanE = awkward[1];
    simSL.SLRSIS = awkward[2];
    simSL.SLRSIE = awkward[3];
    simSL.SLSMASWariKaiS = awkward[4];
    UserID = QStringLiteral("  taro ");
    ASSERT_TRUE(setRegistryAll());
    EXPECT_EQ(UserID, QStringLiteral("taro")) << "what is used is what is stored";
    EXPECT_EQ(storedSettings().value(QStringLiteral("SLMACDSpanSSim")), QStringLiteral("0.00001"));

    resetSettings();
    ASSERT_TRUE(getRegistryAll());
    const double loaded[] = {simSL.SLMACDSpanS, simSL.SLMACDSpanE, simSL.SLRSIS, simSL.SLRSIE, simSL.SLSMASWariKaiS};
    for (std::size_t i = 0; i < std::size(awkward); ++i)
        EXPECT_EQ(loaded[i], awkward[i]) << i;
    EXPECT_EQ(UserID, QStringLiteral("taro"));
}

TEST_F(RegistryTest, AnUnreadableDateKeepsItsStoredText)
{
    resetSettings();
    ASSERT_TRUE(setRegistryAll());
    settings::Values values = storedSettings();
    values.insert(QStringLiteral("StartDate"), QStringLiteral("2006/13/45"));
    storeSettings(values);
    resetSettings();
    EXPECT_FALSE(getRegistryAll());
    ASSERT_TRUE(setRegistryAll());
    EXPECT_EQ(storedSettings().value(QStringLiteral("StartDate")), QStringLiteral("2006/13/45"));

    sysBS.StartDate = QDateTime(QDate(2007, 1, 5), QTime(0, 0)); // changed by the user
    ASSERT_TRUE(setRegistryAll());
    EXPECT_EQ(storedSettings().value(QStringLiteral("StartDate")), QStringLiteral("2007/01/05"));
}

TEST(VersionNo, PadsEachPart)
{
    // The project's version is 2.0.1 (top-level CMakeLists.txt).
    EXPECT_EQ(getVersionNo(), QStringLiteral("02000001"));
}

} // namespace
