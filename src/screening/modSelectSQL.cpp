#include "screening/modSelectSQL.h"

#include "core/modNimbraCommon.h"
#include "screening/ScreeningRandom.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

// The most one trading unit of a candidate may cost, in yen.
constexpr qint64 kMaxUnitPrice = 5000000;

// The market codes each flag stands for, in the order of the record.
QStringList tickedMarketCodes(const Sizyou &m)
{
    const std::array<std::pair<int, QStringList>, 14> groups{{
        {m.SLSizyouT1, {QStringLiteral("t1")}},
        {m.SLSizyouT2, {QStringLiteral("t2")}},
        {m.SLSizyouTM, {QStringLiteral("tm")}},
        {m.SLSizyouO1, {QStringLiteral("o1")}},
        {m.SLSizyouO2, {QStringLiteral("o2")}},
        {m.SLSizyouHC, {QStringLiteral("hc1"), QStringLiteral("hc2")}},
        {m.SLSizyouN1, {QStringLiteral("n1")}},
        {m.SLSizyouN2, {QStringLiteral("n2")}},
        {m.SLSizyouNS, {QStringLiteral("ns")}},
        {m.SLSizyouF1, {QStringLiteral("f1"), QStringLiteral("f2")}},
        {m.SLSizyouFQ, {QStringLiteral("fq")}},
        {m.SLSizyouS1, {QStringLiteral("s1"), QStringLiteral("s2")}},
        {m.SLSizyouSA, {QStringLiteral("sa")}},
        {m.SLSizyouJS, {QStringLiteral("js")}},
    }};
    QStringList codes;
    for (const auto &[flag, group] : groups)
        if (flag == 1)
            codes << group;
    return codes;
}

// The columns of the result, each under its own name.
const QStringList &resultColumns()
{
    static const QStringList columns{
        QStringLiteral("0 as 空売区分"),
        QStringLiteral("a.銘柄コード as 銘柄コード"),
        QStringLiteral("a.調整終値 as 調整終値"),
        QStringLiteral("a.終値 as 終値"),
        QStringLiteral("a.短期SMA as 短期SMA"),
        QStringLiteral("a.中期SMA as 中期SMA"),
        QStringLiteral("a.長期SMA as 長期SMA"),
        QStringLiteral("a.MACD as MACD"),
        QStringLiteral("a.MACDシグナル as MACDシグナル"),
        QStringLiteral("a.出来高 as 出来高"),
        QStringLiteral("a.RSI as RSI"),
        QStringLiteral("a.短期RCI as 短期RCI"),
        QStringLiteral("a.中期RCI as 中期RCI"),
        QStringLiteral("b.会社名 as 会社名"),
        QStringLiteral("b.単元株数 as 単元株数"),
        QStringLiteral("b.市場コード as 市場コード"),
        QStringLiteral("c.市場名略称 as 市場名略称"),
        QStringLiteral("c.ランク as ランク"),
    };
    return columns;
}

// The sort keys the draw chooses from: the inner draw takes one of the first four, the
// outer draw one of all five. They name the columns through the alias a, which is
// ttstocks in the inner query and the chosen rows in the outer one.
const std::array<QString, 5> kSortKeys{
    QStringLiteral("(a.調整終値 * 1.0 / a.短期SMA) - (a.調整終値 * 1.0 / a.中期SMA) desc"),
    QStringLiteral("a.調整終値 * 1.0 / a.中期SMA"),
    QStringLiteral("a.調整終値 * 1.0 / a.長期SMA"),
    QStringLiteral("a.MACDシグナル"),
    QStringLiteral("a.出来高 * a.調整終値 / 1000000.0 desc"),
};
const QString kFixedSortKey = kSortKeys[1];

// Collects the text and, in step with it, the values of its placeholders.
class QueryText {
public:
    template <typename T>
    QueryText &operator()(const QString &text, T value)
    {
        m_query.sql += text;
        m_query.values.emplace_back(value);
        return *this;
    }
    QueryText &operator()(const QString &text)
    {
        m_query.sql += text;
        return *this;
    }
    ScreeningQuery take() { return std::move(m_query); }

private:
    ScreeningQuery m_query;
};

// An open range: written with both comparisons when either bound is nonzero.
template <typename T>
void openRange(QueryText &q, const QString &column, T low, T high)
{
    if (low == 0 && high == 0)
        return;
    q(QStringLiteral(" and ") + column + QStringLiteral(" > ?"), low);
    q(QStringLiteral(" and ") + column + QStringLiteral(" < ?"), high);
}

// A deviation band of the adjusted close from an average, in percent of the average.
void deviationBand(QueryText &q, const QString &average, double low, double high)
{
    if (low == 0 && high == 0)
        return;
    const QString distance = QStringLiteral(" and (a.調整終値 - ") + average + QStringLiteral(")");
    const QString percent = QStringLiteral(" * ") + average + QStringLiteral(" / 100.0");
    q(distance + QStringLiteral(" >= ?") + percent, low);
    q(distance + QStringLiteral(" <= ?") + percent, high);
}

