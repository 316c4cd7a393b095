#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A test in a fresh temporary directory that stands for the program directory: NIMBRA_HOME
// and XDG_CONFIG_HOME point into it, the executable name is "Nimbra", the clock runs free
// and message boxes are recorded from empty. Needs nothing above the platform libraries.
class TemporaryDirFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString &fileName) const;
    // Writes a file of the directory with the given bytes and returns its path.
    QString writeFile(const QString &fileName, const QByteArray &content) const;
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
