#include "trading/PlacedOrders.h"

#include "core/modGlobal.h"
#include "platform/db/DbDate.h"

void recordPlacedOrder(const PlacedOrder &order)
{
    gcnDB.execute(QStringLiteral("insert or replace into ttplacedorder (注文番号, 注文日, 予約番号, 売買区分, 株数,"
                                 " 約定株数) values (?, ?, ?, ?, ?, ?)"),
                  order.orderNo, db::dateText(order.day), order.yoyakuNo, order.side, order.shares, order.executed);
}

std::optional<PlacedOrder> findPlacedOrder(qint64 orderNo, const QDate &executionDay)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 注文日, 予約番号, 売買区分, 株数, 約定株数 from ttplacedorder"
                                     " where 注文番号 = ? and 注文日 <= ? order by 注文日 desc limit 1"));
    st.bindAll(orderNo, db::dateText(executionDay));
    if (!st.step())
        return std::nullopt;
    return PlacedOrder{orderNo, db::parseDate(st.text(0)), st.int64(1), int(st.int64(2)), st.int64(3), st.int64(4)};
}

void addPlacedOrderExecution(const PlacedOrder &order, qint64 shares)
{
    gcnDB.execute(QStringLiteral("update ttplacedorder set 約定株数 = 約定株数 + ? where 注文番号 = ? and 注文日 = ?"),
                  shares, order.orderNo, db::dateText(order.day));
}
