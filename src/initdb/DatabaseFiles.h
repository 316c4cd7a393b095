#pragma once

#include <QString>

// Creates the program's two databases in `dir` (<exeName>_mst.mdb for prices,
// <exeName>.mdb for work) from the built-in schema and seed rows, each only when its file
// is missing; an existing file is never touched. A database is built under a temporary
// name and renamed into place when complete. Returns an empty text or the error.
QString createMissingDatabases(const QString &dir, const QString &exeName);
