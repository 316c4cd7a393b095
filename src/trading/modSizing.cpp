#include "trading/modSizing.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "platform/db/DbDate.h"

#include <QSet>

#include <cmath>

int glngMotiMeigaraCount = 0;

void setKounyuTensu(qint64 capital, BS &record)
{
    if (capital < 600000)
        record.KounyuTensu = 2;
    else if (capital < 1200000)
        record.KounyuTensu = 3;
    else if (capital < 2000000)
        record.KounyuTensu = 4;
    else if (capital <= 5000000)
        record.KounyuTensu = 5;
    else
        record.KounyuTensu = 8;
}

qint64 getKounyuKingaku(qint64 amount, int mode)
{
    qint64 slotCount = sysBS.KounyuTensu;
    if (mode == 1)
        slotCount += glngNanpinTensu;
    const qint64 freeSlots = slotCount - glngMotiMeigaraCount;
    const double base = freeSlots > 0 ? std::floor(double(amount) / double(freeSlots)) : 0;
    return qint64(std::floor(base * gdblKounyuRitu));
}

qint64 getHoyuuKingaku(const QDateTime &fromDate)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select a.予約番号, c.約定金額, c.約定株数"
                                                    " from ttresevation a, ttcontracthistory c"
                                                    " where a.登録日付 >= ?"
                                                    " and (a.処理区分 in (2,3) or a.約定株数買 > a.約定株数売)"
                                                    " and a.銘柄コード = c.銘柄コード"
                                                    " and a.市場コード = c.市場コード"
                                                    " and a.予約番号 = c.予約番号"
                                                    " and c.売買区分 = '1'"));
    st.bind(1, db::dayStartText(fromDate.date()));
    qint64 sum = 0;
    QSet<qint64> positions;
    while (st.step()) {
        sum += st.int64(1) * st.int64(2);
        positions.insert(st.int64(0));
    }
    glngMotiMeigaraCount = int(positions.size());
    return sum;
}

namespace {

// Sales minus purchases over the executions of the finished reservations that `condition`
// (on the reservation c, with one bound value) selects.
qint64 realisedProfit(const QString &condition, const QString &value)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select a.売買区分, a.約定金額, a.約定株数"
                                                    " from ttcontracthistory a, tmbond b, ttresevation c"
                                                    " where ") +
                                     condition +
                                     QStringLiteral(" and c.処理区分 = 9 and c.約定株数買 <= c.約定株数売"
                                                    " and a.銘柄コード = b.銘柄コード"
                                                    " and a.市場コード = b.市場コード"
                                                    " and a.銘柄コード = c.銘柄コード"
                                                    " and a.市場コード = c.市場コード"
                                                    " and a.予約番号 = c.予約番号"));
    st.bind(1, value);
    qint64 total = 0;
    while (st.step()) {
        const qint64 amount = st.int64(1) * st.int64(2);
        total += st.text(0) == QStringLiteral("1") ? -amount : amount;
    }
    return total;
}

} // namespace

qint64 getKakuteiSoneki(const QDateTime &fromDate)
{
    return realisedProfit(QStringLiteral("c.登録日付 >= ?"), db::dayStartText(fromDate.date()));
}

qint64 getKakuteiSonekiSince(const QDateTime &moment)
{
    return realisedProfit(QStringLiteral("c.約定日付売 >= ?"), db::dateTimeText(moment));
}
