#include "trading/PlacedOrders.h"

#include "core/modGlobal.h"
#include "platform/db/DbDate.h"

bool recordPlacedOrder(const PlacedOrder &order)
{
    gcnDB.execute(QStringLiteral("insert or ignore into ttplacedorder (注文番号, 注文日, 予約番号, 売買区分, 株数,"
                                 " 約定株数) values (?, ?, ?, ?, ?, ?)"),
                  order.orderNo, db::dateText(order.day), order.yoyakuNo, order.side, order.shares, order.executed);
    return gcnDB.changes() == 1;
}

namespace {

// The order of the statement's row: 注文番号, 注文日, 予約番号, 売買区分, 株数, 約定株数.
PlacedOrder placedOrderOf(const db::Statement &st)
{
    return PlacedOrder{st.int64(0), db::parseDate(st.text(1)), st.int64(2), int(st.int64(3)), st.int64(4), st.int64(5)};
}

} // namespace

std::optional<PlacedOrder> findPlacedOrder(qint64 orderNo, const QDate &executionDay)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 注文番号, 注文日, 予約番号, 売買区分, 株数, 約定株数 from ttplacedorder"
                                     " where 注文番号 = ? and 注文日 = ?"));
    st.bindAll(orderNo, db::dateText(executionDay));
    if (!st.step())
        return std::nullopt;
    return placedOrderOf(st);
}

std::optional<PlacedOrder> openSellOrder(qint64 yoyakuNo, qint64 orderNo)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 注文番号, 注文日, 予約番号, 売買区分, 株数, 約定株数 from ttplacedorder"
                                     " where 予約番号 = ? and 売買区分 = 2 and (株数 < 0 or 約定株数 < 株数)"
                                     " order by 注文番号 = ? desc, 注文日 desc limit 1"));
    st.bindAll(yoyakuNo, orderNo);
    if (!st.step())
        return std::nullopt;
    return placedOrderOf(st);
}

void addPlacedOrderExecution(const PlacedOrder &order, qint64 shares)
{
    gcnDB.execute(QStringLiteral("update ttplacedorder set 約定株数 = 約定株数 + ? where 注文番号 = ? and 注文日 = ?"),
                  shares, order.orderNo, db::dateText(order.day));
}

void deletePlacedOrders(qint64 yoyakuNo)
{
    gcnDB.execute(QStringLiteral("delete from ttplacedorder where 予約番号 = ?"), yoyakuNo);
}

void deleteAllPlacedOrders()
{
    gcnDB.execute(QStringLiteral("delete from ttplacedorder"));
}
