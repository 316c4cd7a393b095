#include "support/FakeMaster.h"

#include "core/modGlobal.h"

void storeFakeMaster(const FakeMarket &market)
{
    db::Transaction change(gcnDB);
    db::Statement insert = gcnDB.prepare(
        QStringLiteral("insert into tmbond (銘柄コード, 会社名, 市場コード, 業種名, 単元株数) values (?, ?, ?, ?, ?)"));
    for (const FakeStock &stock : market.stocks()) {
        insert.reset();
        insert.bindAll(stock.code, stock.name, stock.market, stock.industry, stock.unit);
        insert.run();
    }
    change.commit();
}
