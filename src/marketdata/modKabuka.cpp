#include "marketdata/modKabuka.h"

#include "core/BusyGuard.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/StockCode.h"
#include "marketdata/modCalc.h"
#include "marketdata/modMarket.h"
#include "marketdata/modinfoseek.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/YieldPacer.h"

#include <QLabel>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

void getSeigenNehaba(qint64 basePrice, qint64 &lowerLimit, qint64 &upperLimit)
{
    db::Statement st = gcnDB.prepare(
        QStringLiteral("select 制限値幅上場株 from tmpricerange where 基準値開始 <= ? and 基準値終了 >= ? limit 1"));
    st.bindAll(basePrice, basePrice);
    lowerLimit = upperLimit = 0;
    if (!st.step())
        return;
    const double width = st.real(0);
    upperLimit = text::roundHalfEven(double(basePrice) + width);
    lowerLimit = std::max<qint64>(0, text::roundHalfEven(double(basePrice) - width));
}

namespace {

using namespace std::chrono_literals;

// The stocks to import: all of tmbond, or the one stock when the code is not blank.
std::vector<StockKey> stocksToImport(const QString &oneCode, const QString &market)
{
    QString sql = QStringLiteral("select 銘柄コード, 市場コード from tmbond");
    if (!oneCode.isEmpty())
        sql += QStringLiteral(" where 銘柄コード = ? and 市場コード = ?");
    sql += QStringLiteral(" order by 銘柄コード, 市場コード");
    db::Statement query = gcnDB.prepare(sql);
    if (!oneCode.isEmpty())
        query.bindAll(oneCode, market);
    std::vector<StockKey> stocks;
    while (query.step())
        stocks.push_back({query.text(0), query.text(1)});
    return stocks;
}

// The history row of the day itself: the page may also list earlier (and later) days.
std::optional<iskKabukaRecord> rowOfDay(const QDate &day)
{
    for (int r = 1; r <= iskCount; ++r) {
        const iskKabukaRecord &row = iskKabuka[size_t(r)];
        if (QDate(row.Year, row.Month, row.Day) == day)
            return row;
    }
    return std::nullopt;
}

// One import run. Pages are fetched outside any transaction (a fetch serves window
// events, and a timer's writes must not land in an open change); the rows that arrived are
// written together whenever the run yields and at the end of each day, each stock-day's
// replacement inside that one transaction.
class ImportRun {
public:
    ImportRun(net::Inet &control, QLabel &label, const QDateTime &started)
        : m_control(control), m_label(label), m_stamp(db::dateTimeText(started)),
          m_replace(gcnDB.prepare(QStringLiteral(
              "update ttstocks set 終値 = ?, 始値 = ?, 安値 = ?, 高値 = ?, 出来高 = ?, 調整終値 = ?, 分割区分 = ?,"
              " 登録日付 = ?, 更新日付 = ? where 銘柄コード = ? and 市場コード = ? and 日付 = ?"))),
          m_insert(gcnDB.prepare(QStringLiteral(
              "insert into ttstocks (銘柄コード, 日付, 終値, 始値, 安値, 高値, 出来高, 調整終値, 上昇幅, 下落幅,"
              " 分割区分, 登録日付, 更新日付, 市場コード) values (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, ?, ?, ?, ?)")))
    {
    }

    void importDay(const QDate &day, const std::vector<StockKey> &stocks)
    {
        const QString dayText = text::formatYmdSlash(day);
        int failed = 0;
        for (const StockKey &stock : stocks) {
            m_label.setText(dayText + QStringLiteral("分の") + stock.code + QStringLiteral("の株価情報を取得中です"));
            yieldIfDue();
            // Set right before the request: the screening keeps working values in the end date.
            iskStartYear = iskEndYear = day.year();
            iskStartMonth = iskEndMonth = day.month();
            iskStartDay = iskEndDay = day.day();
            iskBrandCode = stock.code;
            iskSizyouCode = stock.market;
            iskOpen(2);
            iskRun(m_control);
            if (iskClose() != 0) {
                ++failed;
                continue;
            }
            if (const std::optional<iskKabukaRecord> row = rowOfDay(day)) {
                m_label.setText(stock.code + QStringLiteral("の株価情報(") + dayText +
                                QStringLiteral("分)を登録中です"));
                m_pending.push_back({stock, day, *row});
            }
        }
        store();
        if (failed > 0)
            writeLog(glngLogFileNo,
                     dayText + QStringLiteral("分の株価情報を%1銘柄取得できませんでした。登録済みの株価はそのままです")
                                   .arg(failed));
        m_result.failedPages += failed;
        ui::doEvents();
    }

