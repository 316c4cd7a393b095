#include "core/modGlobal.h"

#include "platform/sys/ProgramDir.h"

QString gstrLogPath;
QString gstrLogFile;
int glngLogFileNo = 0;
db::Connection gcnDB;
std::unique_ptr<mail::Basp> gobjBASP;

QDate gdtFirstKabukaDate = kNoStoredDate;
QDate gdtLastKabukaDate = kNoStoredDate;
QDate gdtLastDailyDate;
QDate gdtUpdateStoppedDate;

QString priceDatabasePath()
{
    return sys::programFile(sys::exeName() + QStringLiteral("_mst.mdb"));
}

QString workDatabasePath()
{
    return sys::programFile(sys::exeName() + QStringLiteral(".mdb"));
}
