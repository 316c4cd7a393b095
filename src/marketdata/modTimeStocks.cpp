#include "marketdata/modTimeStocks.h"

#include "core/BusyGuard.h"
#include "core/modGlobal.h"
#include "marketdata/modYahoo.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/ChartGrid.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/YieldPacer.h"

#include <QStringList>
#include <QVector>

namespace {

constexpr int kLabelEvery = 50;
constexpr int kGridFactor = 4;
const QColor kLineColor(246, 207, 8);
const QColor kGridColor(0, 0, 192);
constexpr std::chrono::milliseconds kYieldInterval{50};

bool isWeekend(const QDate &day)
{
    return day.dayOfWeek() == Qt::Saturday || day.dayOfWeek() == Qt::Sunday;
}

// The recording window: 09:00 to 15:00 less the lunch break 11:00 to 12:30, as "hhmm" texts.
bool isRecordingTime(const QString &hhmm)
{
    if (hhmm < QStringLiteral("0900") || hhmm > QStringLiteral("1500"))
        return false;
    return !(hhmm >= QStringLiteral("1100") && hhmm <= QStringLiteral("1230"));
}

} // namespace

GenzaitiQuote getGenzaiti(net::Inet &control, const QString &code, const QString &)
{
    yhfBrandCode = code;
    yhfOpen(1);
    yhfRun2(control);
    yhfClose();
    const yhfKabukaRecord &row = yhfKabuka[size_t(yhfCount)];
    GenzaitiQuote quote;
    quote.hour = row.Hour;
    quote.minute = row.Minute;
    quote.open = row.Hazimene;
    quote.high = row.Takane;
    quote.low = row.Yasune;
    quote.price = row.Genzaiti;
    quote.day = QDate(row.Year, row.Month, row.Day);
    quote.timeShown = row.TimeShown;
    return quote;
}

void saveTimeStocks(net::Inet &control, const QDateTime &day, const QString &code, const QString &market)
{
    const QDateTime now = sys::now();
    if (isWeekend(now.date()) || !isRecordingTime(now.toString(QStringLiteral("HHmm"))))
        return;
    const BusyGuard busy(QStringLiteral("現在値の記録"));
    if (!busy.started())
        return;
    const GenzaitiQuote quote = getGenzaiti(control, code, market);
    if (quote.price <= 0 || !quote.timeShown || quote.day != day.date())
        return;
    const QString time = text::formatZeroPadded(quote.hour, 2) + text::formatZeroPadded(quote.minute, 2);

    db::Transaction change(gcnDB);
    gcnDB.execute(
        QStringLiteral("delete from tttimestocks where 銘柄コード = ? and 市場コード = ? and 日付 = ? and 時刻 = ?"),
        code, market, day.date(), time);
    gcnDB.execute(QStringLiteral("insert into tttimestocks (日付,時刻,銘柄コード,現在値,登録日付,更新日付,市場コード)"
                                 " values (?,?,?,?,?,?,?)"),
                  day.date(), time, code, quote.price, now, now, market);
    change.commit();
}

void drawTimeChart(int, const QString &code, const QString &market, const QDateTime &day, ui::Chart2D &chart)
{
    ui::Chart2D::Group &group = chart.group(1);
    chart.setIsBatched(true);
    group.setSeriesCount(0);
    chart.axisX().setAnnotation(ui::Chart2D::Annotation::ValueLabels);

    QStringList times;
    QVector<double> values;
    ui::YieldPacer pacer(kYieldInterval);
    db::Statement points = gcnDB.prepare(QStringLiteral(
        "select 時刻, 現在値 from tttimestocks where 銘柄コード = ? and 市場コード = ? and 日付 = ? and 現在値 > 0"
        " order by 時刻"));
    points.bindAll(code, market, day.date());
    while (values.size() < ui::Chart2D::kMaxPoints && points.step()) {
        times.append(points.text(0));
        values.append(points.real(1));
        if (pacer.due())
            ui::doEvents();
    }

    const int n = int(values.size());
    group.setChartType(ui::Chart2D::ChartType::Lines);
    group.setSeriesCount(1);
    group.setPointCount(n);
    chart.axisX().clearValueLabels();
    for (int i = kLabelEvery; i <= n; i += kLabelEvery) {
        const QString &t = times[i - 1];
        chart.axisX().addValueLabel(i, t.left(2) + u':' + t.mid(2, 2));
    }
    for (int i = 1; i <= n; ++i)
        group.setY(1, i, values[i - 1]);
    group.setLineColor(1, kLineColor);
    group.setLineWidth(1, 1);
    group.setLinePattern(1, ui::Chart2D::LinePattern::Solid);

    // The Y axis takes the bounds the chart computes for its secondary Y axis.
    const double a = chart.axisY2().min();
    const double b = chart.axisY2().max();
    chart.axisY().setMin(a);
    chart.axisY().setMax(b);
    chart.axisY().setGridSpacing(ui::majorGridSpacing(kGridFactor, a, b));
    for (ui::Chart2D::Axis *axis : {&chart.axisX(), &chart.axisY()}) {
        axis->setGridPattern(ui::Chart2D::LinePattern::Solid);
        axis->setGridColor(kGridColor);
    }
    chart.setIsBatched(false);
}
