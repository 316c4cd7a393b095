#include "UpdaterFixture.h"

#include "updater/modWinINET.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QStringList temporaryFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".*.??????")}, QDir::Files | QDir::Hidden);
}

mode_t modeOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

} // namespace

class FtpTest : public UpdaterFixture {
protected:
    bool getFile(const QString &directory, const QString &fileName)
    {
        updater::modWinINET inet;
        inet.inetOpen(QString());
        inet.ftpConnect(serverHost(), QStringLiteral("kdata_pull"), QStringLiteral("52806314"));
        const bool fetched = inet.ftpGetFile(directory, fileName, install());
        inet.inetCloseAll();
        return fetched;
    }
    bool serverReceived(const std::string &command) const
    {
        const std::vector<std::string> commands = m_server->commands();
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    }
};

TEST_F(FtpTest, ChangeDirDropsTheHostName)
{
    startServer();
    updater::modWinINET inet;
    inet.inetOpen(QString());
    ASSERT_TRUE(inet.ftpConnect(serverHost(), QStringLiteral("kdata_pull"), QStringLiteral("52806314")));
    struct Case {
        const char *directory;
        const char *expected;
    };
    const Case cases[] = {
        {"127.0.0.1/pub", "/pub"},
        {"127.0.0.1", "/"},
        {"pub", "pub"},
        {"", "/"},
        {"/pub/nimbra", "/pub/nimbra"},
        {"/mirror/127.0.0.1", "/mirror/127.0.0.1"}, // the name inside the path stays
    };
    for (const Case &c : cases)
        EXPECT_EQ(inet.ftpChangeDir(QString::fromLatin1(c.directory)), QString::fromLatin1(c.expected)) << c.directory;
}

TEST_F(FtpTest, FetchesTheLastPartOfTheNameFromTheServerDirectory)
{
    writeFile(served() + QStringLiteral("/pub/Nimbra"), "in pub");
    writeFile(served() + QStringLiteral("/Nimbra"), "at the root");
    struct Case {
        const char *directory;
        const char *fileName;
        const char *cwd; // the one CWD the server sees
        const char *content;
    };
    const Case cases[] = {
        {"/pub", "a/b/Nimbra", "CWD /pub", "in pub"},
        {"127.0.0.1/pub", "Nimbra", "CWD /pub", "in pub"},
        {"pub", "Nimbra", "CWD pub", "in pub"}, // from the login directory
        {"127.0.0.1", "Nimbra", "CWD /", "at the root"},
        {"/missing", "Nimbra", "CWD /missing", "at the root"}, // then tried in the login directory
    };
    for (const Case &c : cases) {
        startServer();
        QFile::remove(install() + QStringLiteral("/Nimbra"));
        EXPECT_TRUE(getFile(QString::fromLatin1(c.directory), QString::fromLatin1(c.fileName))) << c.directory;
        EXPECT_EQ(readFile(install() + QStringLiteral("/Nimbra")), QByteArray(c.content)) << c.directory;
        EXPECT_TRUE(serverReceived(c.cwd)) << c.directory;
        EXPECT_TRUE(serverReceived("TYPE I")) << "binary";
        EXPECT_FALSE(QFileInfo::exists(install() + QStringLiteral("/a"))) << "stored under the last part";
    }
    EXPECT_TRUE(Messages::texts().isEmpty());
}

TEST_F(FtpTest, ReplacesTheFileOnlyWithAWholeDownload)
{
    const QString target = install() + QStringLiteral("/Nimbra");
    writeFile(served() + QStringLiteral("/pub/Empty"), QByteArray());
    writeFile(served() + QStringLiteral("/pub/Nimbra"), QByteArray(50000, 'n'));
    struct Case {
        const char *name;
        const char *fileName;
        long long cutAfter;
    };
    const Case cases[] = {
        {"no such file", "Missing", -1},
        {"empty file", "Empty", -1},
        {"transfer cut", "Nimbra", 20000},
    };
    for (const Case &c : cases) {
        FakeFtpServer::Options options;
        options.cutAfterBytes = c.cutAfter;
        startServer(options);
        writeFile(install() + u'/' + QString::fromLatin1(c.fileName), "old program");
        Messages::reset();
        EXPECT_FALSE(getFile(QStringLiteral("/pub"), QString::fromLatin1(c.fileName))) << c.name;
        EXPECT_EQ(Messages::texts(), QStringList{QStringLiteral("ファイルの取得に失敗しました。")}) << c.name;
        EXPECT_EQ(readFile(install() + u'/' + QString::fromLatin1(c.fileName)), QByteArray("old program")) << c.name;
        EXPECT_EQ(temporaryFiles(install()), QStringList()) << c.name;
    }

    // A whole download takes the old file's mode plus the execute bits; a new file is 0755.
    startServer();
    writeFile(target, "old program");
    ::chmod(QFile::encodeName(target).constData(), 0640);
    EXPECT_TRUE(getFile(QStringLiteral("/pub"), QStringLiteral("Nimbra")));
    EXPECT_EQ(readFile(target), QByteArray(50000, 'n'));
    EXPECT_EQ(modeOf(target), mode_t(0751));
    QFile::remove(target);
    EXPECT_TRUE(getFile(QStringLiteral("/pub"), QStringLiteral("Nimbra")));
    EXPECT_EQ(modeOf(target), mode_t(0755));
    EXPECT_EQ(temporaryFiles(install()), QStringList());
}

TEST_F(FtpTest, NoConnectionIsReportedWhenTheFileIsAskedFor)
{
    startServer();
    const QString downHost = serverHost();
    m_server->stop();
    FakeFtpServer::Options refusing;
    refusing.refuseLogins = true;
    startServer(refusing);
    struct Case {
        const char *name;
        QString host;
    };
    const Case cases[] = {
        {"server down", downHost},
        {"login refused", serverHost()},
        {"not an ftp address", QStringLiteral("http://127.0.0.1/")},
    };
    for (const Case &c : cases) {
        Messages::reset();
        updater::modWinINET inet;
        inet.inetOpen(QString());
        EXPECT_FALSE(inet.ftpConnect(c.host, QStringLiteral("kdata_pull"), QStringLiteral("52806314"))) << c.name;
        EXPECT_FALSE(inet.ftpGetFile(QStringLiteral("/pub"), QStringLiteral("Nimbra"), install())) << c.name;
        EXPECT_EQ(Messages::texts(), QStringList{QStringLiteral("インターネットに接続できません。")}) << c.name;
    }
}
