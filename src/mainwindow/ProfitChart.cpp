#include "mainwindow/ProfitChart.h"

#include "core/Colours.h"
#include "core/modGlobal.h"
#include "mainwindow/ChartSetup.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/Twips.h"

#include <QVector>

#include <algorithm>
#include <cstdlib>

namespace {

using ui::Chart2D;

constexpr int kLeastMonths = 12;
constexpr int kGridFactor = 50;
const QColor kBarFill(0, 128, 192);

struct Month {
    QDate first; // day 1 of the month
    qint64 amount = 0;
    qint64 total = 0;
};

// The months with executions in time order, with their net amounts summed in 64 bits.
// Grouping by year and month keeps the order right across centuries.
QVector<Month> readMonths(const QDate &firstDay, const QDate &lastDay)
{
    db::Statement rows = gcnDB.prepare(QStringLiteral(
        "select strftime('%Y-%m', a.受付日時) as 年月,"
        " sum(case when a.売買区分 in ('1', 1) then -1 else 1 end * a.約定金額 * a.約定株数) as 金額"
        " from ttcontracthistory a join tmbond b on a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード"
        " where a.受付日時 between ? and ? and strftime('%Y-%m', a.受付日時) is not null"
        " group by 年月 order by 年月"));
    rows.bindAll(db::dayStartText(firstDay), db::dayEndText(lastDay));
    QVector<Month> months;
    qint64 total = 0;
    while (months.size() < Chart2D::kMaxPoints && rows.step()) {
        Month month;
        month.first = db::parseDate(rows.text(0) + QStringLiteral("-01"));
        month.amount = rows.int64(1);
        total += month.amount;
        month.total = total;
        months.append(month);
    }
    return months;
}

} // namespace

void drawSyusiChart(int, const QDate &firstDay, const QDate &lastDay, Chart2D &chart)
{
    beginChart(chart, Chart2D::ChartType::Bars, Chart2D::ChartType::Lines);
    Chart2D::Group &bars = chart.group(1);
    Chart2D::Group &line = chart.group(2);

    QVector<Month> months = readMonths(firstDay, lastDay);
    qint64 largest = 0;
    for (const Month &month : std::as_const(months))
        largest = std::max({largest, std::abs(month.amount), std::abs(month.total)});
    if (months.isEmpty()) {
        const QDate today = sys::now().date();
        months.append({QDate(today.year(), today.month(), 1)});
    }
    while (months.size() < kLeastMonths)
        months.append({months.last().first.addMonths(1)});

    const int n = int(months.size());
    for (Chart2D::Group *group : {&bars, &line}) {
        group->setSeriesCount(1);
        group->setPointCount(n);
    }
    chart.axisX().clearValueLabels();
    for (int i = 1; i <= n; ++i) {
        const Month &month = months[i - 1];
        chart.axisX().addValueLabel(i, month.first.toString(QStringLiteral("yy/MM")));
        bars.setY(1, i, double(month.amount));
        line.setY(1, i, double(month.total));
    }

    bars.setFillColor(kBarFill);
    bars.setLineColor(1, ui::colorFromBgr(colours::kSilver));
    bars.setLineWidth(1, 0);
    bars.setLinePattern(1, Chart2D::LinePattern::None);
    line.setLineColor(1, ui::colorFromBgr(colours::kSilver));
    line.setLineWidth(1, 2);
    line.setLinePattern(1, Chart2D::LinePattern::Solid);

    setValueAxes(chart, -double(largest), double(largest), kGridFactor);
    chart.setIsBatched(false);
}
