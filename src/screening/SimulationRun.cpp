#include "screening/SimulationRun.h"

#include "core/modGlobal.h"
#include "core/modLookup.h"
#include "core/modUtil.h"
#include "marketdata/modApplication3.h"
#include "marketdata/modKabukaKikan.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "screening/modPrint.h"
#include "screening/modScreeningFilter.h"
#include "screening/modSelectBrandSim.h"

using namespace std::chrono_literals;

namespace {

// The newest stored day of the reference stock on or before `day`.
QDate referenceDay(const QDate &day)
{
    QDate first;
    QDate last;
    getKabukaKikan(kReferenceCode, kReferenceMarket, day, first, last);
    return last;
}

QString figure(qint64 value)
{
    return padByte(2, text::formatThousands(double(value)), 15);
}

} // namespace

SimulationSettings currentSimulationSettings()
{
    SimulationSettings settings{simBS, simSL, simOD, simSizyou, SMAL, gdtFirstKabukaDate, gdtLastKabukaDate};
    if (getSizyouSu(settings.markets) == 0) {
        settings.markets = Sizyou{.SLSizyouT1 = 1};
        settings.marketsDefaulted = true;
    }
    return settings;
}

SimulationRun::SimulationRun(const SimulationSettings &settings, const jobs::CancelToken &cancel, Hooks hooks)
    : m_settings(settings), m_cancel(cancel), m_hooks(std::move(hooks)), m_pacer(50ms)
{
}

void SimulationRun::yield()
{
    if (m_pacer.due())
        ui::doEvents();
}

bool SimulationRun::run(const QDate &start, const QDate &end)
{
    m_capital = m_settings.base.TousiGanpon;
    m_cash = m_capital;
    m_amountPerPurchase = text::roundHalfEven(double(m_capital) / m_settings.base.KounyuTensu);
    m_held.clear();

    for (QDate day = start; day <= end; day = day.addDays(1)) {
        if (day.dayOfWeek() <= 5) {
            m_hooks.progress(text::formatYmdSlash(day) + QStringLiteral("を処理中"));
            buy(day);
            sell(day);
            // Once a day at least, so that "キャンセル" and the menus answer on any history.
            ui::doEvents();
        }
        if (day.day() == day.daysInMonth())
            writeSummary(day.toString(QStringLiteral("yyyy/MM")) + QStringLiteral("計"), day, false);
        m_hooks.dayDone();
        if (m_cancel.isCancelled())
            break;
    }
    // Taken before the closing block's yields: a cancel pressed while it is written cuts nothing.
    const bool ranWhole = !m_cancel.isCancelled();
    ui::doEvents();
    writeSummary(QStringLiteral("総合計"), end, true);
    return ranWhole;
}

QString SimulationRun::tradeLine(const QDate &day, const QString &code, const QString &name, qint64 price,
                                 qint64 shares, const QString &verb) const
{
    return text::formatYmdSlash(day) + QStringLiteral(" : ") + code + QStringLiteral(" ") + padByte(1, name, 30) +
           QStringLiteral("を") + padByte(2, text::formatThousands(double(price)), 15) + QStringLiteral("円で") +
           padByte(2, text::formatThousands(double(shares)), 9) + QStringLiteral("株") + verb +
           QStringLiteral("約定しました。");
}

namespace {

QString nameWithMarket(const KabukaInfo &info)
{
    return info.companyName.left(10) + QStringLiteral("(") + info.marketName.left(2) + QStringLiteral(")");
}

} // namespace

