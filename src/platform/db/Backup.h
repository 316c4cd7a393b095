#pragma once

#include <QString>

namespace db {

class Connection;

// Copies the main database of `source` into the file `targetPath` with SQLite's online
// backup, which sees every write the connection has committed, also one that still sits
// in its journal. The copy is built in a temporary file beside the target and replaces
// the old target only when complete, so a failed backup leaves the previous one intact.
// Throws db::Error.
void backupDatabase(Connection &source, const QString &targetPath);

} // namespace db
