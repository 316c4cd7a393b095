#include "support/FakeMaster.h"

#include "core/modGlobal.h"

void storeFakeMaster(const FakeMarket &market)
{
    db::Transaction change(gcnDB);
    // A stock already stored keeps its flags and dates; its name, industry and unit follow
    // the market.
    db::Statement insert = gcnDB.prepare(
        QStringLiteral("insert into tmbond (銘柄コード, 会社名, 市場コード, 業種名, 単元株数) values (?, ?, ?, ?, ?)"
                       " on conflict (銘柄コード, 市場コード) do update set 会社名 = excluded.会社名,"
                       " 業種名 = excluded.業種名, 単元株数 = excluded.単元株数"));
    for (const FakeStock &stock : market.stocks()) {
        insert.reset();
        insert.bindAll(stock.code, stock.name, stock.market, stock.industry, stock.unit);
        insert.run();
    }
    change.commit();
}
