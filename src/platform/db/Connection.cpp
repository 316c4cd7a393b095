#include "platform/db/Connection.h"

#include "platform/db/Error.h"
#include "platform/sys/OwnerOnly.h"

#include <sqlite3.h>

namespace db {

Connection::~Connection()
{
    close();
}

void Connection::open(const QString &path, bool create)
{
    close();
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw Error(failureMessage(path, QStringLiteral("を開けませんでした"), message));
    }
    m_db = db;
    m_path = path;
    sys::makeOwnerOnly(path);
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_extended_result_codes(m_db, 1);
    // Reading the schema proves that the file really is a database.
    if (sqlite3_exec(m_db, "PRAGMA schema_version;", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        close();
        throw Error(failureMessage(path, QStringLiteral("を開けませんでした"), message));
    }
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_path.clear();
    }
}

Statement Connection::prepare(const QString &sql)
{
    if (!m_db)
        throw Error(failureMessage(m_path, QStringLiteral("は開かれていません"), sql));
    return Statement(m_db, sql);
}

void Connection::executeScript(const QString &sql)
{
    if (!m_db)
        throw Error(failureMessage(m_path, QStringLiteral("は開かれていません"), sql));
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        throw Error(failureMessage(m_path, QStringLiteral("の処理に失敗しました"), message));
    }
}

void Connection::attach(const QString &path, const QString &schema)
{
    execute(QStringLiteral("ATTACH DATABASE ? AS ") + schema, path);
    sys::makeOwnerOnly(path);
}

QStringList Connection::tableNames(const QString &schema)
{
    QStringList names;
    Statement st = prepare(
        QStringLiteral("SELECT name FROM %1.sqlite_schema WHERE type IN ('table', 'view') ORDER BY name").arg(schema));
    while (st.step())
        names << st.text(0);
    return names;
}

QStringList Connection::columnNames(const QString &table, const QString &schema)
{
    QStringList names;
    Statement st = prepare(QStringLiteral("SELECT name FROM pragma_table_info(?, ?)"));
    st.bindAll(table, schema);
    while (st.step())
        names << st.text(0);
    return names;
}

int Connection::changes() const
{
    return sqlite3_changes(m_db);
}

Transaction::Transaction(Connection &connection) : m_connection(connection)
{
    m_connection.executeScript(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (m_open) {
        try {
            m_connection.executeScript(QStringLiteral("ROLLBACK"));
        } catch (const Error &) {
            // Nothing more can be done while unwinding; SQLite has already rolled back.
        }
    }
}

void Transaction::commit()
{
    m_connection.executeScript(QStringLiteral("COMMIT"));
    m_open = false;
}

} // namespace db
