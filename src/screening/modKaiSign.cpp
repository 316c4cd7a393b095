#include "screening/modKaiSign.h"

#include "core/modGlobal.h"

#include <vector>

bool checkKaiSign(const QDate &day, const QString &code, const QString &market, double macd, double signal,
                  double rciShort, double rciMiddle, qint64 volume, const SL &condition)
{
    QString sql = QStringLiteral("select 出来高 from ttstocks where 日付 = ? and 銘柄コード = ? and 市場コード = ?"
                                 " and 調整終値 > 0 and 出来高 > 0 and 分割区分 = 0");
    std::vector<double> bounds;
    if (condition.SLSelMACD == 1) {
        sql += QStringLiteral(" and MACD < ? and MACDシグナル > ? and MACD < MACDシグナル");
        bounds.insert(bounds.end(), {macd, signal});
    }
    if (condition.SLSelRCI == 1) {
        sql += QStringLiteral(" and 短期RCI < ? and 中期RCI > ? and 短期RCI < 中期RCI");
        bounds.insert(bounds.end(), {rciShort, rciMiddle});
    }
    db::Statement query = gcnDB.prepare(sql);
    query.bindAll(day, code, market);
    int index = 3;
    for (const double bound : bounds)
        query.bind(++index, bound);
    if (!query.step())
        return false;

    if (condition.SLSelDekidakaKyutou == 1 && condition.SLDekidakaKyutou != 0) {
        const double earlierVolume = double(query.int64(0));
        return earlierVolume <= double(volume) / condition.SLDekidakaKyutou;
    }
    return true;
}
