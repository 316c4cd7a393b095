#include "support/ProgramDirFixture.h"

#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistry.h"
#include "initdb/DatabaseFiles.h"
#include "platform/db/Connection.h"
#include "platform/db/Statement.h"
#include "support/FakeMaster.h"
#include "support/FakeQuoteSite.h"
#include "support/LogTexts.h"
#include "support/ProgramState.h"

#include <QDir>

void ProgramDirFixture::SetUp()
{
    TemporaryDirFixture::SetUp();
    resetProgramState();
    setLogPaths();
}

void ProgramDirFixture::TearDown()
{
    resetProgramState();
    TemporaryDirFixture::TearDown();
}

void ProgramDirFixture::createDatabases()
{
    const sys::Status created = createMissingDatabases(dir(), QStringLiteral("Nimbra"));
    ASSERT_TRUE(created.ok()) << created.problem().toStdString();
}

void ProgramDirFixture::openDatabases()
{
    openWorkDatabase(gcnDB, workDatabasePath(), priceDatabasePath());
}

void ProgramDirFixture::layOutForSite(const FakeQuoteSite &site)
{
    createDatabases();
    site.writeSiteFile(dir());
    openDatabases();
    storeFakeMaster(site.market());
    gcnDB.close();
}

void ProgramDirFixture::storeSettings(const settings::Values &values)
{
    ASSERT_TRUE(settings::writeValues(HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey(), values).ok());
}

QStringList ProgramDirFixture::logLines() const
{
    return logTexts(path(QStringLiteral("Nimbra.log")));
}

QStringList ProgramDirFixture::backups() const
{
    return QDir(dir()).entryList({QStringLiteral("Nimbra[1-7].mdb")}, QDir::Files);
}

bool ProgramDirFixture::isWholeDatabase(const QString &path)
{
    db::Connection connection;
    connection.open(path);
    db::Statement check = connection.prepare(QStringLiteral("pragma integrity_check"));
    return check.step() && check.text(0) == QStringLiteral("ok");
}
