#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// One prepared statement. Values go in only as bound parameters (1-based), so page or
// dialog text never becomes SQL. Reading a NULL column gives 0, 0.0 or the empty text.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, qint64 value);
    Statement &bind(int index, int value) { return bind(index, qint64(value)); }
    Statement &bind(int index, double value);
    Statement &bind(int index, const QString &value);
    Statement &bind(int index, const char16_t *value) { return bind(index, QString::fromUtf16(value)); }
    Statement &bind(int index, const QDate &value);     // as "YYYY-MM-DD"
    Statement &bind(int index, const QDateTime &value); // as "YYYY-MM-DD HH:MM:SS"
    Statement &bindNull(int index);

    // Binds the arguments to parameters 1, 2, ... in order.
    template <typename... Args>
    Statement &bindAll(const Args &...args)
    {
        int index = 0;
        (bind(++index, args), ...);
        return *this;
    }

    // Advances to the next row: true when a row is there, false when done. Throws db::Error.
    bool step();
    // Runs a statement that returns no rows.
    void run() { step(); }
    // Makes the statement ready for new bindings and a new run.
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    QString text(int column) const;
    QDate date(int column) const;

private:
    void check(int rc) const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace db