void SimulationRun::buy(const QDate &day)
{
    const int purchaseSlots = m_settings.base.KounyuTensu;
    const QDate screeningDay = referenceDay(day.addDays(-1));
    const std::vector<SimCandidate> candidates =
        selectBrandSim(screeningDay, purchaseSlots - int(m_held.size()), m_settings.base, m_settings.condition,
                       m_settings.order, m_settings.markets, m_cancel);

    for (const SimCandidate &candidate : candidates) {
        if (int(m_held.size()) >= purchaseSlots)
            break;
        yield();
        // One position per stock code, whatever its market.
        const bool held = std::any_of(m_held.begin(), m_held.end(),
                                      [&](const Position &position) { return position.code == candidate.code; });
        if (held)
            continue;
        KabukaInfo info;
        if (getKabukaInfo(candidate.code, candidate.market, day, info) == 0)
            continue;
        qint64 shares = info.open > 0 ? text::roundHalfEven(double(m_amountPerPurchase) / info.open) : 0;
        const qint64 unit = info.unitShares;
        shares = unit > shares || unit <= 0 ? 0 : shares / unit * unit;
        const qint64 price = getYobineTani((info.high - info.low) / 2 + info.low);
        // A price of 0 (a row without prices) would buy for nothing.
        if (m_cash - shares * price <= 0 || shares <= 0 || price <= 0)
            continue;
        m_held.push_back({candidate.code, candidate.market, price, shares, day});
        m_hooks.addLine(tradeLine(day, candidate.code, nameWithMarket(info), price, shares, QStringLiteral("買")));
        m_cash -= shares * price;
    }
}

void SimulationRun::sell(const QDate &day)
{
    const OD &order = m_settings.order;
    std::vector<Position> kept;
    for (const Position &position : m_held) {
        yield();
        KabukaInfo info;
        if (getKabukaInfo(position.code, position.market, day, info) == 0) {
            kept.push_back(position);
            continue;
        }
        const double mid = info.high != 0 || info.low != 0 ? (info.high - info.low) / 2 + info.low : info.close;
        const qint64 price = getYobineTani(mid);
        // The gain is weighed against the rates in whole numbers, as gain * 100 against rate *
        // buy price: a quotient in floating point misses exact rates ((1,290 - 1,000) / 1,000 *
        // 100 is 28.999..., (930 - 1,000) / 1,000 * 100 is -7.000...1).
        const qint64 gainTimes100 = (price - position.buyPrice) * 100;
        const qint64 heldDays = position.buyDate.daysTo(day);
        const bool sold =
            double(gainTimes100) >= order.ODRiekiWariaiUri1 * double(position.buyPrice) ||
            (order.ODSongiriTypeUri1 == 2 && heldDays > order.ODSongiriDUri1) ||
            (order.ODSongiriTypeUri1 == 1 && gainTimes100 < -qint64(order.ODSongiriWariaiUri1) * position.buyPrice);
        if (!sold) {
            kept.push_back(position);
            continue;
        }
        m_hooks.addLine(
            tradeLine(day, position.code, nameWithMarket(info), price, position.shares, QStringLiteral("売")));
        m_cash += position.shares * price;
    }
    m_held = std::move(kept);
    yield();
}

qint64 SimulationRun::holdingsValue(const QDate &valuationDay)
{
    const QDate priceDay = referenceDay(valuationDay);
    qint64 value = 0;
    for (const Position &position : m_held) {
        yield();
        KabukaInfo info;
        getKabukaInfo(position.code, position.market, priceDay, info);
        // The running sum is rounded position by position, as a whole-yen total kept so.
        value = text::roundHalfEven(double(value) + double(position.shares) * info.close);
    }
    return value;
}

void SimulationRun::writeSummary(const QString &title, const QDate &valuationDay, bool closing)
{
    m_hooks.addLine(printRule());
    m_hooks.addLine(title);
    const qint64 holdings = holdingsValue(valuationDay);
    const qint64 total = m_cash + holdings;
    m_hooks.addLine(QStringLiteral("元　本") + figure(m_capital));
    m_hooks.addLine(QStringLiteral("現　金") + figure(m_cash));
    m_hooks.addLine(QStringLiteral("持ち株") + figure(holdings));
    m_hooks.addLine(QStringLiteral("合　計") + figure(total));
    m_hooks.addLine(
        QStringLiteral("利益率") +
        padByte(2, text::formatThousands(double(total) / double(m_capital) * 100) + QStringLiteral("%"), 15));
    m_hooks.addLine(closing ? QStringLiteral(" ") : QString());
}
