#include "initdb/DatabaseFiles.h"

#include "platform/db/Connection.h"
#include "platform/db/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kWorkingMarker = QStringLiteral("-- @@ working");

QString readResource(const QString &name)
{
    QFile file(QStringLiteral(":/nimbra/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw db::Error(QStringLiteral("built-in file missing: ") + name);
    return QString::fromUtf8(file.readAll());
}

// Loads one seed table from its CSV (header row of column names, no quoted fields).
void loadSeedRows(db::Connection &connection, const QString &table)
{
    const QStringList lines = readResource(table + QStringLiteral(".csv")).split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return;
    const QStringList columns = lines.first().trimmed().split(u',');
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    db::Statement insert = connection.prepare(
        QStringLiteral("INSERT OR IGNORE INTO %1 (%2) VALUES (%3)").arg(table, columns.join(u','), marks.join(u',')));
    for (qsizetype row = 1; row < lines.size(); ++row) {
        const QStringList values = lines.at(row).trimmed().split(u',');
        insert.reset();
        for (qsizetype i = 0; i < columns.size(); ++i)
            insert.bind(int(i + 1), values.value(i));
        insert.run();
    }
}

void buildDatabase(const QString &path, const QString &schema, const QStringList &seedTables)
{
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    {
        db::Connection connection;
        connection.open(partial, true);
        db::Transaction transaction(connection);
        connection.executeScript(schema);
        for (const QString &table : seedTables)
            loadSeedRows(connection, table);
        transaction.commit();
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw db::Error(QStringLiteral("cannot create ") + path);
    }
}

} // namespace

sys::Status createMissingDatabases(const QString &dir, const QString &exeName)
{
    try {
        if (!QDir().mkpath(dir))
            return sys::Status::failure(QStringLiteral("cannot create the folder ") + dir);
        const QString schema = readResource(QStringLiteral("schema.sql"));
        const qsizetype marker = schema.indexOf(kWorkingMarker);
        if (marker < 0)
            return sys::Status::failure(QStringLiteral("schema.sql lacks the working-database marker"));
        const QString priceDb = dir + u'/' + exeName + QStringLiteral("_mst.mdb");
        const QString workDb = dir + u'/' + exeName + QStringLiteral(".mdb");
        if (!QFileInfo::exists(priceDb))
            buildDatabase(priceDb, schema.left(marker), {QStringLiteral("tmmarket")});
        if (!QFileInfo::exists(workDb))
            buildDatabase(workDb, schema.mid(marker),
                          {QStringLiteral("tmpricerange"), QStringLiteral("tmnominalrange")});
        return sys::Status::success();
    } catch (const db::Error &e) {
        return sys::Status::failure(e.message());
    }
}
