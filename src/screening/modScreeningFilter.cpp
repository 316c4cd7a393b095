#include "screening/modScreeningFilter.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/db/DbDate.h"
#include "platform/text/Format.h"

#include <algorithm>
#include <array>

namespace {

// The share of the way from low to high, tested against a band in percent.
bool positionInBand(qint64 price, double low, double high, int switchOn, int lowPercent, int highPercent)
{
    if (switchOn != 1)
        return true;
    const double fromLow = double(price) - low;
    if (fromLow == 0)
        return true;
    if (high == low)
        return false;
    const double ratio = fromLow / (high - low);
    return lowPercent / 100.0 <= ratio && ratio <= highPercent / 100.0;
}

// The latest valid day of the window on which 中期SMA had exactly `value`.
QDate latestDayOfSMAM(const QDate &first, const QDate &last, const QString &code, const QString &market, double value)
{
    db::Statement query = gcnDB.prepare(
        QStringLiteral("select 日付 from ttstocks where 銘柄コード = ? and 市場コード = ? and 日付 >= ? and 日付 <= ?"
                       " and 出来高 >= 0 and 中期SMA = ? order by 日付 desc limit 1"));
    query.bindAll(code, market, first, last, value);
    return query.step() ? query.date(0) : QDate();
}

} // namespace

int getSizyouSu(const Sizyou &m)
{
    const std::array<int, 14> flags{m.SLSizyouT1, m.SLSizyouT2, m.SLSizyouTM, m.SLSizyouO1, m.SLSizyouO2,
                                    m.SLSizyouHC, m.SLSizyouN1, m.SLSizyouN2, m.SLSizyouNS, m.SLSizyouF1,
                                    m.SLSizyouFQ, m.SLSizyouS1, m.SLSizyouSA, m.SLSizyouJS};
    return int(std::count(flags.begin(), flags.end(), 1));
}

QDate getMaxDate(const QDate &day)
{
    db::Statement query = gcnDB.prepare(
        QStringLiteral("select max(日付) from ttstocks where 銘柄コード = ? and 市場コード = ? and 日付 <= ?"));
    query.bindAll(kReferenceCode, kReferenceMarket, day);
    if (!query.step())
        return day;
    const QDate newest = query.date(0);
    return newest.isValid() ? newest : day;
}

KikanMaxMin getKikanMaxMin(const QDate &first, const QDate &last, const QString &code, const QString &market)
{
    db::Statement query =
        gcnDB.prepare(QStringLiteral("select max(調整終値), min(調整終値), max(MACD), min(MACD) from ttstocks"
                                     " where 日付 between ? and ? and 銘柄コード = ? and 市場コード = ?"));
    query.bindAll(first, last, code, market);
    KikanMaxMin window;
    if (!query.step())
        return window;
    window.high = query.real(0);
    window.low = query.real(1);
    window.macdHigh = query.real(2);
    window.macdLow = query.real(3);
    return window;
}

bool checkKikanIti2(qint64 price, double low, double high, const SL &c)
{
    return positionInBand(price, low, high, c.SLSelTakayasu, c.SLWariaiS, c.SLWariaiE);
}

bool checkKikanIti(qint64 value, double low, double high, const SL &c)
{
    return positionInBand(value, low, high, c.SLSelMACDIti, c.SLMACDItiS, c.SLMACDItiE);
}

bool checkKabukaZyouken(qint64 price, double low, double high, const SL &c)
{
    if (c.SLSelNensyorai != 1)
        return true;
    if (c.SLNensyoraiType == 1)
        return double(price) >= high;
    return double(price) <= low;
}

bool getSMAMaxMinDate(const QDate &first, const QDate &last, const QString &code, const QString &market, int trendType,
                      int)
{
    db::Statement extremes = gcnDB.prepare(
        QStringLiteral("select max(中期SMA), min(中期SMA) from ttstocks where 銘柄コード = ? and 市場コード = ?"
                       " and 日付 >= ? and 日付 <= ? and 調整終値 > 0 and 出来高 >= 0 and 中期SMA > 0"));
    extremes.bindAll(code, market, first, last);
    const bool found = extremes.step();
    const double highest = found ? extremes.real(0) : 0;
    const double lowest = found ? extremes.real(1) : 0;
    if (highest <= 0 || lowest <= 0)
        return false;

    const QDate dayOfHighest = latestDayOfSMAM(first, last, code, market, highest);
    const QDate dayOfLowest = latestDayOfSMAM(first, last, code, market, lowest);
    if (!dayOfHighest.isValid() || !dayOfLowest.isValid())
        return false;
    return trendType == 1 ? dayOfHighest > dayOfLowest : dayOfHighest < dayOfLowest;
}

bool checkDouitsuMeigara(const QString &code, const QString &market, const QDate &day, int days)
{
    const QDate from = day.addDays(-days);
    writeLog(glngLogFileNo, QStringLiteral("同一銘柄購入確認対象外範囲:") + text::formatYmdSlash(from) +
                                QStringLiteral(" 00:00:00-") + text::formatYmdSlash(day) + QStringLiteral(" 23:59:59"));
    db::Statement query =
        gcnDB.prepare(QStringLiteral("select 1 from ttcontracthistory where 銘柄コード = ? and 市場コード = ?"
                                     " and 登録日付 <= ? and 登録日付 >= ? limit 1"));
    query.bindAll(code, market, db::dayEndText(day), db::dayStartText(from));
    const bool found = query.step();
    writeLog(glngLogFileNo, found ? QStringLiteral("同一銘柄購入確認対象外確認結果=存在する")
                                  : QStringLiteral("同一銘柄購入確認対象外確認結果=存在しない"));
    return found;
}
