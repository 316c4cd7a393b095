#include "platform/db/DbDate.h"

namespace db {

QString dateText(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString dateTimeText(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString dayStartText(const QDate &d)
{
    return dateText(d) + QStringLiteral(" 00:00:00");
}

QString dayEndText(const QDate &d)
{
    return dateText(d) + QStringLiteral(" 23:59:59");
}

QDate parseDate(const QString &text)
{
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

} // namespace db
