#pragma once

#include "platform/settings/SettingsStore.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A test that runs the program in a fresh temporary program directory: NIMBRA_HOME and
// XDG_CONFIG_HOME point into it, the executable name is "Nimbra", message boxes are
// recorded, and the clock is set to `now` (when valid). Databases are created on request.
class ProgramDirFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the two empty databases (schema + seed rows) in the program directory.
    void createDatabases();
    // Opens gcnDB on the working database with the price database attached.
    void openDatabases();
    // Stores settings values as a previous run of the program would have left them.
    void storeSettings(const settings::Values &values);

    QString path(const QString &fileName) const;
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
