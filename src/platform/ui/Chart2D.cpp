#include "platform/ui/Chart2D.h"

#include "platform/text/Format.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// Room around the plot: above and right a small margin, left the Y numbers, below the X texts.
constexpr int kTopInset = 8;
constexpr int kRightInset = 12;
constexpr int kTextGap = 4;
constexpr int kMinLeftInset = 24;
// More grid lines than this would only fill the plot with ink.
constexpr double kMaxGridLines = 200;
// A bar takes this share of its point's slot.
constexpr double kBarShare = 0.6;

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

bool draws(const Chart2D::LineStyle &style)
{
    return style.pattern != Chart2D::LinePattern::None;
}

QPen pen(const Chart2D::LineStyle &style)
{
    QPen result(style.color, std::max(0, style.width)); // width 0: the thinnest (cosmetic) line
    result.setCapStyle(Qt::FlatCap);
    return result;
}

} // namespace

// --- Group ---

void Chart2D::Group::setChartType(ChartType type)
{
    m_type = type;
    m_chart.changed();
}

void Chart2D::Group::setSeriesCount(int count)
{
    const qsizetype before = m_series.size();
    m_series.resize(std::max(0, count));
    for (qsizetype i = before; i < m_series.size(); ++i)
        m_series[i].y.resize(m_pointCount);
    m_chart.changed();
}

void Chart2D::Group::setPointCount(int count)
{
    m_pointCount = std::clamp(count, 0, kMaxPoints);
    for (Series &s : m_series)
        s.y.resize(m_pointCount);
    m_chart.changed();
}

Chart2D::Group::Series *Chart2D::Group::series(int number)
{
    return number >= 1 && number <= m_series.size() ? &m_series[number - 1] : nullptr;
}

const Chart2D::Group::Series *Chart2D::Group::series(int number) const
{
    return number >= 1 && number <= m_series.size() ? &m_series[number - 1] : nullptr;
}

std::optional<double> Chart2D::Group::y(int number, int point) const
{
    const Series *s = series(number);
    return s && point >= 1 && point <= m_pointCount ? s->y[point - 1] : std::nullopt;
}

void Chart2D::Group::setY(int number, int point, double value)
{
    Series *s = series(number);
    if (s && point >= 1 && point <= m_pointCount) {
        s->y[point - 1] = value;
        m_chart.changed();
    }
}

Chart2D::LineStyle Chart2D::Group::style(int number) const
{
    const Series *s = series(number);
    return s ? s->style : LineStyle();
}

void Chart2D::Group::setLineColor(int number, const QColor &color)
{
    if (Series *s = series(number)) {
        s->style.color = color;
        m_chart.changed();
    }
}

void Chart2D::Group::setLineWidth(int number, int width)
{
    if (Series *s = series(number)) {
        s->style.width = width;
        m_chart.changed();
    }
}

void Chart2D::Group::setLinePattern(int number, LinePattern pattern)
{
    if (Series *s = series(number)) {
        s->style.pattern = pattern;
        m_chart.changed();
    }
}

void Chart2D::Group::setFillColor(const QColor &color)
{
    m_fillColor = color;
    m_chart.changed();
}

// --- Axis ---

double Chart2D::Axis::min() const
{
    return m_min ? *m_min : m_chart.automaticRange(m_kind).min;
}

double Chart2D::Axis::max() const
{
    return m_max ? *m_max : m_chart.automaticRange(m_kind).max;
}

void Chart2D::Axis::setMin(double value)
{
    m_min = value;
    m_chart.changed();
}

void Chart2D::Axis::setMax(double value)
{
    m_max = value;
    m_chart.changed();
}

void Chart2D::Axis::setGridSpacing(double spacing)
{
    m_gridSpacing = spacing;
    m_chart.changed();
}

void Chart2D::Axis::setGridColor(const QColor &color)
{
    m_grid.color = color;
    m_chart.changed();
}

