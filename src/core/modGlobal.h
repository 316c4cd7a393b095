#pragma once

#include "platform/db/Connection.h"
#include "platform/mail/Basp.h"

#include <QDate>
#include <QString>

#include <memory>

// Run-time state that start-up creates and the whole program shares.

extern QString gstrLogPath;                  // program directory with one trailing "/"
extern QString gstrLogFile;                  // "<ExeName>.log"
extern int glngLogFileNo;                    // handle of the open log, passed to every writeLog
extern db::Connection gcnDB;                 // the one connection to the working database
extern std::unique_ptr<mail::Basp> gobjBASP; // the one mail component, created at start-up

extern QDate gdtFirstKabukaDate; // oldest stored day of the reference stock
extern QDate gdtLastKabukaDate;  // newest stored day of the reference stock: the processing day
extern QDate gdtLastDailyDate;   // day of the last daily processing
// Day whose daily update was stopped before it completed: no new buys are prepared on it.
extern QDate gdtUpdateStoppedDate;

// The reference stock whose stored days define the processing day.
inline const QString kReferenceCode = QStringLiteral("7203");
inline const QString kReferenceMarket = QStringLiteral("t1");

// "No stored row" in the stored date range.
inline const QDate kNoStoredDate(2000, 1, 1);

// The two database files and the log, named after the executable.
QString priceDatabasePath(); // <dir>/<ExeName>_mst.mdb
QString workDatabasePath();  // <dir>/<ExeName>.mdb
