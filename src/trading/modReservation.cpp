#include "trading/modReservation.h"

#include "core/modGlobal.h"
#include "marketdata/modKabuka.h"
#include "platform/db/DbDate.h"

void dayChangeReservation(const QDateTime &now)
{
    const QString todayStart = db::dayStartText(now.date());
    db::Transaction transaction(gcnDB);
    gcnDB.execute(QStringLiteral("delete from ttstocks where 日付 < ?"), now.date().addDays(-kKeptPriceDays));
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
