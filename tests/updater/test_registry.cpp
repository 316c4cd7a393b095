#include "UpdaterFixture.h"

#include "updater/modRegistry.h"

#include <gtest/gtest.h>

using RegistryTest = UpdaterFixture;

TEST_F(RegistryTest, ReadsTheSettingsFileOfTheKey)
{
    const QString key = QStringLiteral("Software\\Ravik\\Nimbra");
    EXPECT_EQ(updater::getRegString(key, QStringLiteral("Version")), QStringLiteral("(Error Code = 2)"));

    writeFile(config() + QStringLiteral("/Ravik/Nimbra.ini"), QByteArray("Path=C:\\\\data\\nnext\n"
                                                                         "Version=2.00.0001\n"
                                                                         "Empty=\n"
                                                                         "Fits=") +
                                                                  QByteArray(255, 'v') +
                                                                  "\nTooLong=" + QByteArray(256, 'v') + "\n");
    struct Case {
        const char *name;
        QString expected;
    };
    const Case cases[] = {
        {"Version", QStringLiteral("2.00.0001")},
        {"Path", QStringLiteral("C:\\data\nnext")}, // the escapes of the settings file
        {"Empty", QString()},
        {"Missing", QString()},
        {"Fits", QString(255, u'v')},
        {"TooLong", QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(updater::getRegString(key, QLatin1StringView(c.name)), c.expected) << c.name;

    // The main program's own maker folder is another key.
    EXPECT_EQ(updater::getRegString(QStringLiteral("Software\\Pellan\\Nimbra"), QStringLiteral("Version")),
              QStringLiteral("(Error Code = 2)"));
    // A name that would leave the settings folder names no key.
    EXPECT_EQ(
        updater::getRegString(QStringLiteral("Software\\Ravik\\..\\Ravik\\x/../Nimbra"), QStringLiteral("Version")),
        QStringLiteral("(Error Code = 2)"));
}
