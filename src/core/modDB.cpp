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

// The orders placed at the broker, against which notices are checked. The reservations of
// an older file with an order out, or one whose notice may still come (a held row whose
// sell order the day change took back, a buy that the day change finished unfilled), get
// the row of their latest order: its side from the state and the executions, its day from
// its first execution, its shares from what the reservation held or wanted when it was sent.
// A buy on a held row had its target replaced by the shares bought, so its size is not
// known: its late notices are not bounded by a share count.
void addPlacedOrders(db::Connection &connection)
{
    connection.executeScript(QStringLiteral(
        "create table if not exists ttplacedorder (注文番号 INTEGER NOT NULL, 注文日 TEXT NOT NULL,"
        " 予約番号 INTEGER NOT NULL, 売買区分 INTEGER NOT NULL, 株数 INTEGER NOT NULL,"
        " 約定株数 INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (注文番号, 注文日));"
        "with o as (select r.注文番号, coalesce((select substr(min(h.受付日時), 1, 10) from ttcontracthistory h"
        "   where h.予約番号 = r.予約番号 and h.注文番号 = r.注文番号), substr(r.更新日付, 1, 10)) as 注文日,"
        "  r.予約番号, r.株数, r.処理区分, r.約定株数買 as 買, r.約定株数売 as 売,"
        "  case when r.処理区分 = 3 or (r.処理区分 = 2 and not exists (select 1 from ttcontracthistory h"
        "   where h.予約番号 = r.予約番号 and h.注文番号 = r.注文番号 and h.売買区分 = '1')) then 2 else 1 end"
        "   as 売買区分"
        "  from ttresevation r where r.注文番号 > 0 and r.更新日付 is not null"
        "  and (r.処理区分 in (1, 2, 3) or (r.処理区分 = 9 and r.約定株数買 = 0))),"
        " d as (select o.*, (select ifnull(sum(h.約定株数), 0) from ttcontracthistory h"
        "  where h.予約番号 = o.予約番号 and h.注文番号 = o.注文番号 and h.売買区分 = cast(o.売買区分 as text))"
        "  as 済 from o)"
        " insert or ignore into ttplacedorder (注文番号, 注文日, 予約番号, 売買区分, 株数, 約定株数)"
        " select 注文番号, 注文日, 予約番号, 売買区分,"
        "  case when 売買区分 = 1 and 処理区分 = 2 then -1"
        "   else max(0, case 売買区分 when 1 then 株数 - 買 else 買 - 売 end) + 済 end, 済 from d;"));
}

// A notice refused for its price alone is tested once more when its execution day's prices
// are stored, and a refusal stays on the information line until the user dismisses it.
// The refusals of an older file stay to be seen; their reasons were not kept, so none of
// them is tested again.
void addMailRefusalColumns(db::Connection &connection)
{
    addMissingColumns(connection, QStringLiteral("ttmailprocessed"),
                      {QStringLiteral("再確認日 TEXT"), QStringLiteral("確認日時 TEXT")});
}

// A sale entered by hand is charged to its placed sell order; the shares so entered whose
// notice has not come yet are kept with the order, so that the notice is known as booked.
void addHandEnteredShares(db::Connection &connection)
{
    // A file whose table an earlier step created in today's layout has the column already.
    db::Statement has = connection.prepare(
        QStringLiteral("select 1 from pragma_table_info('ttplacedorder') where name = '手入力株数'"));
    if (!has.step())
        connection.executeScript(
            QStringLiteral("alter table ttplacedorder add column 手入力株数 INTEGER NOT NULL DEFAULT 0;"));
}

const std::vector<SchemaStep> &schemaSteps(DatabaseKind kind)
{
    static const std::vector<SchemaStep> price{
        {1, addVolumeRatioColumns},
        {2, indexDayAndMarket},
        {3, indexStockSeries},
    };
    static const std::vector<SchemaStep> work{
        {1, indexExecutionsByStock}, {2, addMailProcessedTable}, {3, addUpdateJournal},
        {4, addPlacedOrders},        {5, addMailRefusalColumns}, {6, addHandEnteredShares},
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