void Chart2D::Axis::setGridPattern(LinePattern pattern)
{
    m_grid.pattern = pattern;
    m_chart.changed();
}

void Chart2D::Axis::setGridWidth(int width)
{
    m_grid.width = width;
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

int Chart2D::Axis::fontSize() const
{
    return m_fontSize.value_or(m_chart.font().pointSize());
}

bool Chart2D::Axis::isFontBold() const
{
    return m_fontBold;
}

void Chart2D::Axis::setFontSize(int points)
{
    if (points > 0) {
        m_fontSize = points;
        m_chart.changed();
    }
}

void Chart2D::Axis::setFontBold(bool bold)
{
    m_fontBold = bold;
    m_chart.changed();
}

void Chart2D::Axis::setLineColor(const QColor &color)
{
    m_line.color = color;
    m_chart.changed();
}

void Chart2D::Axis::setLinePattern(LinePattern pattern)
{
    m_line.pattern = pattern;
    m_chart.changed();
}

void Chart2D::Axis::setLineWidth(int width)
{
    m_line.width = width;
    m_chart.changed();
}

// --- Chart ---

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

void Chart2D::setBackground(const QColor &color)
{
    m_background = color;
    changed();
}

void Chart2D::setForeground(const QColor &color)
{
    m_foreground = color;
    changed();
}

void Chart2D::setAreaBackground(const QColor &color)
{
    m_areaBackground = color;
    changed();
}

void Chart2D::setAreaForeground(const QColor &color)
{
    m_areaForeground = color;
    changed();
}

Chart2D::Group &Chart2D::group(int number)
{
    return m_groups.at(size_t(number - 1));
}

const Chart2D::Group &Chart2D::group(int number) const
{
    return m_groups.at(size_t(number - 1));
}

Chart2D::Range Chart2D::range(const Axis &axis) const
{
    return {axis.min(), axis.max()};
}

Chart2D::Range Chart2D::automaticRange(Axis::Kind kind) const
{
    if (kind == Axis::Kind::X) {
        // Bars and candles need half a slot on either side; lines run from point 1 to n.
        int points = 0;
        bool slotted = false;
        for (const Group &g : m_groups) {
            if (g.seriesCount() == 0 || g.pointCount() == 0)
                continue;
            points = std::max(points, g.pointCount());
            slotted = slotted || g.chartType() != ChartType::Lines;
        }
        if (points == 0)
            return {1, 0};
        return slotted ? Range{0.5, points + 0.5} : Range{1, double(points)};
    }
    std::optional<double> lo;
    std::optional<double> hi;
    for (const Group &g : m_groups)
        for (const Group::Series &s : g.m_series)
            for (const std::optional<double> &v : s.y)
                if (v) {
                    lo = lo ? std::min(*lo, *v) : *v;
                    hi = hi ? std::max(*hi, *v) : *v;
                }
    if (!lo)
        return {0, 1};
    double low = *lo;
    double high = *hi;
    if (low == high) {
        const double half = low == 0 ? 0.5 : std::abs(low) * 0.005;
        low -= half;
        high += half;
    }
    const double step = niceStep((high - low) / 5);
    return {std::floor(low / step) * step, std::ceil(high / step) * step};
}

double Chart2D::automaticStep(const Range &r) const
{
    return niceStep((r.max - r.min) / 5);
}

QList<Chart2D::Mark> Chart2D::marks(const Axis &axis) const
{
    const Range r = range(axis);
    QList<Mark> result;
    if (r.isEmpty())
        return result;
    if (axis.annotation() == Annotation::ValueLabels) {
        for (const ValueLabel &label : axis.valueLabels())
            if (label.x >= r.min && label.x <= r.max)
                result.append({label.x, label.text});
        return result;
    }
    double step = axis.gridSpacing();
    if (!(step > 0) || (r.max - r.min) / step > kMaxGridLines)
        step = automaticStep(r);
    // Counting whole steps keeps the values exact multiples of the spacing.
    const double first = std::ceil(r.min / step - 1e-9);
    for (double k = first; k * step <= r.max + step * 1e-9; ++k) {
        const double v = k == 0 ? 0.0 : k * step;
        result.append({v, text::formatShownNumber(v)});
    }
    return result;
}

QFont Chart2D::axisFont(const Axis &axis) const
{
    QFont f = font();
    if (axis.m_fontSize)
        f.setPointSize(*axis.m_fontSize);
    f.setBold(axis.isFontBold());
    return f;
}

QRect Chart2D::plotArea() const
{
    return plotArea(marks(m_axisY));
}

QRect Chart2D::plotArea(const QList<Mark> &yMarks) const
{
    const QFontMetrics yMetrics(axisFont(m_axisY));
    int left = kMinLeftInset;
    for (const Mark &m : yMarks)
        left = std::max(left, yMetrics.horizontalAdvance(m.text) + 2 * kTextGap);
    const int bottom = QFontMetrics(axisFont(m_axisX)).height() + 2 * kTextGap;
    return rect().adjusted(left, kTopInset, -kRightInset, -bottom);
}

QPointF Chart2D::toPixel(double x, double y) const
{
    return toPixel(plotArea(), range(m_axisX), range(m_axisY), x, y);
}

QPointF Chart2D::toPixel(const QRect &plot, const Range &x, const Range &y, double vx, double vy) const
{
    // A range of one value puts that value in the middle.
    const QRectF area(plot);
    const double fx = x.max > x.min ? (vx - x.min) / (x.max - x.min) : 0.5;
    const double fy = y.max > y.min ? (vy - y.min) / (y.max - y.min) : 0.5;
    return {area.left() + fx * area.width(), area.bottom() - fy * area.height()};
}

void Chart2D::paintBars(QPainter &p, const QRect &plot, const Group &group) const
{
    const Range x = range(m_axisX);
    const Range y = range(m_axisY);
    const double slot = x.max > x.min ? plot.width() / (x.max - x.min) : plot.width();
    const double half = slot * kBarShare / 2;
    const double base = std::clamp(0.0, y.min, y.max);
    for (const Group::Series &s : group.m_series)
        for (int i = 1; i <= group.pointCount(); ++i) {
            if (!s.y[i - 1])
                continue;
            const QPointF top = toPixel(plot, x, y, i, *s.y[i - 1]);
            const QPointF foot = toPixel(plot, x, y, i, base);
            const QRectF bar(QPointF(top.x() - half, std::min(top.y(), foot.y())),
                             QPointF(top.x() + half, std::max(top.y(), foot.y())));
            p.fillRect(bar, group.fillColor());
            if (draws(s.style)) {
                p.setPen(pen(s.style));
                p.setBrush(Qt::NoBrush);
                p.drawRect(bar);
            }
        }
}

void Chart2D::paintCandles(QPainter &p, const QRect &plot, const Group &group) const
{
    if (group.seriesCount() < 4)
        return;
    const Range x = range(m_axisX);
    const Range y = range(m_axisY);
    const LineStyle wick = group.style(1);
    const LineStyle outline = group.style(4);
    for (int i = 1; i <= group.pointCount(); ++i) {
        const auto high = group.y(1, i);
        const auto low = group.y(2, i);
        const auto open = group.y(3, i);
        const auto close = group.y(4, i);
        if (!high || !low || !open || !close)
            continue;
        if (draws(wick)) {
            p.setPen(pen(wick));
            p.drawLine(toPixel(plot, x, y, i, *high), toPixel(plot, x, y, i, *low));
        }
        const LineStyle body = group.style(*close >= *open ? 2 : 3);
        const double half = std::max(1, body.width) / 2.0;
        const QPointF a = toPixel(plot, x, y, i, *open);
        const QPointF b = toPixel(plot, x, y, i, *close);
        const QRectF box(QPointF(a.x() - half, std::min(a.y(), b.y())), QPointF(a.x() + half, std::max(a.y(), b.y())));
        if (draws(body))
            p.fillRect(box, body.color);
        if (draws(outline)) {
            p.setPen(pen(outline));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box);
        }
    }
}

