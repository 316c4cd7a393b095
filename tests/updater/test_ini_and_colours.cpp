#include "UpdaterFixture.h"

#include "updater/IniFile.h"
#include "updater/Text.h"

#include <QColor>

#include <gtest/gtest.h>

TEST(getIni, ReadsAsTheProfileReaderDoes)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Updater.ini");
    EXPECT_EQ(updater::getIni(path, QStringLiteral("SYSTEM"), QStringLiteral("FILENAME")), QStringLiteral("0"))
        << "no file";

    writeFile(path, QByteArray("; a comment\r\n"
                               "[system]\r\n"
                               "FileName =  Nimbra  \r\n"
                               "EMPTY=\r\n"
                               "BLANKS=   \r\n"
                               "WIDE=\xe3\x80\x80x\r\n"
                               "LONG=") +
                        QByteArray(300, 'a') +
                        "\r\n"
                        "[ FTP ]\n"
                        "SVDIR=/pub\n"
                        "[other]\n"
                        "SVDIR=/elsewhere\n");
    struct Case {
        const char *section;
        const char *key;
        QString expected;
    };
    const Case cases[] = {
        {"SYSTEM", "FILENAME", QStringLiteral("Nimbra")}, // names without regard to case, value trimmed
        {"SYSTEM", "MISSING", QStringLiteral("0")},
        {"SYSTEM", "EMPTY", QStringLiteral(" ")},
        {"SYSTEM", "BLANKS", QStringLiteral(" ")},
        {"SYSTEM", "WIDE", QStringLiteral("\u3000x")}, // only blanks are trimmed
        {"SYSTEM", "LONG", QString(254, u'a')},
        {"FTP", "SVDIR", QStringLiteral("/pub")},
        {"NOSECTION", "SVDIR", QStringLiteral("0")},
        {"FTP", "FILENAME", QStringLiteral("0")}, // a key of another section
    };
    for (const Case &c : cases)
        EXPECT_EQ(updater::getIni(path, QLatin1StringView(c.section), QLatin1StringView(c.key)), c.expected)
            << c.section << "/" << c.key;

    writeFile(path, "\xef\xbb\xbf[SYSTEM]\r\nFILENAME=Nimbra\r\n"); // saved with a byte-order mark
    EXPECT_EQ(updater::getIni(path, QStringLiteral("SYSTEM"), QStringLiteral("FILENAME")), QStringLiteral("Nimbra"));
}

TEST(colorFromBgrText, TurnsBlueFirstNumbersIntoColours)
{
    struct Case {
        const char *text;
        QColor expected;
    };
    const Case cases[] = {
        {"4194304", QColor(0, 0, 64)},      // &H400000
        {"8454143", QColor(255, 255, 128)}, // &H80FFFF
        {"255", QColor(255, 0, 0)},         // &HFF is red
        {" 65280xyz", QColor(0, 255, 0)},   // the leading number counts
        {"254.5", QColor(254, 0, 0)},       // whole number by half to even
        {"0", QColor(0, 0, 0)},             // the missing key's "0"
        {" ", QColor(0, 0, 0)},             // an empty value
        {"blue", QColor(0, 0, 0)},          // no number
        {"-1", QColor(0, 0, 0)},            // out of range
        {"99999999999", QColor(0, 0, 0)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(updater::colorFromBgrText(QString::fromLatin1(c.text)), c.expected) << c.text;
}
