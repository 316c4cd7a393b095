#include "app/modMain.h"
#include "core/modGlobal.h"
#include "core/modRegistry.h"
#include "platform/sys/Failure.h"
#include "platform/ui/ModalDialog.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include "platform/settings/SettingsStore.h"
#include "platform/sys/Clock.h"
#include "platform/sys/InstanceLock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <any>
#include <functional>
#include <memory>

namespace {

class StartupTest : public ProgramDirFixture {
protected:
    static QString settingsKeyFile() { return settings::fileForKey(HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey()); }

    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        storeSettings({{QStringLiteral("UserID"), QStringLiteral("taro")}});
    }
};

TEST_F(StartupTest, SecondInstanceIsRefusedWithoutLogging)
{
    createDatabases();
    const QString settingsLock =
        settings::fileForKey(HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey()) + QStringLiteral(".lock");
    // A program directory that cannot be written to: it lies under a plain file (file
    // modes would not stop the tests' user when it is root).
    const QString blocked = path(QStringLiteral("file/folder"));
    QFile file(path(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const struct {
        const char *name;
        std::function<std::any()> holdLock; // what another copy holds
        QString refusal;
    } cases[] = {
        {"same program directory",
         [] { return std::any(std::make_shared<decltype(checkPrevInstance())>(checkPrevInstance())); },
         QStringLiteral("既に起動されています。")},
        {"another directory with the same settings",
         [&] {
             auto lock = std::make_shared<sys::InstanceLock>(settingsLock);
             EXPECT_EQ(lock->acquire(), sys::InstanceLock::Result::Acquired);
             return std::any(lock);
         },
         QStringLiteral("既に起動されています。")},
        {"a program directory that cannot be written",
         [&] {
             qputenv("NIMBRA_HOME", blocked.toUtf8());
             return std::any();
         },
         QStringLiteral("フォルダ(%1)に書き込めないため、起動できません。").arg(blocked)},
    };
    for (const auto &c : cases) {
        MessageBoxRecorder::instance().reset();
        {
            const std::any held = c.holdLock();
            const RunningProgram second = Main();
            EXPECT_FALSE(second.mainWindow) << c.name;
            EXPECT_NE(second.exitCode, 0) << c.name;
        }
        EXPECT_EQ(MessageBoxRecorder::instance().texts(), QStringList{c.refusal}) << c.name;
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("Nimbra.log")))) << c.name;
    }
    qputenv("NIMBRA_HOME", dir().toUtf8());
    EXPECT_TRUE(std::holds_alternative<InstanceLocks>(checkPrevInstance())) << "both locks are free again";
}

TEST_F(StartupTest, MissingDatabaseIsNamedByItsFullPath)
{
    // No databases at all: the price database is named and the working one not looked at.
    const RunningProgram refused = Main();
    EXPECT_FALSE(refused.mainWindow);
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_EQ(MessageBoxRecorder::instance().texts(),
              QStringList{QStringLiteral("ファイル(%1)は存在しません。").arg(path(QStringLiteral("Nimbra_mst.mdb")))});

    // Only the working database missing.
    createDatabases();
    QFile::remove(path(QStringLiteral("Nimbra.mdb")));
    MessageBoxRecorder::instance().reset();
    EXPECT_FALSE(Main().mainWindow);
    EXPECT_EQ(MessageBoxRecorder::instance().texts(),
              QStringList{QStringLiteral("ファイル(%1)は存在しません。").arg(path(QStringLiteral("Nimbra.mdb")))});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Nimbra.log"))));
}

TEST_F(StartupTest, LocalTableUnderAPriceTableNameStopsStartUp)
{
    const struct {
        const char *shadow;
        const char *named;
    } cases[] = {
        {"create table ttstocks (x integer)", "ttstocks"},
        {"create table TTSTOCKS (x integer)", "ttstocks"},
        {"create view tmbond as select 1 as x", "tmbond"},
        {"create view TmMarket as select 1 as x", "tmmarket"},
    };
    for (const auto &c : cases) {
        QFile::remove(path(QStringLiteral("Nimbra.mdb")));
        createDatabases();
        {
            db::Connection work;
            work.open(path(QStringLiteral("Nimbra.mdb")));
            work.executeScript(QString::fromLatin1(c.shadow));
        }
        try {
            Main();
            ADD_FAILURE() << "start-up went on with " << c.shadow;
        } catch (const sys::Failure &e) {
            const QString message = QString::fromStdString(e.what());
            EXPECT_TRUE(message.contains(QString::fromLatin1(c.named))) << e.what();
        }
    }
}

TEST_F(StartupTest, UnreadableSettingsFileStopsStartUpAndIsKept)
{
    createDatabases();
    // A folder where the settings file should be: it exists, and cannot be read.
    const QString settingsFile = settingsKeyFile();
    QFile::remove(settingsFile);
    ASSERT_TRUE(QDir().mkpath(settingsFile));

    const RunningProgram program = Main();

    EXPECT_FALSE(program.mainWindow);
    EXPECT_NE(program.exitCode, 0);
    const QStringList texts = MessageBoxRecorder::instance().texts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts.first().contains(settingsFile)) << texts.first().toStdString();
    EXPECT_TRUE(logLines().contains(texts.first()));
    EXPECT_TRUE(QFileInfo(settingsFile).isDir()) << "the settings were replaced";
}

