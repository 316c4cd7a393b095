#include "trading/modReservation.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modKabuka.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "platform/ui/MsgBox.h"
#include "trading/PlacedOrders.h"
#include "trading/modBroker.h"

namespace {

// The statements of the store without their own transaction, so that one logical change
// can combine them.

void deleteReservationRows(qint64 number)
{
    gcnDB.execute(QStringLiteral("delete from ttresevation where 予約番号 = ?"), number);
    gcnDB.execute(QStringLiteral("delete from ttcontracthistory where 予約番号 = ?"), number);
    deletePlacedOrders(number);
}

void writeReservation(const QDateTime &date, qint64 &number, int buyDone, int state, double buyPrice, qint64 buyShares,
                      const OD &order)
{
    if (number == 0)
        number = getMaxYoyakuNo() + 1;
    gcnDB.execute(QStringLiteral("delete from ttresevation where 予約番号 = ?"), number);
    db::Statement st = gcnDB.prepare(QStringLiteral(
        "insert into ttresevation (予約番号, 取引区分, 指成区分買, 指成区分売, 銘柄コード, 株数, 指値買11, 指値売11,"
        " 注文期間区分, 注文期間, 繰返回数, 実行回数買, 実行回数売, 処理区分, エラーコード, 条件区分売1, 条件区分売2,"
        " 割合売1, 割合売2, 日数売2, 登録日付, 更新日付, 市場コード, 約定金額買, 約定株数買, 約定日付買)"
        " values (?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, 0, ?, 0, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    st.bindAll(number, order.ODOrderType, order.ODSasiNariKai1, order.ODSasiNariUri1, order.ODBrand, order.ODKabusu,
               order.ODKaine11, order.ODUrine11, date.date(), order.ODKurikaesiKai, buyDone, state,
               order.ODSongiriTypeUri1, order.ODRiekiWariaiUri1, order.ODSongiriWariaiUri1, order.ODSongiriDUri1, date,
               date, order.ODSizyouCode, buyPrice, buyShares, date);
    st.run();
}

void writeContractHistory(const QDateTime &date, qint64 number, const QString &code, const QString &market,
                          qint64 orderNo, double price, qint64 shares, int orderKind)
{
    gcnDB.execute(QStringLiteral("delete from ttcontracthistory where 予約番号 = ?"), number);
    gcnDB.execute(QStringLiteral("insert into ttcontracthistory (注文番号, 受付日時, 取引区分, 売買区分, 指成区分,"
                                 " 銘柄コード, 約定株数, 約定金額, 予約番号, 登録日付, 更新日付, 市場コード)"
                                 " values (?, ?, 1, '1', ?, ?, ?, ?, ?, ?, ?, ?)"),
                  orderNo, date, orderKind, code, shares, price, number, date, date, market);
}

} // namespace

QString getSyoriKubunName(int state)
{
    switch (state) {
    case kubunZyunbi:
        return QStringLiteral("注文準備");
    case kubunKaiTyumon:
        return QStringLiteral("買注済");
    case kubunKaiYakuzyou:
        return QStringLiteral("買約定");
    case kubunUriTyumon:
        return QStringLiteral("売注済");
    case kubunUriYakuzyou:
        return QStringLiteral("売約定");
    case kubunSyoriZumi:
        return QStringLiteral("処理済");
    case kubunCancel:
        return QStringLiteral("キャンセル");
    default:
        return {};
    }
}

void dayChangeReservation(const QDateTime &now)
{
    const QString todayStart = db::dayStartText(now.date());
    db::Transaction transaction(gcnDB);
    gcnDB.execute(QStringLiteral("delete from ttstocks where 日付 < ?"), now.date().addDays(-kKeptPriceDays));
    // 株数 is the shares to have bought in all: an order of an earlier day is over, so the
    // row wants no more than it bought. A row that holds shares is held, one that holds
    // none (bought nothing, or sold all while its extra buy was out) is finished.
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2 ,株数 = 約定株数買"
                                 " where 更新日付 < ? and 処理区分 in(1) and 約定株数買 > 約定株数売"),
                  todayStart);
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 9"
                                 " where 更新日付 < ? and 処理区分 in(0,1) and 約定株数買 <= 約定株数売"),
                  todayStart);
    // A row that holds shares and waited for an extra buy (averaging down) on a day that has
    // passed is held again, wanting what it bought; a row made due today keeps its target
    // however often the day change runs today. An extra buy sent with an unknown outcome
    // keeps its target too, so that its notice still finds the buy it was. An extra buy the
    // order step refused to send is over with the day as well.
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2 ,株数 = case when エラーコード = ? then 株数"
                                 " else 約定株数買 end, エラーコード = case when エラーコード = ? then 0"
                                 " else エラーコード end"
                                 " where ifnull(注文期間, '') < ? and 処理区分 in(0,4) and 約定株数買 > 約定株数売"),
                  int(etrErrOutcomeUnknown), int(etrErrNoShares), now.date());
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2 where 更新日付 < ? and 処理区分 = 3"),
                  todayStart);
    transaction.commit();
}

