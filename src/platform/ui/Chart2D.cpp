#include "platform/ui/Chart2D.h"

#include "platform/text/Format.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// Plot area insets: room for the Y numbers on the left and the X labels below.
constexpr int kLeftInset = 56;
constexpr int kTopInset = 8;
constexpr int kRightInset = 12;
constexpr int kBottomInset = 22;
// More grid lines than this would only fill the plot with ink.
constexpr double kMaxGridLines = 200;

// 1, 2 or 5 times a power of ten, at least `raw`.
double niceStep(double raw)
{
    if (!(raw > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / power;
    const double nice = fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10;
    return nice * power;
}

} // namespace

double Chart2D::Axis::min() const
{
    return m_fixedMin ? m_min : m_chart.automaticScale(m_kind).min;
}

double Chart2D::Axis::max() const
{
    return m_fixedMax ? m_max : m_chart.automaticScale(m_kind).max;
}

void Chart2D::Axis::setMin(double value)
{
    m_fixedMin = true;
    m_min = value;
    m_chart.changed();
}

void Chart2D::Axis::setMax(double value)
{
    m_fixedMax = true;
    m_max = value;
    m_chart.changed();
}

double Chart2D::Axis::gridSpacing() const
{
    return m_gridSpacing > 0 ? m_gridSpacing : m_chart.automaticScale(m_kind).step;
}

void Chart2D::Axis::setGridSpacing(double spacing)
{
    m_gridSpacing = spacing;
    m_chart.changed();
}

void Chart2D::Axis::setGridVisible(bool visible)
{
    m_gridVisible = visible;
    m_chart.changed();
}

void Chart2D::Axis::setGridColor(const QColor &color)
{
    m_gridColor = color;
    m_chart.changed();
}

void Chart2D::Axis::setAnnotation(Annotation annotation)
{
    m_annotation = annotation;
    m_chart.changed();
}

void Chart2D::Axis::clearValueLabels()
{
    m_valueLabels.clear();
    m_chart.changed();
}

void Chart2D::Axis::addValueLabel(double x, const QString &text)
{
    m_valueLabels.append({x, text});
    m_chart.changed();
}

Chart2D::Chart2D(QWidget *parent) : QWidget(parent) {}

void Chart2D::setIsBatched(bool batched)
{
    m_batched = batched;
    changed();
}

void Chart2D::changed()
{
    if (!m_batched)
        update();
}

Chart2D::Series *Chart2D::series(int number)
{
    return number >= 1 && number <= m_series.size() ? &m_series[number - 1] : nullptr;
}

const Chart2D::Series *Chart2D::series(int number) const
{
    return number >= 1 && number <= m_series.size() ? &m_series[number - 1] : nullptr;
}

void Chart2D::setSeriesCount(int count)
{
    m_series.resize(std::max(0, count));
    changed();
}

int Chart2D::pointCount(int number) const
{
    const Series *s = series(number);
    return s ? int(s->y.size()) : 0;
}

void Chart2D::setPointCount(int number, int count)
{
    if (Series *s = series(number)) {
        s->y.resize(std::max(0, count));
        changed();
    }
}

double Chart2D::y(int number, int point) const
{
    const Series *s = series(number);
    return s && point >= 1 && point <= s->y.size() ? s->y[point - 1] : 0;
}

void Chart2D::setY(int number, int point, double value)
{
    Series *s = series(number);
    if (s && point >= 1 && point <= s->y.size()) {
        s->y[point - 1] = value;
        changed();
    }
}

QColor Chart2D::lineColor(int number) const
{
    const Series *s = series(number);
    return s ? s->color : QColor();
}

int Chart2D::lineWidth(int number) const
{
    const Series *s = series(number);
    return s ? s->width : 0;
}

void Chart2D::setLineStyle(int number, const QColor &color, int width)
{
    if (Series *s = series(number)) {
        s->color = color;
        s->width = width;
        changed();
    }
}

Chart2D::AutoScale Chart2D::automaticScale(Axis::Kind kind) const
{
    AutoScale scale;
    if (kind == Axis::Kind::X) {
        int points = 0;
        for (const Series &s : m_series)
            points = std::max(points, int(s.y.size()));
        scale.min = 1;
        scale.max = std::max(points, 2);
        scale.step = niceStep((scale.max - scale.min) / 10);
        return scale;
    }
    bool any = false;
    double lo = 0;
    double hi = 0;
    for (const Series &s : m_series) {
        for (const double v : s.y) {
            lo = any ? std::min(lo, v) : v;
            hi = any ? std::max(hi, v) : v;
            any = true;
        }
    }
    if (!any)
        return scale;
    if (lo == hi) {
        const double half = lo == 0 ? 0.5 : std::abs(lo) * 0.005;
        lo -= half;
        hi += half;
    }
    scale.step = niceStep((hi - lo) / 5);
    scale.min = std::floor(lo / scale.step) * scale.step;
    scale.max = std::ceil(hi / scale.step) * scale.step;
    return scale;
}

void Chart2D::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRect plot = rect().adjusted(kLeftInset, kTopInset, -kRightInset, -kBottomInset);
    if (plot.width() < 2 || plot.height() < 2)
        return;

    const double xMin = m_axisX.min();
    const double xMax = m_axisX.max();
    const double yMin = m_axisY.min();
    const double yMax = m_axisY.max();
    const double xSpan = xMax > xMin ? xMax - xMin : 1;
    const double ySpan = yMax > yMin ? yMax - yMin : 1;
    const auto px = [&](double x) { return plot.left() + (x - xMin) / xSpan * plot.width(); };
    const auto py = [&](double y) { return plot.bottom() - (y - yMin) / ySpan * plot.height(); };
    const QFontMetrics metrics(font());

    // Y grid lines and their numbers.
    const double ySpacing = m_axisY.gridSpacing();
    if (ySpacing > 0 && ySpan / ySpacing <= kMaxGridLines) {
        for (double v = std::ceil(yMin / ySpacing) * ySpacing; v <= yMax + ySpacing * 1e-9; v += ySpacing) {
            const double y = py(v);
            if (m_axisY.isGridVisible()) {
                p.setPen(m_axisY.gridColor());
                p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            }
            p.setPen(Qt::black);
            const QRectF box(0, y - metrics.height() / 2.0, kLeftInset - 4, metrics.height());
            p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text::formatShownNumber(v));
        }
    }

    // X grid lines with the value labels, or with plain numbers.
    QList<ValueLabel> xMarks = m_axisX.valueLabels();
    if (m_axisX.annotation() == Annotation::Values) {
        xMarks.clear();
        const double step = m_axisX.gridSpacing();
        if (step > 0 && xSpan / step <= kMaxGridLines)
            for (double v = std::ceil(xMin / step) * step; v <= xMax + step * 1e-9; v += step)
                xMarks.append({v, text::formatShownNumber(v)});
    }
    for (const ValueLabel &mark : std::as_const(xMarks)) {
        if (mark.x < xMin || mark.x > xMax)
            continue;
        const double x = px(mark.x);
        if (m_axisX.isGridVisible()) {
            p.setPen(m_axisX.gridColor());
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        p.setPen(Qt::black);
        const QRectF box(x - 40, plot.bottom() + 2, 80, kBottomInset - 2);
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, mark.text);
    }

    p.setPen(Qt::black);
    p.drawRect(plot);

    p.setClipRect(plot);
    p.setRenderHint(QPainter::Antialiasing);
    for (const Series &s : std::as_const(m_series)) {
        if (s.y.isEmpty())
            continue;
        QPainterPath path(QPointF(px(1), py(s.y[0])));
        for (qsizetype i = 1; i < s.y.size(); ++i)
            path.lineTo(px(double(i + 1)), py(s.y[i]));
        p.setPen(QPen(s.color, s.width));
        p.drawPath(path);
    }
}

} // namespace ui