    KabukaImport result() const { return m_result; }

private:
    struct Arrived {
        StockKey stock;
        QDate day;
        iskKabukaRecord row;
    };

    void yieldIfDue()
    {
        if (!m_pacer.due())
            return;
        store();
        ui::doEvents();
    }

    // Writes the rows that arrived since the last store in one transaction.
    void store()
    {
        if (m_pending.empty())
            return;
        db::Transaction change(gcnDB);
        for (const Arrived &a : m_pending)
            storeRow(a);
        change.commit();
        m_pending.clear();
    }

    void storeRow(const Arrived &a)
    {
        const iskKabukaRecord &r = a.row;
        const qint64 open = r.Hazimene.toLongLong();
        m_replace.reset();
        m_replace.bindAll(r.Owarine, open, r.Yasune, r.Takane, r.Dekidaka, double(r.TyouseiOwarine), r.BunkatuKubun,
                          m_stamp, m_stamp, a.stock.code, a.stock.market, a.day);
        m_replace.run();
        if (gcnDB.changes() > 0) {
            ++m_result.replacedRows;
            return;
        }
        m_insert.reset();
        m_insert.bindAll(a.stock.code, a.day, r.Owarine, open, r.Yasune, r.Takane, r.Dekidaka, double(r.TyouseiOwarine),
                         r.BunkatuKubun, m_stamp, m_stamp, a.stock.market);
        m_insert.run();
        ++m_result.newRows;
    }

    net::Inet &m_control;
    QLabel &m_label;
    const QString m_stamp; // 登録日付 and 更新日付 of every row of the run
    db::Statement m_replace;
    db::Statement m_insert;
    std::vector<Arrived> m_pending;
    ui::YieldPacer m_pacer{50ms};
    KabukaImport m_result;
};

void markSplitHandled(const StockKey &stock, const std::vector<QDate> &days)
{
    db::Transaction marks(gcnDB);
    db::Statement mark = gcnDB.prepare(
        QStringLiteral("update ttstocks set 分割区分 = 1 where 銘柄コード = ? and 市場コード = ? and 日付 = ?"));
    for (const QDate &day : days) {
        mark.reset();
        mark.bindAll(stock.code, stock.market, day);
        mark.run();
    }
    marks.commit();
}

} // namespace

KabukaImport getKabuka(net::Inet &control, QLabel &label, const QDate &start, const QDate &end, const QString &code,
                       const QString &market)
{
    if (!start.isValid() || !end.isValid())
        return {};
    const BusyGuard busy(QStringLiteral("株価情報の取得"));
    if (!busy.started())
        return {};
    ImportRun run(control, label, sys::now());
    const QString oneCode = text::trimSpaces(code);
    for (QDate day = start; day <= end; day = day.addDays(1)) {
        if (isTradingDay(day))
            run.importDay(day, stocksToImport(oneCode, market));
    }
    return run.result();
}

void getBunkatuKabuka(net::Inet &control, QLabel &label, const QDate &start, const QDate &end, const QString &code,
                      const QString &market)
{
    const BusyGuard busy(QStringLiteral("分割株価情報の取得"));
    if (!busy.started())
        return;
    const QString oneCode = text::trimSpaces(code);
    QString sql = QStringLiteral("select 銘柄コード, 市場コード, 日付 from ttstocks where 分割区分 = 2");
    if (!oneCode.isEmpty())
        sql += QStringLiteral(" and 銘柄コード = ? and 市場コード = ?");
    sql += QStringLiteral(" order by 銘柄コード, 市場コード, 日付");

    // Collected before the re-imports, which replace rows of the same table.
    std::map<StockKey, std::vector<QDate>> flagged;
    {
        db::Statement query = gcnDB.prepare(sql);
        if (!oneCode.isEmpty())
            query.bindAll(oneCode, market);
        while (query.step())
            flagged[{query.text(0), query.text(1)}].push_back(query.date(2));
    }

    for (const auto &[stock, days] : flagged) {
        label.setText(text::formatYmdSlash(days.front()) + QStringLiteral("分の") + stock.code +
                      QStringLiteral("の分割株価情報を取得中です。"));
        ui::doEvents();
        const KabukaImport imported = getKabuka(control, label, start, end, stock.code, stock.market);
        if (imported.failedPages > 0) {
            writeLog(glngLogFileNo,
                     stock.code + QStringLiteral("の分割株価情報を取得できませんでした。次回再取得します"));
            continue;
        }
        markSplitHandled(stock, days);
        calcKabuka(1, start, end, stock.code, stock.market, &label);
    }
}
