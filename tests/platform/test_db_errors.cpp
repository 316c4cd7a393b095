#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "support/TemporaryDirFixture.h"

#include <functional>

namespace {

class DbErrorTest : public TemporaryDirFixture {};

// Every failure names the file and what failed in Japanese, with SQLite's text after it,
// and shows no SQL.
TEST_F(DbErrorTest, MessagesNameTheFileAndWhatFailed)
{
    const QString garbage = writeFile(QStringLiteral("garbage.mdb"), QByteArray(4096, 'x'));
    const QString good = path(QStringLiteral("good.mdb"));
    {
        db::Connection c;
        c.open(good, true);
        c.executeScript(QStringLiteral("create table t (a integer)"));
    }

    const struct {
        const char *name;
        QString file;
        std::function<void(db::Connection &)> action;
        QString expected;
    } cases[] = {
        {"not a database", garbage, [&](db::Connection &c) { c.open(garbage); },
         QStringLiteral("データベース(%1)を開けませんでした。(file is not a database)").arg(garbage)},
        {"missing file", path(QStringLiteral("none.mdb")),
         [&](db::Connection &c) { c.open(path(QStringLiteral("none.mdb"))); },
         QStringLiteral("データベース(%1)を開けませんでした。").arg(path(QStringLiteral("none.mdb")))},
        {"read-only write", good,
         [&](db::Connection &c) {
             c.open(good);
             c.executeScript(QStringLiteral("PRAGMA query_only = 1"));
             c.execute(QStringLiteral("insert into t (a) values (?)"), 1);
         },
         QStringLiteral("データベース(%1)に書き込めませんでした。(attempt to write a readonly database)").arg(good)},
        {"unknown table", good,
         [&](db::Connection &c) {
             c.open(good);
             c.prepare(QStringLiteral("select * from missing"));
         },
         QStringLiteral("データベース(%1)の処理に失敗しました。(no such table: missing)").arg(good)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        db::Connection connection;
        try {
            c.action(connection);
            ADD_FAILURE() << "no error";
        } catch (const db::Error &e) {
            EXPECT_TRUE(e.message().startsWith(c.expected)) << e.message().toStdString();
            EXPECT_FALSE(e.message().contains(QStringLiteral("insert"))) << e.message().toStdString();
        }
    }
}

} // namespace
