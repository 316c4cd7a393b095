#pragma once

#include "platform/sys/Result.h"

#include <QString>

// Creates the program's two databases in `dir` (<exeName>_mst.mdb for prices,
// <exeName>.mdb for work) from the built-in schema and seed rows, each only when its file
// is missing; an existing file is never touched. A database is built under a temporary
// name and renamed into place when complete. A failure names the file and what failed.
sys::Status createMissingDatabases(const QString &dir, const QString &exeName);
