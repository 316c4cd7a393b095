#include "trading/modOrderDue.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modMarket.h"
#include "platform/db/DbDate.h"
#include "platform/text/VbText.h"
#include "trading/modBroker.h"
#include "trading/modReservation.h"

#include <QVariant>

int glngStartMinute = 0;

namespace {

// A query built once for binding and once, with its values written in, for the log.
class LoggedQuery {
public:
    void add(const QString &part)
    {
        m_sql += part;
        m_shown += part;
    }
    void addValue(qint64 value)
    {
        m_sql += u'?';
        m_shown += QString::number(value);
        m_values.append(value);
    }
    void addValue(const QString &value)
    {
        m_sql += u'?';
        m_shown += u'\'' + value + u'\'';
        m_values.append(value);
    }

    QString shown() const { return m_shown; }

    db::Statement prepare() const
    {
        db::Statement st = gcnDB.prepare(m_sql);
        int index = 0;
        for (const QVariant &value : m_values) {
            ++index;
            if (value.typeId() == QMetaType::QString)
                st.bind(index, value.toString());
            else
                st.bind(index, value.toLongLong());
        }
        return st;
    }

private:
    QString m_sql;
    QString m_shown;
    QVariantList m_values;
};

bool anyMissing(const QStringList &values)
{
    for (const QString &value : values) {
        if (text::trimSpaces(value).isEmpty())
            return true;
    }
    return false;
}

} // namespace

QString orderCycleSkipReason(const QDateTime &now)
{
    if (sysBS.paperMode())
        return QStringLiteral("***実購入せずに動作のため注文処理をとばす");
    // The timers never start a cycle during a step; should one come, it must not send a
    // second order while the first is on its way.
    if (etrRunningMode == 1 || etrRunningMode == 2)
        return QStringLiteral("***証券会社サイトで処理中のため注文処理をとばす");
    if (!isTradingDay(now))
        return QStringLiteral("***稼働日ではないため注文処理をとばす");
    const QString hhmm = now.toString(QStringLiteral("HHmm"));
    if (hhmm < QStringLiteral("0830") || hhmm > QStringLiteral("1450"))
        return QStringLiteral("***時間外のため注文処理をとばす");
    if (now.time().hour() * 60 + now.time().minute() < glngStartMinute + 3)
        return QStringLiteral("***開始から3分は注文処理をとばす");
    if (anyMissing({UserID, Password, Password2, POP3Server, POPUserID, POPPassword}))
        return QStringLiteral("***ログインできない場合は注文処理をとばす");
    return {};
}

std::optional<DueReservation> selectDueReservation(const QDate &processingDay, const OD &order, QString &queryText)
{
    LoggedQuery query;
    query.add(QStringLiteral("select a.予約番号, a.取引区分, a.処理区分, a.銘柄コード, a.市場コード, a.株数,"
                             " a.約定株数買, a.約定株数売, a.指成区分買, a.指成区分売, a.指値買11, a.指値売11"
                             " from ttresevation a,ttstocks b"
                             " where ( (a.処理区分 in (0,4))"));
    // 割合売2 is stored as a whole number: "* 1.0" keeps SQLite from dividing it as an
    // integer, which would put the stop-loss price at the buy price itself.
    if (order.ODRiekiAutoType == 1)
        query.add(QStringLiteral(" or ( (a.処理区分 = 2)"
                                 " and ((a.割合売1 * 1.0 / 100 * a.約定金額買 + a.約定金額買) <= b.終値 ) )"));
    if (order.ODSongiriAutoType == 1) {
        query.add(QStringLiteral(" or ( (a.処理区分 = 2)"
                                 " and (a.約定金額買 - (a.割合売2 * 1.0 / 100 * a.約定金額買) >= b.終値 )"));
        if (order.ODNanpin == 1) {
            // A row that averaging down has not touched yet has made no purchase: 0, so the
            // stop loss is not lost to an empty count.
            query.add(QStringLiteral(" and (ifnull(a.注文回, 0) >= "));
            query.addValue(qint64(order.ODNanpinKai) - 1);
            query.add(QStringLiteral(")"));
        }
        // Holding days count from the time of the last change, compared with the start of
        // the processing day.
        query.add(QStringLiteral(" ) or ( (a.処理区分 = 2)"
                                 " and (datetime(a.更新日付, '+' || a.日数売2 || ' days') <= "));
        query.addValue(db::dayStartText(processingDay));
        query.add(QStringLiteral(" ) )"));
    }
    query.add(QStringLiteral(" or ( (a.処理区分 in (0,2,4) and a.手動注文区分 = 1) ) )"
                             " and a.エラーコード not in ("));
    query.addValue(qint64(etrErrOutcomeUnknown));
    query.add(QStringLiteral(", "));
    query.addValue(qint64(etrErrNoShares));
    query.add(QStringLiteral(")"));
    query.add(QStringLiteral(" and a.銘柄コード = b.銘柄コード"
                             " and a.市場コード = b.市場コード"
                             " and b.日付 = "));
    query.addValue(db::dateText(processingDay));
    query.add(QStringLiteral(" order by a.更新日付, a.予約番号"));

    queryText = query.shown();
    db::Statement st = query.prepare();
    if (!st.step())
        return std::nullopt;
    return DueReservation{st.int64(0),      int(st.int64(1)), int(st.int64(2)), st.text(3),
                          st.text(4),       st.int64(5),      st.int64(6),      st.int64(7),
                          int(st.int64(8)), int(st.int64(9)), st.int64(10),     st.int64(11)};
}

etrOrderInfo orderFor(const DueReservation &due)
{
    etrOrderInfo order;
    order.予約番号 = int(due.number);
    const bool buy = due.state == kubunZyunbi || due.state == kubunUriYakuzyou;
    order.売買区分 = buy ? 1 : 2;
    // 株数 is the shares to have bought in all; a sell sells every share held.
    order.株数 = int(buy ? due.shares - due.bought : due.bought - due.sold);
    order.取引区分 = due.tradeKind;
    order.銘柄コード = due.code;
    order.市場コード = due.market;
    order.指値 = int(buy ? due.buyLimit : due.sellLimit);
    order.指成区分 = buy ? due.buyKind : due.sellKind;
    return order;
}

void refuseOrderOfNoShares(const etrOrderInfo &order)
{
    writeProgramLog(QStringLiteral("***注文株数が0以下のため注文しない(予約番号:%1/売買区分:%2/株数:%3/銘柄コード:%4)")
                        .arg(order.予約番号)
                        .arg(order.売買区分)
                        .arg(order.株数)
                        .arg(order.銘柄コード));
    gcnDB.execute(QStringLiteral("update ttresevation set エラーコード = ? where 予約番号 = ?"), int(etrErrNoShares),
                  order.予約番号);
}

QString refusedOrdersInfoText()
{
    db::Statement st = gcnDB.prepare(
        QStringLiteral("select 予約番号 from ttresevation where エラーコード = ? and 処理区分 < 9 order by 予約番号"));
    st.bind(1, int(etrErrNoShares));
    QStringList numbers;
    while (st.step())
        numbers << QString::number(st.int64(0));
    if (numbers.isEmpty())
        return {};
    return QStringLiteral("注文株数が0以下のため注文しなかった予約があります(予約番号:%1)。").arg(numbers.join(u',')) +
           QStringLiteral("注文一覧を確認してください。");
}