void deleteReservation(qint64 number)
{
    db::Transaction transaction(gcnDB);
    deleteReservationRows(number);
    transaction.commit();
}

void deleteRireki(qint64 number)
{
    db::Transaction transaction(gcnDB);
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 繰返回数, 約定株数買 > 約定株数売 from ttresevation where 予約番号 = ?"));
    st.bind(1, number);
    const bool found = st.step();
    const qint64 repeats = found ? st.int64(0) : 0;
    const bool holdsShares = found && st.int64(1) != 0;
    if (repeats == 1) {
        deleteReservationRows(number);
    } else if (holdsShares) {
        gcnDB.execute(
            QStringLiteral("update ttresevation set 繰返回数 = 繰返回数 - 1 ,処理区分 = 2 where 予約番号 = ?"), number);
    } else {
        gcnDB.execute(QStringLiteral("update ttresevation set 繰返回数 = 繰返回数 - 1 where 予約番号 = ?"), number);
        writeLog(glngLogFileNo, QStringLiteral("***保有株数がないため処理区分は変えない(予約番号=") +
                                    QString::number(number) + QStringLiteral(")"));
    }
    transaction.commit();
}

qint64 getMaxYoyakuNo()
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select max(予約番号) as su from ttresevation a"));
    return st.step() ? st.int64(0) : 0;
}

OD reservationOrder(const OD &rules, const QString &code, const QString &market, int shares)
{
    OD order = rules;
    order.ODKabusu = shares;
    order.ODBrand = code;
    order.ODSizyouCode = market;
    order.ODSasiNariKai1 = 2;
    order.ODSasiNariUri1 = 2;
    return order;
}

void insertReservation(const QDateTime &date, qint64 &number, int buyDone, int state, qint64 buyPrice, qint64 buyShares,
                       const OD &order)
{
    db::Transaction transaction(gcnDB);
    qint64 written = number;
    writeReservation(date, written, buyDone, state, double(buyPrice), buyShares, order);
    transaction.commit();
    number = written;
}

void insertContractHistory(const QDateTime &date, qint64 number, const QString &code, const QString &market,
                           qint64 orderNo, qint64 price, qint64 shares, int orderKind)
{
    db::Transaction transaction(gcnDB);
    writeContractHistory(date, number, code, market, orderNo, double(price), shares, orderKind);
    transaction.commit();
}

void insertManualExecution(const QDateTime &date, qint64 &number, const OD &order, qint64 orderNo, double price,
                           qint64 shares)
{
    db::Transaction transaction(gcnDB);
    qint64 written = number;
    // The replaced reservation's orders go with it, as at every deletion: a late notice of
    // one of them must not add its shares to the position entered here.
    if (written != 0)
        deletePlacedOrders(written);
    writeReservation(date, written, 1, kubunKaiYakuzyou, price, shares, order);
    writeContractHistory(date, written, order.ODBrand, order.ODSizyouCode, orderNo, price, shares,
                         order.ODSasiNariKai1);
    transaction.commit();
    number = written;
}

void setManualOrder(qint64 number)
{
    db::Transaction transaction(gcnDB);
    gcnDB.execute(QStringLiteral("update ttresevation set 手動注文区分 = 1 ,更新日付 = ?,"
                                 " エラーコード = case when エラーコード in (?, ?) then 0 else エラーコード end"
                                 " where 予約番号 = ?"),
                  sys::now(), etrErrOutcomeUnknown, etrErrNoShares, number);
    transaction.commit();
}

int getOrderCount(int mode, const QDate &day)
{
    QString sql = QStringLiteral("select count(*) as su from ttresevation a");
    switch (mode) {
    case 1:
        sql += QStringLiteral(" where a.処理区分 = 2");
        break;
    case 2:
        sql += QStringLiteral(" where a.処理区分 < 9");
        break;
    case 3:
        sql += QStringLiteral(" where a.登録日付 >= ? and a.登録日付 <= ?");
        break;
    default:
        break;
    }
    db::Statement st = gcnDB.prepare(sql);
    if (mode == 3)
        st.bindAll(db::dayStartText(day), db::dayEndText(day));
    return st.step() ? int(st.int64(0)) : 0;
}

bool deleteAllOrders(int ask)
{
    if (ask >= 1) {
        const QString question = QStringLiteral("全ての注文情報・約定履歴を削除します。\r\n"
                                                "現在注文中のも・保持しているものは手動で決済してください。\r\n"
                                                "処理を実行してもよろしいですか?");
        if (ui::msgBox(question, ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2) == ui::vbNo)
            return false;
    }
    db::Transaction transaction(gcnDB);
    gcnDB.execute(QStringLiteral("delete from ttresevation"));
    gcnDB.execute(QStringLiteral("delete from ttcontracthistory"));
    deleteAllPlacedOrders();
    transaction.commit();
    return true;
}
