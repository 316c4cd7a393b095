#include "UpdaterFixture.h"

#include "updater/frmUpdater.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString caption(const QWidget &form, const char *name)
{
    const auto *label = form.findChild<QLabel *>(QLatin1StringView(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1StringView(name));
}

} // namespace

class WindowTest : public UpdaterFixture {
protected:
    void SetUp() override
    {
        UpdaterFixture::SetUp();
        m_target = QDir(install()).canonicalPath() + QStringLiteral("/Nimbra");
        m_other = QDir(elsewhere()).canonicalPath() + QStringLiteral("/Nimbra");
        writeFile(served() + QStringLiteral("/pub/Nimbra"), release());
    }

    // Shows the window and waits until it has closed itself.
    void runToClose(updater::frmUpdater &form)
    {
        ASSERT_TRUE(form.Form_Load());
        form.show();
        ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }, 30000)) << "the window stays open";
    }

    // The old program is running again: a new process of the target that still holds the
    // old bytes.
    void expectOldProgramRestarted(pid_t old, const char *name)
    {
        EXPECT_FALSE(isRunning(old)) << name;
        ASSERT_TRUE(waitUntil([&] { return startsAt(m_target).size() == 2; })) << name << ": not started again";
        EXPECT_TRUE(isRunning(startsAt(m_target).last())) << name;
        EXPECT_EQ(readFile(m_target), helperBytes()) << name;
    }

    QString m_target;
    QString m_other;
};

TEST_F(WindowTest, ReplacesTheRunningProgramAndStartsTheNewOne)
{
    startServer();
    writeStandardSettings();
    const pid_t old = startProgramAt(m_target);
    const pid_t otherInstall = startProgramAt(m_other);
    ASSERT_NE(old, 0);

    updater::frmUpdater form(install(), QStringLiteral("Updater"));
    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(caption(form, "lblVarCur"), QStringLiteral("2.00.0001"));
    EXPECT_EQ(caption(form, "lblVarNew"), QString());
    EXPECT_EQ(
        caption(form, "lblVar"),
        QStringLiteral("V%1.%2.%3").arg(NIMBRA_VERSION_MAJOR).arg(NIMBRA_VERSION_MINOR).arg(NIMBRA_VERSION_PATCH));
    EXPECT_EQ(caption(form, "lblTitle"), QStringLiteral("System Updater"));
    form.show();
    ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }, 30000));

    EXPECT_TRUE(Messages::texts().isEmpty()) << Messages::texts().join(u'|').toStdString();
    EXPECT_FALSE(isRunning(old));
    EXPECT_TRUE(isRunning(otherInstall)) << "a same-named program elsewhere is left alone";
    EXPECT_EQ(readFile(m_target), release());
    EXPECT_TRUE(QFileInfo(m_target).permissions() & QFile::ExeOwner);
    ASSERT_TRUE(waitUntil([&] { return startsAt(m_target).size() == 2; })) << "the new program was not started";
    const pid_t started = startsAt(m_target).last();
    EXPECT_TRUE(isRunning(started));
    EXPECT_EQ(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(started)), m_target);
    EXPECT_EQ(readFile(m_other), helperBytes());
}

