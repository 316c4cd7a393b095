#include "core/modDB.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modRegistrySet.h"

#include <stdexcept>

namespace {
const QString kPriceSchema = QStringLiteral("mst");
}

const QStringList &linkedTableNames()
{
    static const QStringList names{QStringLiteral("tmbond"), QStringLiteral("tmmarket"), QStringLiteral("ttstocks"),
                                   QStringLiteral("tttimestocks")};
    return names;
}

void relinkTables(const QString &priceDbPath, const QString &workDbPath)
{
    db::Connection work;
    work.open(workDbPath);
    const QStringList workTables = work.tableNames();
    for (const QString &name : linkedTableNames()) {
        // SQLite names ignore case, and a view hides an attached table as a table does.
        if (workTables.contains(name, Qt::CaseInsensitive))
            throw std::runtime_error(
                QStringLiteral("作業用データベース(%1)に株価テーブル %2 と同じ名前のテーブルがあります。")
                    .arg(workDbPath, name)
                    .toStdString());
    }

    db::Connection price;
    price.open(priceDbPath);
    const QStringList priceTables = price.tableNames();
    for (const QString &name : linkedTableNames()) {
        if (!priceTables.contains(name, Qt::CaseInsensitive))
            throw std::runtime_error(QStringLiteral("株価データベース(%1)にテーブル %2 がありません。")
                                         .arg(priceDbPath, name)
                                         .toStdString());
    }
}

void openWorkDatabase(db::Connection &connection, const QString &workDbPath, const QString &priceDbPath)
{
    connection.open(workDbPath);
    connection.attach(priceDbPath, kPriceSchema);
}

bool checkVRColumn()
{
    db::Connection price;
    price.open(priceDatabasePath());
    const QStringList columns = price.columnNames(QStringLiteral("ttstocks"));
    if (columns.isEmpty())
        throw std::runtime_error(QStringLiteral("株価データベース(%1)のテーブル ttstocks を読めません。")
                                     .arg(priceDatabasePath())
                                     .toStdString());
    bool complete = true;
    for (const QString &column : {QStringLiteral("VRA"), QStringLiteral("VRB")}) {
        if (!columns.contains(column)) {
            price.executeScript(QStringLiteral("alter table ttstocks add %1 double default 0").arg(column));
            complete = false;
        }
    }
    return complete;
}

void changeRegistryLayout()
{
    SMAS = 5;
    SMAM = 25;
    SMAL = 75;
    EMAS = 5;
    EMAM = 25;
    EMAL = 75;
    RSIA = 14;
    VRS = 25;
    sysOD.ODNanpin = 0;
    sysOD.ODNanpinKai = 1;
    setRegistryAll();
}