void conditions(QueryText &q, const QDate &day, const SL &sl, const Sizyou &markets)
{
    q(QStringLiteral(" from ttstocks a, tmbond b, tmmarket c"));
    q(QStringLiteral(" where a.日付 = ?"), day);
    q(QStringLiteral(" and a.市場コード in ('") + tickedMarketCodes(markets).join(QStringLiteral("','")) +
      QStringLiteral("')"));
    q(QStringLiteral(" and a.調整終値 > 0"));
    q(QStringLiteral(" and a.調整終値 > ?"), qint64(glngSaiteiKabuka));
    q(QStringLiteral(" and a.調整終値 * b.単元株数 <= ?"), kMaxUnitPrice);
    q(QStringLiteral(" and a.出来高 > 0 and a.分割区分 = 0 and b.対象外区分 = 0 and b.管理ポスト区分 = 0"
                     " and a.短期SMA > 0"));

    if (sl.SLBaibaidaikin != 0)
        q(QStringLiteral(" and a.出来高 * a.調整終値 / 1000000.0 >= ?"), qint64(sl.SLBaibaidaikin));
    deviationBand(q, QStringLiteral("a.短期SMA"), sl.SLSMASWariKaiS, sl.SLSMASWariKaiE);
    deviationBand(q, QStringLiteral("a.中期SMA"), sl.SLSMAMWariKaiS, sl.SLSMAMWariKaiE);
    deviationBand(q, QStringLiteral("a.長期SMA"), sl.SLSMALWariKaiS, sl.SLSMALWariKaiE);
    if (sl.SLMACDSpanS != 0 || sl.SLMACDSpanE != 0)
        q(QStringLiteral(" and a.MACD > a.MACDシグナル"));
    openRange(q, QStringLiteral("a.MACD"), sl.SLMACDSpanS, sl.SLMACDSpanE);
    openRange(q, QStringLiteral("a.短期RCI"), qint64(sl.SLRCISS), qint64(sl.SLRCISE));
    openRange(q, QStringLiteral("a.中期RCI"), qint64(sl.SLRCIMS), qint64(sl.SLRCIME));
    openRange(q, QStringLiteral("a.RSI"), sl.SLRSIS, sl.SLRSIE);
    openRange(q, QStringLiteral("a.VRA"), sl.SLSVRAWariKaiS, sl.SLSVRAWariKaiE);
    openRange(q, QStringLiteral("a.VRB"), sl.SLSVRBWariKaiS, sl.SLSVRBWariKaiE);

    q(QStringLiteral(" and a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード"
                     " and a.市場コード = c.市場コード"));
}

// Rows chosen by market rank and `key`; ties by stock code and market, so the same data
// always gives the same rows. `rank` names the rank column where the order is applied.
QString chosenOrder(const QString &key, const QString &rank = QStringLiteral("c.ランク"))
{
    return rank + QStringLiteral(", ") + key + QStringLiteral(", a.銘柄コード, a.市場コード");
}

// A negative limit would read as "no limit" in SQLite.
qint64 rowLimit()
{
    return std::max<qint64>(0, qint64(sysBS.KounyuTensu) + 2);
}

} // namespace

ScreeningQuery makeSelectSQL(const QDate &day, const BS &, const SL &condition, const OD &, const Sizyou &markets)
{
    QueryText q;
    const QString columns = resultColumns().join(QStringLiteral(", "));
    if (glngSelRandom != 1) {
        q(QStringLiteral("select ") + columns);
        conditions(q, day, condition, markets);
        q(QStringLiteral(" order by ") + chosenOrder(kFixedSortKey) + QStringLiteral(" limit ?"), rowLimit());
        return q.take();
    }

    const ScreeningKeys keys = ScreeningRandom::draw();
    const QString innerKey = kSortKeys[size_t(std::clamp(keys.inner, 0, 3))];
    const QString outerKey = kSortKeys[size_t(std::clamp(keys.outer, 0, 4))];
    QStringList outerColumns;
    for (const QString &column : resultColumns())
        outerColumns << QStringLiteral("a.") + column.section(QStringLiteral(" as "), 1);
    // The order is total (stock code and market are unique on a day), so numbering only
    // the chosen rows gives each the number it has among all rows of the day, while the
    // day's rows are ranked by a bounded sort instead of a numbered sort of all of them.
    q(QStringLiteral("select ") + outerColumns.join(QStringLiteral(", ")) +
      QStringLiteral(" from (select a.*, row_number() over (order by ") +
      chosenOrder(innerKey, QStringLiteral("a.ランク")) + QStringLiteral(") as 選択順 from (select ") + columns);
    conditions(q, day, condition, markets);
    q(QStringLiteral(" order by ") + chosenOrder(innerKey) + QStringLiteral(" limit ?"), rowLimit());
    q(QStringLiteral(") as a) as a order by ") + outerKey + QStringLiteral(", a.選択順"));
    return q.take();
}
