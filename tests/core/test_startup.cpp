#include "app/modMain.h"
#include "core/modGlobal.h"
#include "core/modRegistry.h"
#include "platform/ui/ModalDialog.h"
#include "support/LogTexts.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

class StartupTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        storeSettings({{QStringLiteral("UserID"), QStringLiteral("taro")}});
    }
};

TEST_F(StartupTest, SecondInstanceIsRefusedWithoutLogging)
{
    createDatabases();
    const auto running = checkPrevInstance();
    ASSERT_TRUE(running);

    const RunningProgram second = Main();

    EXPECT_FALSE(second.mainWindow);
    EXPECT_EQ(MessageBoxRecorder::instance().texts(), QStringList{QStringLiteral("既に起動されています。")});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Nimbra.log"))));
}

TEST_F(StartupTest, MissingDatabaseIsNamedByItsFullPath)
{
    // No databases at all: the price database is named and the working one not looked at.
    EXPECT_FALSE(Main().mainWindow);
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
    createDatabases();
    {
        db::Connection work;
        work.open(path(QStringLiteral("Nimbra.mdb")));
        work.executeScript(QStringLiteral("create table ttstocks (x integer)"));
    }
    try {
        Main();
        FAIL() << "start-up went on with a shadowing table";
    } catch (const std::runtime_error &e) {
        const QString message = QString::fromStdString(e.what());
        EXPECT_TRUE(message.contains(QStringLiteral("ttstocks"))) << e.what();
    }
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
    const QStringList logged = logTexts(path(QStringLiteral("Nimbra.log")));
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
    }

    {
        const RunningProgram first = Main();
        ASSERT_TRUE(first.mainWindow);
        EXPECT_TRUE(logTexts(path(QStringLiteral("Nimbra.log"))).contains(QStringLiteral("全データ再計算")));
        first.mainWindow->close();
    }
    db::Connection price;
    price.open(path(QStringLiteral("Nimbra_mst.mdb")));
    EXPECT_TRUE(price.columnNames(QStringLiteral("ttstocks")).contains(QStringLiteral("VRB")));
    EXPECT_TRUE(price.columnNames(QStringLiteral("ttstocks")).contains(QStringLiteral("VRA")));
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
    EXPECT_FALSE(logTexts(path(QStringLiteral("Nimbra.log"))).contains(QStringLiteral("日次処理")));
    QApplication::processEvents(); // the queued end of the program is delivered and has no loop to end
}

} // namespace
