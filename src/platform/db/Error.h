#pragma once

#include "platform/sys/Failure.h"

namespace db {

// A failed database operation. Its message names the file and what failed in Japanese,
// with SQLite's own text after it (see failureMessage).
class Error : public sys::Failure {
public:
    using sys::Failure::Failure;
};

// What failed where, for the user and the log alike, e.g.
// "データベース(/home/u/Nimbra.mdb)に書き込めませんでした。(database or disk is full)".
// `whatFailed` follows the name: "を開けませんでした", "を読み込めませんでした", ...
inline QString failureMessage(const QString &file, const QString &whatFailed, const QString &sqliteText)
{
    return QStringLiteral("データベース(%1)%2。(%3)").arg(file, whatFailed, sqliteText);
}

} // namespace db
