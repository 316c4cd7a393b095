#include "platform/db/Statement.h"

#include "platform/db/DbDate.h"
#include "platform/db/Error.h"

#include <sqlite3.h>

#include <utility>

namespace db {

Statement::Statement(sqlite3 *db, const QString &sql) : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        throw Error(QStringLiteral("%1 [%2]").arg(QString::fromUtf8(sqlite3_errmsg(m_db)), sql));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = std::exchange(other.m_db, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

void Statement::check(int rc) const
{
    if (rc != SQLITE_OK)
        throw Error(QStringLiteral("%1 [%2]").arg(QString::fromUtf8(sqlite3_errmsg(m_db)),
                                                  QString::fromUtf8(sqlite3_sql(m_stmt))));
}

Statement &Statement::bind(int index, qint64 value)
{
    check(sqlite3_bind_int64(m_stmt, index, value));
    return *this;
}

Statement &Statement::bind(int index, double value)
{
    check(sqlite3_bind_double(m_stmt, index, value));
    return *this;
}

Statement &Statement::bind(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    check(sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
    return *this;
}

Statement &Statement::bind(int index, const QDate &value)
{
    return value.isValid() ? bind(index, dateText(value)) : bindNull(index);
}

Statement &Statement::bind(int index, const QDateTime &value)
{
    return value.isValid() ? bind(index, dateTimeText(value)) : bindNull(index);
}

Statement &Statement::bindNull(int index)
{
    check(sqlite3_bind_null(m_stmt, index));
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_stmt);
    throw Error(QStringLiteral("%1 [%2]").arg(message, QString::fromUtf8(sqlite3_sql(m_stmt))));
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 Statement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

QString Statement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QDate Statement::date(int column) const
{
    return parseDate(text(column));
}

} // namespace db
