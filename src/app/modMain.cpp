#include "app/modMain.h"

#include "core/frmSplash.h"
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistry.h"
#include "core/modRegistryGet.h"
#include "mainwindow/frmMain.h"
#include "marketdata/frmVrCalc.h"
#include "marketdata/modKabukaKikan.h"
#include "sys/Clock.h"
#include "sys/InstanceLock.h"
#include "sys/ProgramDir.h"
#include "ui/MsgBox.h"

#include <QFileInfo>

namespace {

bool databaseFileExists(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    ui::msgBox(QStringLiteral("ファイル(") + path + QStringLiteral(")は存在しません。"), ui::vbOKOnly);
    return false;
}

} // namespace

bool checkPrevInstance()
{
    static sys::InstanceLock lock(sys::programFile(QStringLiteral(".") + sys::exeName() + QStringLiteral(".lock")));
    return lock.acquire();
}

std::unique_ptr<frmMain> Main()
{
    const QDateTime started = sys::now();

    if (!checkPrevInstance()) {
        ui::msgBox(QStringLiteral("既に起動されています。"), ui::vbOKOnly);
        return nullptr;
    }

    setLogPaths();
    const QString priceDb = priceDatabasePath();
    const QString workDb = workDatabasePath();
    if (!databaseFileExists(priceDb) || !databaseFileExists(workDb))
        return nullptr;

    relinkTables(priceDb, workDb);

    glngLogFileNo = openLog();

    writeLog(glngLogFileNo, QStringLiteral("BASPオブジェクト生成"));
    gobjBASP = std::make_unique<Basp>();

    writeLog(glngLogFileNo, QStringLiteral("起動パラメータ取得"));
    getRegistryAll();

    writeLog(glngLogFileNo, QStringLiteral("データベース接続"));
    openWorkDatabase(gcnDB, workDb, priceDb);

    writeLog(glngLogFileNo, QStringLiteral("バージョンセット"));
    setRegistryVersion(getVersionNo());

    writeLog(glngLogFileNo, QStringLiteral("最終更新日取得"));
    getKabukaKikan(kReferenceCode, kReferenceMarket, started.date(), gdtFirstKabukaDate, gdtLastKabukaDate);

    writeLog(glngLogFileNo, QStringLiteral("スプラッシュ起動"));
    frmSplash().exec();

    writeLog(glngLogFileNo, QStringLiteral("レジストリ新設定へ変更"));
    changeRegistryLayout();

    writeLog(glngLogFileNo, QStringLiteral("VRチェック"));
    if (!checkVRColumn()) {
        writeLog(glngLogFileNo, QStringLiteral("全データ再計算"));
        frmVrCalc().exec();
    }

    writeLog(glngLogFileNo, QStringLiteral("メイン画面起動"));
    auto window = std::make_unique<frmMain>();
    window->show();
    return window;
}
