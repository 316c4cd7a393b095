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
#include "platform/settings/SettingsStore.h"
#include "platform/sys/Clock.h"
#include "platform/sys/OwnerOnly.h"
#include "platform/sys/ProgramDir.h"
#include "platform/ui/MsgBox.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kRefusedToStart = 1;

RunningProgram refused()
{
    RunningProgram program;
    program.exitCode = kRefusedToStart;
    return program;
}

bool databaseFileExists(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    ui::msgBox(QStringLiteral("ファイル(") + path + QStringLiteral(")は存在しません。"), ui::vbOKOnly);
    return false;
}

} // namespace

namespace {

// The lock at `lockPath`, or the message that tells why it cannot be held.
std::variant<std::unique_ptr<sys::InstanceLock>, QString> takeLock(const QString &lockPath)
{
    auto lock = std::make_unique<sys::InstanceLock>(lockPath);
    switch (lock->acquire()) {
    case sys::InstanceLock::Result::Acquired:
        return lock;
    case sys::InstanceLock::Result::HeldElsewhere:
        return QStringLiteral("既に起動されています。");
    case sys::InstanceLock::Result::Unwritable:
        break;
    }
    return QStringLiteral("フォルダ(") + lock->folder() + QStringLiteral(")に書き込めないため、起動できません。");
}

} // namespace

std::variant<InstanceLocks, QString> checkPrevInstance()
{
    auto programDirectory = takeLock(sys::programInstanceLockPath());
    if (const QString *refusal = std::get_if<QString>(&programDirectory))
        return *refusal;
    // Two program directories can share one settings file, and so one broker account.
    const QString settingsFile = settings::fileForKey(HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey());
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    auto settings = takeLock(settingsFile + QStringLiteral(".lock"));
    if (const QString *refusal = std::get_if<QString>(&settings))
        return *refusal;
    return InstanceLocks{std::move(std::get<0>(programDirectory)), std::move(std::get<0>(settings))};
}

RunningProgram Main()
{
    const QDateTime started = sys::now();
    // The log, the databases, their backups and the saved mails are the user's alone.
    sys::createFilesOwnerOnly();

    RunningProgram program;
    auto locks = checkPrevInstance();
    if (const QString *refusal = std::get_if<QString>(&locks)) {
        ui::msgBox(*refusal, ui::vbOKOnly);
        return refused();
    }
    program.instanceLocks = std::move(std::get<InstanceLocks>(locks));

    setLogPaths();
    const QString priceDb = priceDatabasePath();
    const QString workDb = workDatabasePath();
    if (!databaseFileExists(priceDb) || !databaseFileExists(workDb))
        return refused();

    relinkTables(priceDb, workDb);

    glngLogFileNo = openLog();

    writeLog(glngLogFileNo, QStringLiteral("BASPオブジェクト生成"));
    gobjBASP = std::make_unique<mail::Basp>();

    writeLog(glngLogFileNo, QStringLiteral("起動パラメータ取得"));
    // Settings that cannot be read must not be taken for a first start: the defaults
    // saved below would replace the user's ids and passwords.
    if (const sys::Status settingsRead = checkSettingsReadable(); !settingsRead.ok()) {
        writeLog(glngLogFileNo, settingsRead.problem());
        ui::msgBox(settingsRead.problem(), ui::vbCritical);
        return refused();
    }
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
