#include "marketdata/modKabuka.h"

#include "core/BusyGuard.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/StockCode.h"
#include "marketdata/UpdateJournal.h"
#include "marketdata/modCalc.h"
#include "marketdata/modMarket.h"
#include "marketdata/modinfoseek.h"
#include "platform/db/DbDate.h"
#include "platform/net/Transfer.h"
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

std::optional<PriceLimitBand> priceLimitBand(double basePrice)
{
    db::Statement st = gcnDB.prepare(
        QStringLiteral("select 制限値幅上場株 from tmpricerange where 基準値開始 <= ? and ? < 基準値終了 + 1 limit 1"));
    st.bindAll(basePrice, basePrice);
    if (!st.step())
        return std::nullopt;
    const double width = st.real(0);
    return PriceLimitBand{std::max(0.0, basePrice - width), basePrice + width};
}

void getSeigenNehaba(qint64 basePrice, qint64 &lowerLimit, qint64 &upperLimit)
{
    lowerLimit = upperLimit = 0;
    if (const std::optional<PriceLimitBand> band = priceLimitBand(double(basePrice))) {
        upperLimit = text::roundHalfEven(band->upper);
        lowerLimit = text::roundHalfEven(band->lower);
    }
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

std::optional<IskRejectedRow> rejectedRowOfDay(const QDate &day)
{
    for (const IskRejectedRow &row : iskRejected)
        if (QDate(row.Year, row.Month, row.Day) == day)
            return row;
    return std::nullopt;
}

// Why a stock-day's page gave nothing, as the log line's text.
QString pageFailure(const QString &dayText, const QString &code, int error)
{
    const QString stockDay = dayText + QStringLiteral("分の") + code + QStringLiteral("の株価");
    switch (error) {
    case kIskUnreadablePage:
        return stockDay + QStringLiteral("のページを読み取れませんでした");
    case kIskOtherStockPage:
        return stockDay + QStringLiteral("のページとして別の銘柄のページが返されました");
    case net::kErrorBodyTooLarge:
        return stockDay + QStringLiteral("のページが大きすぎるため読みませんでした");
    case net::kErrorForeignRedirect:
        return stockDay + QStringLiteral("のページが別のホストへ転送されたため読みませんでした");
    default:
        return stockDay + QStringLiteral("情報を取得できませんでした(エラーコード:%1)").arg(error);
    }
}

// One import run. Pages are fetched outside any transaction (a fetch serves window
// events, and a timer's writes must not land in an open change); the rows that arrived are
// written together whenever the run yields and at the end of each day, each stock-day's
// replacement inside that one transaction, with the update journal's note of how far the
// import has come. A deferred run stores nothing until store() is called.
class ImportRun {
public:
    ImportRun(net::Inet &control, QLabel &label, const QDateTime &started, const KabukaImportOptions &options,
              bool deferred)
        : m_control(control), m_label(label), m_options(options), m_deferred(deferred),
          m_stamp(db::dateTimeText(started)),
          m_replace(gcnDB.prepare(QStringLiteral(
              "update ttstocks set 終値 = ?, 始値 = ?, 安値 = ?, 高値 = ?, 出来高 = ?, 調整終値 = ?, 分割区分 = ?,"
              " 登録日付 = ?, 更新日付 = ? where 銘柄コード = ? and 市場コード = ? and 日付 = ?"))),
          m_insert(gcnDB.prepare(QStringLiteral(
              "insert into ttstocks (銘柄コード, 日付, 終値, 始値, 安値, 高値, 出来高, 調整終値, 上昇幅, 下落幅,"
              " 分割区分, 登録日付, 更新日付, 市場コード) values (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, ?, ?, ?, ?)")))
    {
    }

    // Imports the stocks of one day; false when the import has to stop.
    bool importDay(const QDate &day, const std::vector<StockKey> &stocks)
    {
        const QString dayText = text::formatYmdSlash(day);
        int failed = 0;
        bool carryOn = true;
        for (const StockKey &stock : stocks) {
            if (!importStockDay(day, dayText, stock, failed) || stopRequested()) {
                carryOn = false;
                break;
            }
        }
        if (!m_deferred)
            store();
        if (failed > 0)
            writeLog(glngLogFileNo,
                     dayText + QStringLiteral("分の株価情報を%1銘柄取得できませんでした。登録済みの株価はそのままです")
                                   .arg(failed));
        m_result.failedPages += failed;
        ui::doEvents();
        return carryOn;
    }

    // Stores every row that arrived in one transaction (also a deferred run's).
    void store()
    {
        if (m_pending.empty() && !m_positionMoved)
            return;
        db::Transaction change(gcnDB);
        for (const Arrived &a : m_pending)
            storeRow(a);
        if (m_positionMoved)
            noteUpdateImported(m_position.day, m_position.stock.code, m_position.stock.market);
        change.commit();
        m_pending.clear();
        m_positionMoved = false;
    }

    void stop() { m_result.stopped = true; }

    KabukaImport result() const { return m_result; }

private:
    struct Arrived {
        StockKey stock;
        QDate day;
        iskKabukaRecord row;
    };
    struct Position {
        QDate day;
        StockKey stock;
    };

    // One stock's page of one day; false when the site is taken for down.
    bool importStockDay(const QDate &day, const QString &dayText, const StockKey &stock, int &failed)
    {
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
        if (const int error = iskClose(); error != 0) {
            ++failed;
            writeLog(glngLogFileNo, pageFailure(dayText, stock.code, error));
            if (!m_deadSite.noPage())
                return true;
            reportDeadSite(QStringLiteral("株価情報"), QStringLiteral("株価情報の取得"), QStringLiteral("株価"));
            stop();
            return false;
        }
        m_deadSite.pageCame();
        // The stock-day is done whatever its page held; failures before it stay as they are.
        m_position = {day, stock};
        m_positionMoved = m_options.journaled;
        if (const std::optional<iskKabukaRecord> row = rowOfDay(day)) {
            m_label.setText(stock.code + QStringLiteral("の株価情報(") + dayText + QStringLiteral("分)を登録中です"));
            m_pending.push_back({stock, day, *row});
        } else if (const std::optional<IskRejectedRow> bad = rejectedRowOfDay(day)) {
            ++failed;
            writeLog(glngLogFileNo, dayText + QStringLiteral("分の") + stock.code + QStringLiteral("の株価は") +
                                        bad->column + QStringLiteral("「") + bad->cell +
                                        QStringLiteral("」が正しくないため登録しませんでした"));
        }
        return true;
    }

    bool stopRequested()
    {
        if (!m_options.stopRequested || !m_options.stopRequested())
            return false;
        stop();
        return true;
    }

    void yieldIfDue()
    {
        if (!m_pacer.due())
            return;
        if (!m_deferred)
            store();
        ui::doEvents();
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
    const KabukaImportOptions &m_options;
    const bool m_deferred;
    const QString m_stamp; // 登録日付 and 更新日付 of every row of the run
    db::Statement m_replace;
    db::Statement m_insert;
    std::vector<Arrived> m_pending;
    Position m_position;
    bool m_positionMoved = false;
    DeadSiteRule m_deadSite;
    ui::YieldPacer m_pacer{50ms};
    KabukaImport m_result;
};

// Runs `run` over the trading days of start..end; a journaled run skips what is done.
void importDays(ImportRun &run, const QDate &start, const QDate &end, const QString &oneCode, const QString &market,
                const std::optional<UpdateJournal> &journal)
{
    for (QDate day = start; day <= end; day = day.addDays(1)) {
        if (!isTradingDay(day) || (journal && journal->doneDay.isValid() && day < journal->doneDay))
            continue;
        std::vector<StockKey> stocks = stocksToImport(oneCode, market);
        if (journal)
            std::erase_if(stocks, [&](const StockKey &s) { return journal->imported(day, s.code, s.market); });
        if (!run.importDay(day, stocks))
            return;
    }
}

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
                       const QString &market, const KabukaImportOptions &options)
{
    if (!start.isValid() || !end.isValid())
        return {};
    const BusyGuard busy(QStringLiteral("株価情報の取得"));
    if (!busy.started())
        return {.stopped = true}; // another job runs: nothing is imported, and nothing counts as done
    ImportRun run(control, label, sys::now(), options, false);
    importDays(run, start, end, text::trimSpaces(code), market, options.journaled ? readUpdateJournal() : std::nullopt);
    return run.result();
}

bool getBunkatuKabuka(net::Inet &control, QLabel &label, const QDate &start, const QDate &end, const QString &code,
                      const QString &market, const KabukaImportOptions &options)
{
    if (!start.isValid() || !end.isValid())
        return true;
    const BusyGuard busy(QStringLiteral("分割株価情報の取得"));
    if (!busy.started())
        return false;
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

    const KabukaImportOptions reimport{.journaled = false, .stopRequested = options.stopRequested};
    for (const auto &[stock, days] : flagged) {
        label.setText(text::formatYmdSlash(days.front()) + QStringLiteral("分の") + stock.code +
                      QStringLiteral("の分割株価情報を取得中です。"));
        ui::doEvents();
        ImportRun run(control, label, sys::now(), reimport, true);
        importDays(run, start, end, stock.code, stock.market, std::nullopt);
        const KabukaImport imported = run.result();
        if (imported.stopped)
            return false;
        if (imported.failedPages > 0) {
            writeLog(glngLogFileNo,
                     stock.code + QStringLiteral("の分割株価情報を取得できませんでした。次回再取得します"));
            continue;
        }
        // Marked only after the recalculation: a pass cut short does the stock again.
        run.store();
        calcKabuka(1, start, end, stock.code, stock.market, &label);
        markSplitHandled(stock, days);
    }
    return true;
}
