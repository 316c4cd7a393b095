#include "core/modDB.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modRegistrySet.h"
#include "platform/db/Error.h"
#include "platform/sys/Failure.h"

#include <vector>

namespace {

const QString kPriceSchema = QStringLiteral("mst");

// One step of the upgrade walk: what turns a file of version `version - 1` into `version`.
struct SchemaStep {
    int version;
    void (*apply)(db::Connection &connection);
};

void addMissingColumns(db::Connection &connection, const QString &table, const QStringList &definitions)
{
    const QStringList columns = connection.columnNames(table);
    for (const QString &definition : definitions) {
        if (!columns.contains(definition.section(u' ', 0, 0)))
            connection.executeScript(QStringLiteral("alter table %1 add %2").arg(table, definition));
    }
}

void addVolumeRatioColumns(db::Connection &connection)
{
    addMissingColumns(connection, QStringLiteral("ttstocks"),
                      {QStringLiteral("VRA double default 0"), QStringLiteral("VRB double default 0")});
}

// The upgrade steps of each database, oldest first. A layout change is one more step with
// the next version number here, e.g.
//     {2, [](db::Connection &c) { c.executeScript(QStringLiteral("CREATE INDEX ...")); }},
// and the same change with that PRAGMA user_version in data/schema.sql for new files.
// The screening selects a day's rows by market; the day-and-market index serves every
// query the day-only one served.
void indexDayAndMarket(db::Connection &connection)
{
    connection.executeScript(
        QStringLiteral("create index if not exists ttstocks_日付_市場コード on ttstocks (日付, 市場コード);"
                       "drop index if exists ttstocks_日付;"));
}

// The row tests read one stock's prices over a window of days: the index holds the
// window's rows together with every value those tests read, so they never visit the table.
void indexStockSeries(db::Connection &connection)
{
    connection.executeScript(
        QStringLiteral("create index if not exists ttstocks_銘柄コード_市場コード_日付_系列"
                       " on ttstocks (銘柄コード, 市場コード, 日付, 調整終値, 出来高, 中期SMA, MACD);"));
}

// The screening looks for an execution of a stock registered within a period.
void indexExecutionsByStock(db::Connection &connection)
{
    connection.executeScript(
        QStringLiteral("create index if not exists ttcontracthistory_銘柄コード_市場コード_登録日付"
                       " on ttcontracthistory (銘柄コード, 市場コード, 登録日付);"));
}

// The journal of the start-up price update, so that a start completes an interrupted one.
void addUpdateJournal(db::Connection &connection)
{
    connection.executeScript(QStringLiteral("create table if not exists ttupdatejournal (開始日 TEXT NOT NULL,"
                                            " 終了日 TEXT NOT NULL, 段階 INTEGER NOT NULL, 取得日 TEXT,"
                                            " 取得銘柄コード TEXT, 取得市場コード TEXT)"));
}

// The notice reader marks each saved mail file it has handled, and each notice it counted.
void addMailProcessedTable(db::Connection &connection)
{
    connection.executeScript(QStringLiteral("create table if not exists ttmailprocessed ("
                                            " ファイル名 TEXT NOT NULL PRIMARY KEY,"
                                            " 通知キー TEXT UNIQUE,"
                                            " 結果 TEXT NOT NULL,"
                                            " 処理日付 TEXT NOT NULL)"));
}

const std::vector<SchemaStep> &schemaSteps(DatabaseKind kind)
{
    static const std::vector<SchemaStep> price{
        {1, addVolumeRatioColumns},
        {2, indexDayAndMarket},
        {3, indexStockSeries},
    };
    static const std::vector<SchemaStep> work{
        {1, indexExecutionsByStock},
        {2, addMailProcessedTable},
        {3, addUpdateJournal},
    };
    return kind == DatabaseKind::Price ? price : work;
}

int storedVersion(db::Connection &connection)
{
    db::Statement st = connection.prepare(QStringLiteral("PRAGMA user_version"));
    st.step();
    return int(st.int64(0));
}

} // namespace

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
            throw sys::Failure(
                QStringLiteral("作業用データベース(%1)に株価テーブル %2 と同じ名前のテーブルがあります。")
                    .arg(workDbPath, name));
    }

    db::Connection price;
    price.open(priceDbPath);
    const QStringList priceTables = price.tableNames();
    for (const QString &name : linkedTableNames()) {
        if (!priceTables.contains(name, Qt::CaseInsensitive))
            throw sys::Failure(
                QStringLiteral("株価データベース(%1)にテーブル %2 がありません。").arg(priceDbPath, name));
    }
}

int schemaVersion(DatabaseKind kind)
{
    const std::vector<SchemaStep> &steps = schemaSteps(kind);
    return steps.empty() ? 0 : steps.back().version;
}

void upgradeSchema(db::Connection &connection, DatabaseKind kind)
{
    const int stored = storedVersion(connection);
    if (stored > schemaVersion(kind))
        throw db::Error(QStringLiteral("データベース(%1)はこのプログラムより新しい版(%2)です。")
                            .arg(connection.path())
                            .arg(stored));
    for (const SchemaStep &step : schemaSteps(kind)) {
        if (step.version <= stored)
            continue;
        db::Transaction transaction(connection);
        step.apply(connection);
        connection.executeScript(QStringLiteral("PRAGMA user_version = %1").arg(step.version));
        transaction.commit();
    }
}

void openWorkDatabase(db::Connection &connection, const QString &workDbPath, const QString &priceDbPath)
{
    connection.open(workDbPath);
    upgradeSchema(connection, DatabaseKind::Work);
    connection.attach(priceDbPath, kPriceSchema);
}

bool checkVRColumn()
{
    db::Connection price;
    price.open(priceDatabasePath());
    const QStringList columns = price.columnNames(QStringLiteral("ttstocks"));
    if (columns.isEmpty())
        throw sys::Failure(
            QStringLiteral("株価データベース(%1)のテーブル ttstocks を読めません。").arg(priceDatabasePath()));
    const bool complete = columns.contains(QStringLiteral("VRA")) && columns.contains(QStringLiteral("VRB"));
    upgradeSchema(price, DatabaseKind::Price);
    // Also where a file of the current version has lost a column.
    addVolumeRatioColumns(price);
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