TEST_F(WindowTest, AFailedDownloadKeepsAndRestartsTheOldProgram)
{
    struct Case {
        const char *name;
        bool serverDown;
        bool refuseLogins;
        const char *servedName;
        long long cutAfter;
        const char *message;
    };
    const Case cases[] = {
        {.name = "server down",
         .serverDown = true,
         .refuseLogins = false,
         .servedName = "Nimbra",
         .cutAfter = -1,
         .message = "インターネットに接続できません。"},
        {.name = "login refused",
         .serverDown = false,
         .refuseLogins = true,
         .servedName = "Nimbra",
         .cutAfter = -1,
         .message = "インターネットに接続できません。"},
        {.name = "no such file",
         .serverDown = false,
         .refuseLogins = false,
         .servedName = "Other",
         .cutAfter = -1,
         .message = "ファイルの取得に失敗しました。"},
        {.name = "transfer cut",
         .serverDown = false,
         .refuseLogins = false,
         .servedName = "Nimbra",
         .cutAfter = 4096,
         .message = "ファイルの取得に失敗しました。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(served()).removeRecursively();
        writeFile(served() + QStringLiteral("/pub/") + QLatin1StringView(c.servedName), release());
        FakeFtpServer::Options options;
        options.refuseLogins = c.refuseLogins;
        options.cutAfterBytes = c.cutAfter;
        startServer(options);
        writeStandardSettings();
        if (c.serverDown)
            m_server->stop();
        const pid_t old = startProgramAt(m_target);
        Messages::reset();

        updater::frmUpdater form(install(), QStringLiteral("Updater"));
        runToClose(form);
        EXPECT_EQ(Messages::texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(QDir(install()).entryList({QStringLiteral(".Nimbra.*")}, QDir::Files | QDir::Hidden), QStringList())
            << "a temporary file was left";
        expectOldProgramRestarted(old, c.name);
        endProgramsAt(m_target);
    }
}

TEST_F(WindowTest, RefusesToUpdateWithoutFileNameOrServer)
{
    startServer();
    struct Case {
        const char *name;
        QStringList ini;
        bool siteFile;
        const char *message;
    };
    const Case cases[] = {
        {"FILENAME missing", {QStringLiteral("FTP/SVDIR=/pub")}, true, "更新するファイル名が設定されていません。"},
        {"FILENAME blank",
         {QStringLiteral("SYSTEM/FILENAME=   "), QStringLiteral("FTP/SVDIR=/pub")},
         true,
         "更新するファイル名が設定されていません。"},
        {"FILENAME a folder",
         {QStringLiteral("SYSTEM/FILENAME=bin/"), QStringLiteral("FTP/SVDIR=/pub")},
         true,
         "更新するファイル名が設定されていません。"},
        {"no host",
         {QStringLiteral("SYSTEM/FILENAME=Nimbra"), QStringLiteral("FTP/SVDIR=/pub")},
         false,
         "更新サーバが設定されていません。"},
    };
    const pid_t old = startProgramAt(m_target);
    // A program named "0" would have matched a missing FILENAME.
    const pid_t zero = startProgramAt(QDir(install()).canonicalPath() + QStringLiteral("/0"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeUpdaterIni(c.ini);
        QFile::remove(install() + QStringLiteral("/Updater_site.ini"));
        if (c.siteFile)
            writeSiteFile(serverHost());
        Messages::reset();

        updater::frmUpdater form(install(), QStringLiteral("Updater"));
        runToClose(form);
        EXPECT_EQ(Messages::texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_TRUE(isRunning(old));
        EXPECT_TRUE(isRunning(zero));
        EXPECT_EQ(readFile(m_target), helperBytes());
        EXPECT_TRUE(m_server->commands().empty()) << "the server was asked";
    }
    EXPECT_EQ(startsAt(m_target).size(), 1);
}

TEST_F(WindowTest, UpdatesWhenTheInstalledVersionDiffersFromTheNewest)
{
    struct Case {
        const char *name;
        bool settingsFile;
        const char *version; // nullptr: the value is absent
        bool updates;
        const char *shownVersion;
    };
    const Case cases[] = {
        {.name = "a version",
         .settingsFile = true,
         .version = "2.00.0001",
         .updates = true,
         .shownVersion = "2.00.0001"},
        {.name = "value absent", .settingsFile = true, .version = nullptr, .updates = false, .shownVersion = ""},
        {.name = "value empty", .settingsFile = true, .version = "", .updates = false, .shownVersion = ""},
        {.name = "no settings file",
         .settingsFile = false,
         .version = nullptr,
         .updates = true,
         .shownVersion = ""}, // the error text differs from ""
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        startServer(); // afresh, so its command record is this case's
        writeStandardSettings();
        QDir(config()).removeRecursively();
        if (c.settingsFile)
            writeInstalledVersion(QStringLiteral("Nimbra"), c.version);
        writeFile(m_target, "old program");

        updater::frmUpdater form(install(), QStringLiteral("Updater"));
        ASSERT_TRUE(form.Form_Load());
        EXPECT_EQ(caption(form, "lblVarCur"), QString::fromUtf8(c.shownVersion));
        form.show();
        if (c.updates) {
            EXPECT_TRUE(waitUntil([&] { return !form.isVisible(); }));
            EXPECT_EQ(readFile(m_target), release());
            EXPECT_TRUE(waitUntil([&] { return startsAt(m_target).size() == 1; })) << "the new program did not start";
        } else {
            EXPECT_TRUE(waitUntil(
                [&] { return caption(form, "lblMsg") == QStringLiteral("アップデート情報を受信しています。"); }));
            waitUntil([] { return false; }, 300);
            EXPECT_TRUE(form.isVisible()) << "the window waits for the user";
            EXPECT_EQ(caption(form, "lblMsg"), QStringLiteral("アップデート情報を受信しています。"));
            EXPECT_EQ(readFile(m_target), QByteArray("old program"));
            EXPECT_TRUE(m_server->commands().empty());
            form.close();
        }
        endProgramsAt(m_target);
    }
}

TEST_F(WindowTest, IgnoresTheCloseBoxWhileUpdating)
{
    startServer();
    writeStandardSettings();
    // A program that takes its time to end keeps the update busy meanwhile.
    const pid_t old = startProgramAt(m_target, OnTerm::EndsLate);

    updater::frmUpdater form(install(), QStringLiteral("Updater"));
    ASSERT_TRUE(form.Form_Load());
    bool blinking = false;
    QTimer::singleShot(1000, &form, [&] {
        blinking = form.findChild<QTimer *>(QStringLiteral("timBlink"))->isActive();
        form.close();
    });
    form.show();
    ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }, 30000));
    EXPECT_TRUE(blinking);
    EXPECT_FALSE(isRunning(old));
    EXPECT_EQ(readFile(m_target), release()) << "the close box cut the update";
    EXPECT_TRUE(waitUntil([&] { return startsAt(m_target).size() == 2; }));
}

TEST_F(WindowTest, ASecondUpdaterInTheFolderIsRefused)
{
    writeStandardSettings();
    updater::frmUpdater first(install(), QStringLiteral("Updater"));
    ASSERT_TRUE(first.Form_Load());
    updater::frmUpdater second(install(), QStringLiteral("Updater"));
    EXPECT_FALSE(second.Form_Load());
    EXPECT_EQ(Messages::texts(), QStringList{QStringLiteral("既に起動されています。")});
}
