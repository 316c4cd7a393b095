#include "support/ProgramDirFixture.h"

#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistry.h"
#include "initdb/DatabaseFiles.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "support/MessageBoxRecorder.h"

void ProgramDirFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    qputenv("NIMBRA_HOME", m_dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/config")).toUtf8());
    sys::setExeName(QStringLiteral("Nimbra"));
    sys::setNow(std::nullopt);
    MessageBoxRecorder::instance().reset();
    setLogPaths();
}

void ProgramDirFixture::TearDown()
{
    gcnDB.close();
    closeLog(glngLogFileNo);
    glngLogFileNo = 0;
    sys::setNow(std::nullopt);
    qunsetenv("NIMBRA_HOME");
}

void ProgramDirFixture::createDatabases()
{
    ASSERT_EQ(createMissingDatabases(m_dir.path(), QStringLiteral("Nimbra")), QString());
}

void ProgramDirFixture::openDatabases()
{
    openWorkDatabase(gcnDB, workDatabasePath(), priceDatabasePath());
}

QString ProgramDirFixture::path(const QString &fileName) const
{
    return m_dir.path() + u'/' + fileName;
}

void ProgramDirFixture::storeSettings(const settings::Values &values)
{
    ASSERT_EQ(settings::writeValues(HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey(), values), 0);
}
