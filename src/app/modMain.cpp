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
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "platform/ui/MsgBox.h"

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

std::unique_ptr<sys::InstanceLock> checkPrevInstance()
{
    auto lock = std::make_unique<sys::InstanceLock>(sys::programInstanceLockPath());
    return lock->acquire() ? std::move(lock) : nullptr;
}

RunningProgram Main()
{
    const QDateTime started = sys::now();

    RunningProgram program;
    program.instanceLock = checkPrevInstance();
    if (!program.instanceLock) {
        ui::msgBox(QStringLiteral("既に起動されています。"), ui::vbOKOnly);
        return {};
    }

    setLogPaths();
    const QString priceDb = priceDatabasePath();
    const QString workDb = workDatabasePath();
    if (!databaseFileExists(priceDb) || !databaseFileExists(workDb))
        return {};

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
    program.mainWindow = std::make_unique<frmMain>(true);
    program.mainWindow->show();
    return program;
}
