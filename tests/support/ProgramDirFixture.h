#pragma once

#include "platform/settings/SettingsStore.h"
#include "support/TemporaryDirFixture.h"

#include <QString>
#include <QStringList>

class FakeQuoteSite;

// A test that runs the program in a fresh temporary program directory (see
// TemporaryDirFixture) from the program's start state (resetProgramState), with the log
// paths set. Databases are created on request.
class ProgramDirFixture : public TemporaryDirFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the two empty databases (schema + seed rows) in the program directory.
    void createDatabases();
    // Opens gcnDB on the working database with the price database attached.
    void openDatabases();
    // Makes the directory a user's of the started `site`, as a new user has it before the
    // first start: both databases with the site's stocks in the stock master (closed again)
    // and the site file naming the site.
    void layOutForSite(const FakeQuoteSite &site);
    // Stores settings values as a previous run of the program would have left them.
    void storeSettings(const settings::Values &values);

    // The texts of the program log's lines, without their time stamps (see logTexts).
    QStringList logLines() const;
    // The file names of the exit backups in the program directory (<ExeName><d>.mdb).
    QStringList backups() const;
    // Whether the database file at `path` opens and passes SQLite's integrity check.
    static bool isWholeDatabase(const QString &path);
};