void Chart2D::paintLines(QPainter &p, const QRect &plot, const Group &group) const
{
    const Range x = range(m_axisX);
    const Range y = range(m_axisY);
    for (const Group::Series &s : group.m_series) {
        if (!draws(s.style))
            continue;
        // A point without a value breaks the line; each unbroken run is one path.
        QPainterPath path;
        bool joined = false;
        for (int i = 1; i <= group.pointCount(); ++i) {
            const std::optional<double> &v = s.y[i - 1];
            if (!v) {
                joined = false;
                continue;
            }
            const QPointF at = toPixel(plot, x, y, i, *v);
            if (joined)
                path.lineTo(at);
            else
                path.moveTo(at);
            joined = true;
        }
        p.setPen(pen(s.style));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

void Chart2D::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_background);
    const QList<Mark> yMarks = marks(m_axisY);
    const QRect plot = plotArea(yMarks);
    if (plot.width() < 2 || plot.height() < 2)
        return;
    p.fillRect(plot, m_areaBackground);

    const Range x = range(m_axisX);
    const Range y = range(m_axisY);
    const QColor textColor = areaForeground();

    // Y grid lines and their numbers.
    p.setFont(axisFont(m_axisY));
    const int yTextHeight = p.fontMetrics().height();
    double lastTextTop = plot.bottom() + yTextHeight;
    for (const Mark &m : yMarks) {
        const double py = toPixel(plot, x, y, x.min, m.at).y();
        if (draws(m_axisY.grid())) {
            p.setPen(pen(m_axisY.grid()));
            p.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
        }
        const QRectF box(0, py - yTextHeight / 2.0, plot.left() - kTextGap, yTextHeight);
        if (box.bottom() > lastTextTop)
            continue;
        p.setPen(textColor);
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, m.text);
        lastTextTop = box.top();
    }

    // X grid lines and texts.
    p.setFont(axisFont(m_axisX));
    double lastTextRight = -1e9;
    for (const Mark &m : marks(m_axisX)) {
        const double px = toPixel(plot, x, y, m.at, y.min).x();
        if (draws(m_axisX.grid())) {
            p.setPen(pen(m_axisX.grid()));
            p.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        }
        const double width = p.fontMetrics().horizontalAdvance(m.text);
        // Centred under its line, but inside the widget.
        const double left = std::clamp(px - width / 2, 0.0, std::max(0.0, rect().width() - width));
        const QRectF box(left, plot.bottom() + kTextGap, width, p.fontMetrics().height());
        // Texts that touch would read as one: keep a blank's width between them.
        if (box.left() < lastTextRight + p.fontMetrics().horizontalAdvance(u' '))
            continue;
        p.setPen(textColor);
        p.drawText(box, Qt::AlignCenter, m.text);
        lastTextRight = box.right();
    }

    // Bars and candles first, lines on top.
    if (!x.isEmpty() && !y.isEmpty()) {
        p.save();
        p.setClipRect(plot);
        for (const Group &g : m_groups) {
            if (g.chartType() == ChartType::Bars)
                paintBars(p, plot, g);
            else if (g.chartType() == ChartType::Candles)
                paintCandles(p, plot, g);
        }
        p.setRenderHint(QPainter::Antialiasing);
        for (const Group &g : m_groups)
            if (g.chartType() == ChartType::Lines)
                paintLines(p, plot, g);
        p.restore();
    }

    // The axis lines along the bottom and the left of the plot.
    if (draws(m_axisX.line())) {
        p.setPen(pen(m_axisX.line()));
        p.drawLine(plot.bottomLeft(), plot.bottomRight());
    }
    if (draws(m_axisY.line())) {
        p.setPen(pen(m_axisY.line()));
        p.drawLine(plot.bottomLeft(), plot.topLeft());
    }
}

} // namespace ui