TEST_F(StartupTest, FullStartLogsEveryStepAndLinksThePriceTables)
{
    createDatabases();
    {
        db::Connection price;
        price.open(path(QStringLiteral("Nimbra_mst.mdb")));
        price.executeScript(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付) values ('7203', 't1', "
                                           "'2026-12-08'), ('7203', 't1', '2026-11-02')"));
    }

    const RunningProgram program = Main();

    ASSERT_TRUE(program.mainWindow);
    EXPECT_TRUE(program.mainWindow->isVisible());
    const QStringList expected{
        QStringLiteral("BASPオブジェクト生成"),   QStringLiteral("起動パラメータ取得"),
        QStringLiteral("データベース接続"),       QStringLiteral("バージョンセット"),
        QStringLiteral("最終更新日取得"),         QStringLiteral("スプラッシュ起動"),
        QStringLiteral("レジストリ新設定へ変更"), QStringLiteral("VRチェック"),
        QStringLiteral("メイン画面起動"),
    };
    const QStringList logged = logLines();
    ASSERT_GE(logged.size(), expected.size());
    EXPECT_EQ(logged.mid(0, expected.size()), expected);
    EXPECT_FALSE(logged.contains(QStringLiteral("全データ再計算")));

    // The four price tables are reached through the working database by their plain names.
    for (const QString &table : {QStringLiteral("tmbond"), QStringLiteral("tmmarket"), QStringLiteral("ttstocks"),
                                 QStringLiteral("tttimestocks")}) {
        EXPECT_NO_THROW(gcnDB.prepare(QStringLiteral("select count(*) from ") + table).step()) << table.toStdString();
    }
    EXPECT_EQ(gdtLastKabukaDate, QDate(2026, 12, 8));
    EXPECT_EQ(gdtFirstKabukaDate, QDate(2026, 11, 2));
    EXPECT_EQ(regGetString(HKEY_LOCAL_MACHINE, settingsSubKey(), QStringLiteral("Version")), getVersionNo());
}

TEST_F(StartupTest, MissingVolumeRatioColumnsAreAddedAndRecalculatedOnce)
{
    createDatabases();
    {
        db::Connection price;
        price.open(path(QStringLiteral("Nimbra_mst.mdb")));
        price.executeScript(QStringLiteral("alter table ttstocks drop column VRB"));
        price.executeScript(QStringLiteral(
            "insert into ttstocks (銘柄コード, 市場コード, 日付, 調整終値, 出来高) values ('7203', 't1', '2026-12-07',"
            " 100, 1000), ('7203', 't1', '2026-12-08', 102, 2000), ('7203', 't1', '2026-12-09', 101, 1500)"));
    }
    const auto recalculationsLogged = [&] { return logLines().count(QStringLiteral("全データ再計算")); };
    const auto rowsUpdatedAt = [&](const char *stamp) {
        db::Connection price;
        price.open(path(QStringLiteral("Nimbra_mst.mdb")));
        db::Statement rows = price.prepare(QStringLiteral("select count(*) from ttstocks where 更新日付 = ?"));
        rows.bind(1, QString::fromLatin1(stamp));
        return rows.step() ? rows.int64(0) : -1;
    };

    sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(8, 0)));
    {
        const RunningProgram first = Main();
        ASSERT_TRUE(first.mainWindow);
        first.mainWindow->close();
    }
    EXPECT_EQ(recalculationsLogged(), 1);
    EXPECT_EQ(rowsUpdatedAt("2026-12-10 08:00:00"), 3) << "the recalculation window ran over every row";
    {
        db::Connection price;
        price.open(path(QStringLiteral("Nimbra_mst.mdb")));
        EXPECT_TRUE(price.columnNames(QStringLiteral("ttstocks")).contains(QStringLiteral("VRB")));
        EXPECT_TRUE(price.columnNames(QStringLiteral("ttstocks")).contains(QStringLiteral("VRA")));
    }

    sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    {
        const RunningProgram second = Main();
        ASSERT_TRUE(second.mainWindow);
        second.mainWindow->close();
    }
    EXPECT_EQ(recalculationsLogged(), 1) << "the columns are there now";
    EXPECT_EQ(rowsUpdatedAt("2026-12-10 08:00:00"), 3);
}

TEST_F(StartupTest, DecliningTheTermsEndsBeforeTheDailyUpdate)
{
    storeSettings({{QStringLiteral("UserID"), QString()}});
    createDatabases();
    bool declined = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog->objectName() == QStringLiteral("frmDouisyo")) {
            dialog->findChild<QAbstractButton *>(QStringLiteral("cmdCancel"))->click();
            declined = true;
        }
    });
    answer.start(50);
    // The window itself is shown here, and answered by its button.
    ui::setModalHook([](QDialog &dialog) { return dialog.exec(); });

    const RunningProgram program = Main();
    answer.stop();
    ui::setModalHook([](QDialog &) { return int(QDialog::Rejected); });

    EXPECT_TRUE(declined);
    EXPECT_FALSE(logLines().contains(QStringLiteral("日次処理")));
    QApplication::processEvents(); // the queued end of the program is delivered and has no loop to end
}

} // namespace
