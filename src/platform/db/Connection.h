#pragma once

#include "platform/db/Statement.h"

#include <QString>
#include <QStringList>

struct sqlite3;

namespace db {

// The one connection of a database file. Every failure throws db::Error.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens an existing database file (never creates one); `create` allows a new file. The
    // file is made its owner's alone (0600), and SQLite gives its journals the same mode.
    void open(const QString &path, bool create = false);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }

    Statement prepare(const QString &sql);

    // Runs one statement with its values bound in order.
    template <typename... Args>
    void execute(const QString &sql, const Args &...args)
    {
        Statement st = prepare(sql);
        st.bindAll(args...);
        st.run();
    }

    // Runs SQL text without parameters, possibly several statements (schema scripts).
    void executeScript(const QString &sql);

    // Makes another database file's tables reachable under `schema` (and by their plain
    // names where the main database has no table of that name); that file too is made
    // owner-only.
    void attach(const QString &path, const QString &schema);

    // Names of the tables and views, and of a table's columns, as the database reports them.
    QStringList tableNames(const QString &schema = QStringLiteral("main"));
    QStringList columnNames(const QString &table, const QString &schema = QStringLiteral("main"));

    int changes() const;
    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
    QString m_path;
};

// One logical change: rolled back unless commit() is reached, so an error or an early
// return leaves the database as it was before.
class Transaction {
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Connection &m_connection;
    bool m_open = true;
};

} // namespace db
