#include "mainwindow/PriceChart.h"

#include "core/Colours.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "mainwindow/ChartSetup.h"
#include "mainwindow/SelectedStock.h"
#include "platform/text/VbText.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/Twips.h"

#include <QVector>

#include <algorithm>
#include <array>

namespace {

using ui::Chart2D;

constexpr int kShortDays = 60;
constexpr int kLongDays = 180;
constexpr int kWideCandle = 8;
constexpr int kNarrowCandle = 3;
constexpr int kLabelEvery = 10;
constexpr int kGridFactor = 4;
// Where the extremes start: any real price lies between them.
constexpr double kHighestStart = 0;
constexpr double kLowestStart = 100000000;

// One trading day: the candle's high, low, open and close on the adjusted scale, and the
// two moving averages.
struct PricePoint {
    QDate day;
    std::array<double, 4> candle{};
    double shortAverage = 0;
    double mediumAverage = 0;
};

QVector<PricePoint> readPoints(const QString &code, const QString &market, const QDate &firstDay, const QDate &lastDay)
{
    // A day without a positive close cannot be put on the adjusted scale, like a day
    // without a complete positive price or without volume: it gives no point.
    db::Statement rows = gcnDB.prepare(QStringLiteral(
        "select a.日付, a.高値, a.安値, a.始値, a.終値, a.調整終値, a.短期SMA, a.中期SMA"
        " from ttstocks a join tmbond b on a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード"
        " where a.銘柄コード = ? and a.市場コード = ? and a.日付 between ? and ?"
        " and a.調整終値 > 0 and a.出来高 > 0 and a.始値 > 0 and a.安値 > 0 and a.高値 > 0 and a.終値 > 0"
        " order by a.日付"));
    rows.bindAll(code, market, firstDay, lastDay);
    QVector<PricePoint> points;
    while (points.size() < Chart2D::kMaxPoints && rows.step()) {
        const double scale = rows.real(5) / rows.real(4);
        PricePoint point;
        point.day = rows.date(0);
        point.candle = {rows.real(1) * scale, rows.real(2) * scale, rows.real(3) * scale, rows.real(5)};
        point.shortAverage = rows.real(6);
        point.mediumAverage = rows.real(7);
        points.append(point);
    }
    return points;
}

void setStyle(Chart2D::Group &group, int series, long bgr, int width)
{
    group.setLineColor(series, ui::colorFromBgr(bgr));
    group.setLineWidth(series, width);
    group.setLinePattern(series, Chart2D::LinePattern::Solid);
}

} // namespace

void drawKabukaChart(int period, const QString &code, const QString &market, const QDate &firstDay,
                     const QDate &lastDay, Chart2D &chart)
{
    const int candleWidth = period != 0 ? kNarrowCandle : kWideCandle;
    beginChart(chart, Chart2D::ChartType::Lines, Chart2D::ChartType::Candles);
    Chart2D::Group &lines = chart.group(1);
    Chart2D::Group &candles = chart.group(2);

    qint64 yoyakuNo = 0;
    const int buyPrice = getYakuzyouKingaku(1, code, market, yoyakuNo);
    ReservationInfo reservation;
    getReservationInfo(yoyakuNo, reservation);
    const int sellPrice = reservation.sellPrice;

    const QVector<PricePoint> points = readPoints(code, market, firstDay, lastDay);
    double highest = kHighestStart;
    double lowest = kLowestStart;
    for (const PricePoint &point : points)
        for (const double v : point.candle) {
            highest = std::max(highest, v);
            lowest = std::min(lowest, v);
        }

    const int n = int(points.size());
    for (Chart2D::Group *group : {&lines, &candles}) {
        group->setSeriesCount(4);
        group->setPointCount(n);
    }
    chart.axisX().clearValueLabels();
    for (int i = kLabelEvery; i <= n; i += kLabelEvery)
        chart.axisX().addValueLabel(i, points[i - 1].day.toString(QStringLiteral("MM/dd")));
    for (int i = 1; i <= n; ++i) {
        const PricePoint &point = points[i - 1];
        lines.setY(1, i, point.shortAverage);
        lines.setY(2, i, point.mediumAverage);
        if (buyPrice > 0) {
            lines.setY(3, i, buyPrice);
            lines.setY(4, i, sellPrice);
        }
        for (int s = 1; s <= 4; ++s)
            candles.setY(s, i, point.candle[size_t(s - 1)]);
    }

    setStyle(lines, 1, colours::kGreen, 1);
    setStyle(lines, 2, colours::kYellow, 1);
    setStyle(lines, 3, colours::kSilver, 2);
    setStyle(lines, 4, colours::kLightYellow, 2);
    setStyle(candles, 1, colours::kWhite, 1);
    setStyle(candles, 2, colours::kYellow, candleWidth);
    setStyle(candles, 3, colours::kBlack, candleWidth);
    setStyle(candles, 4, colours::kWhite, 1);

    // Without a row the bounds stay at their starting values, lowest above highest, and
    // the chart shows an empty plot.
    setValueAxes(chart, lowest, highest, kGridFactor);
    chart.setIsBatched(false);
}

int getYakuzyouKingaku(int, const QString &code, const QString &market, qint64 &yoyakuNo)
{
    // Buy executions only: a position whose sell is under way also has sell rows, and the
    // first buy is the same on every call.
    db::Statement rows = gcnDB.prepare(QStringLiteral(
        "select a.予約番号, b.約定金額 from ttresevation a join ttcontracthistory b on a.予約番号 = b.予約番号"
        " where a.銘柄コード = ? and a.市場コード = ? and a.処理区分 < 9 and b.売買区分 in ('1', 1)"
        " order by a.予約番号, b.受付日時 limit 1"));
    rows.bindAll(code, market);
    if (!rows.step())
        return 0;
    yoyakuNo = rows.int64(0);
    return int(text::roundHalfEven(rows.real(1)));
}

void drawSelectedStockChart(const SelectedStock &form, Chart2D &cht2Gra)
{
    writeLog(glngLogFileNo, QStringLiteral("チャート描画: ") + form.mstrBrandCode + u':' + form.mstrSizyouCode);
    const int days = form.mlngChartKikan == 1 ? kLongDays : kShortDays;
    drawKabukaChart(form.mlngChartKikan, form.mstrBrandCode, form.mstrSizyouCode, gdtLastKabukaDate.addDays(-days),
                    gdtLastKabukaDate, cht2Gra);
}

void imgChart_MouseDown(SelectedStock &form, Chart2D &cht2Gra)
{
    ui::doEvents();
    form.mlngChartKikan = form.mlngChartKikan != 1 ? 1 : 0;
    drawSelectedStockChart(form, cht2Gra);
}
