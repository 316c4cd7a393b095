#include "trading/modReservation.h"

#include "core/modGlobal.h"
#include "platform/db/DbDate.h"

void dayChangeReservation(const QDateTime &now)
{
    const QString todayStart = db::dayStartText(now.date());
    db::Transaction transaction(gcnDB);
    gcnDB.execute(QStringLiteral("delete from ttstocks where 日付 < ?"), now.date().addDays(-200));
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2 ,株数 = 約定株数買"
                                 " where 更新日付 < ? and 処理区分 in(1) and 約定株数買 > 0"),
                  todayStart);
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 9"
                                 " where 更新日付 < ? and 処理区分 in(0,1) and 約定株数買 = 0"),
                  todayStart);
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2 where 更新日付 < ? and 処理区分 = 3"),
                  todayStart);
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
