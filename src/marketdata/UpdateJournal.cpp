#include "marketdata/UpdateJournal.h"

#include "core/modGlobal.h"
#include "platform/db/Connection.h"

#include <tuple>

bool UpdateJournal::imported(const QDate &day, const QString &code, const QString &market) const
{
    if (!doneDay.isValid())
        return false;
    return std::tie(day, code, market) <= std::tie(doneDay, doneCode, doneMarket);
}

std::optional<UpdateJournal> readUpdateJournal()
{
    db::Statement query = gcnDB.prepare(QStringLiteral(
        "select 開始日, 終了日, 段階, 取得日, 取得銘柄コード, 取得市場コード from ttupdatejournal limit 1"));
    if (!query.step())
        return std::nullopt;
    UpdateJournal journal;
    journal.firstDay = query.date(0);
    journal.lastDay = query.date(1);
    journal.step = int(query.int64(2));
    if (!query.isNull(3)) {
        journal.doneDay = query.date(3);
        journal.doneCode = query.text(4);
        journal.doneMarket = query.text(5);
    }
    return journal;
}

void writeUpdateJournal(const UpdateJournal &journal)
{
    db::Transaction change(gcnDB);
    gcnDB.execute(QStringLiteral("delete from ttupdatejournal"));
    db::Statement insert = gcnDB.prepare(
        QStringLiteral("insert into ttupdatejournal (開始日, 終了日, 段階, 取得日, 取得銘柄コード, 取得市場コード)"
                       " values (?, ?, ?, ?, ?, ?)"));
    insert.bindAll(journal.firstDay, journal.lastDay, journal.step);
    if (journal.doneDay.isValid())
        insert.bind(4, journal.doneDay).bind(5, journal.doneCode).bind(6, journal.doneMarket);
    else
        insert.bindNull(4).bindNull(5).bindNull(6);
    insert.run();
    change.commit();
}

void noteUpdateImported(const QDate &day, const QString &code, const QString &market)
{
    gcnDB.execute(QStringLiteral("update ttupdatejournal set 取得日 = ?, 取得銘柄コード = ?, 取得市場コード = ?"), day,
                  code, market);
}

void setUpdateJournalStep(UpdateJournal::Step step)
{
    gcnDB.execute(QStringLiteral("update ttupdatejournal set 段階 = ?"), int(step));
}

void endUpdateJournal()
{
    gcnDB.execute(QStringLiteral("delete from ttupdatejournal"));
}
