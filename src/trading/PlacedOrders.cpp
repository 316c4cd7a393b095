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

const QString kColumns = QStringLiteral("注文番号, 注文日, 予約番号, 売買区分, 株数, 約定株数, 手入力株数");

// The order of the statement's row of kColumns.
PlacedOrder placedOrderOf(const db::Statement &st)
{
    return PlacedOrder{st.int64(0), db::parseDate(st.text(1)), st.int64(2), int(st.int64(3)), st.int64(4), st.int64(5),
                       st.int64(6)};
}

} // namespace

std::optional<PlacedOrder> findPlacedOrder(qint64 orderNo, const QDate &executionDay)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select ") + kColumns +
                                     QStringLiteral(" from ttplacedorder where 注文番号 = ? and 注文日 = ?"));
    st.bindAll(orderNo, db::dateText(executionDay));
    if (!st.step())
        return std::nullopt;
    return placedOrderOf(st);
}

std::vector<PlacedOrder> openSellOrders(qint64 yoyakuNo)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select ") + kColumns +
                      QStringLiteral(" from ttplacedorder"
                                     " where 予約番号 = ? and 売買区分 = 2 and (株数 < 0 or 約定株数 < 株数)"
                                     " order by 注文日 desc, 注文番号 desc"));
    st.bind(1, yoyakuNo);
    std::vector<PlacedOrder> orders;
    while (st.step())
        orders.push_back(placedOrderOf(st));
    return orders;
}

void addPlacedOrderExecution(const PlacedOrder &order, qint64 shares)
{
    gcnDB.execute(QStringLiteral("update ttplacedorder set 約定株数 = 約定株数 + ? where 注文番号 = ? and 注文日 = ?"),
                  shares, order.orderNo, db::dateText(order.day));
}

void addHandEnteredExecution(const PlacedOrder &order, qint64 shares)
{
    gcnDB.execute(QStringLiteral("update ttplacedorder set 約定株数 = 約定株数 + ?, 手入力株数 = 手入力株数 + ?"
                                 " where 注文番号 = ? and 注文日 = ?"),
                  shares, shares, order.orderNo, db::dateText(order.day));
}

void takeHandEnteredShares(const PlacedOrder &order, qint64 shares)
{
    gcnDB.execute(QStringLiteral("update ttplacedorder set 手入力株数 = max(0, 手入力株数 - ?)"
                                 " where 注文番号 = ? and 注文日 = ?"),
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
