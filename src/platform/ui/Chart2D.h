#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>
#include <optional>

class QPainter;

namespace ui {

// A 2D chart drawn with QPainter: two chart groups, each a line plot, a bar group or a
// candlestick group of series whose point i lies at x = i (1-based); an X and a Y axis
// with grid lines and texts, and a secondary Y axis that holds bounds without being drawn.
// Unless set, X runs from 0.5 to n + 0.5 when a group holds bars or candles (half a slot
// on either side), else from 1 to n. Bars and candles are painted first, lines on top.
// In batch mode changes are collected and the chart is painted once when batch mode ends.
//
// A range that cannot be shown (no points, minimum above maximum) paints an empty plot;
// a range of one value (minimum = maximum) shows that value in the middle.
class Chart2D : public QWidget {
    Q_OBJECT
public:
    // The codes the drawings pass.
    enum class ChartType { Lines = 1, Bars = 2, Candles = 8 };
    enum class LinePattern { None = 1, Solid = 2 };
    enum class Annotation { Values, ValueLabels };

    static constexpr int kMaxPoints = 999;

    struct ValueLabel {
        double x = 0;
        QString text;
    };

    // How one series is drawn. Width 0 is the thinnest line; pattern None draws nothing.
    struct LineStyle {
        QColor color = Qt::blue;
        int width = 1;
        LinePattern pattern = LinePattern::Solid;
    };

    // Series of one chart type sharing one point count. A candlestick group reads series 1
    // to 4 as high, low, open and close; its styles are 1 the wick, 2 the rising body
    // (close >= open), 3 the falling body, 4 the body outline; a body is as wide in pixels
    // as its style's width. A bar reaches from 0 (or the nearer axis end) to its value,
    // filled with the group's fill colour and outlined by its style.
    class Group {
    public:
        ChartType chartType() const { return m_type; }
        void setChartType(ChartType type);

        // Series are numbered from 1; 0 empties the group.
        int seriesCount() const { return int(m_series.size()); }
        void setSeriesCount(int count);
        // One count for every series, 0 to 999.
        int pointCount() const { return m_pointCount; }
        void setPointCount(int count);
        // A point that was never set holds no value. Out-of-range series or points are ignored.
        std::optional<double> y(int series, int point) const;
        void setY(int series, int point, double value);

        LineStyle style(int series) const;
        void setLineColor(int series, const QColor &color);
        void setLineWidth(int series, int width);
        void setLinePattern(int series, LinePattern pattern);

        QColor fillColor() const { return m_fillColor; }
        void setFillColor(const QColor &color);

    private:
        friend class Chart2D;
        struct Series {
            QVector<std::optional<double>> y;
            LineStyle style;
        };
        explicit Group(Chart2D &chart) : m_chart(chart) {}
        Series *series(int number);
        const Series *series(int number) const;

        Chart2D &m_chart;
        ChartType m_type = ChartType::Lines;
        QVector<Series> m_series;
        int m_pointCount = 0;
        QColor m_fillColor = Qt::gray;
    };

    class Axis {
    public:
        // Bounds in effect: the ones set, else computed from the data.
        double min() const;
        double max() const;
        void setMin(double value);
        void setMax(double value);

        // Distance between grid lines in axis units; 0, or a spacing that would crowd the
        // plot with more lines than can be read, lets the chart choose.
        double gridSpacing() const { return m_gridSpacing; }
        void setGridSpacing(double spacing);
        LineStyle grid() const { return m_grid; }
        void setGridColor(const QColor &color);
        void setGridPattern(LinePattern pattern);
        void setGridWidth(int width);

        // Values: numbers at the grid lines. ValueLabels: grid lines and texts at the labels,
        // a text that would overlap the one drawn before it left out.
        Annotation annotation() const { return m_annotation; }
        void setAnnotation(Annotation annotation);
        const QList<ValueLabel> &valueLabels() const { return m_valueLabels; }
        void clearValueLabels();
        void addValueLabel(double x, const QString &text);

        // The font of the axis's texts: the widget's font until set.
        int fontSize() const;
        bool isFontBold() const;
        void setFontSize(int points);
        void setFontBold(bool bold);

        LineStyle line() const { return m_line; }
        void setLineColor(const QColor &color);
        void setLinePattern(LinePattern pattern);
        void setLineWidth(int width);

    private:
        friend class Chart2D;
        enum class Kind { X, Y, Y2 };
        Axis(Chart2D &chart, Kind kind) : m_chart(chart), m_kind(kind) {}

        Chart2D &m_chart;
        Kind m_kind;
        std::optional<double> m_min;
        std::optional<double> m_max;
        double m_gridSpacing = 0;
        LineStyle m_grid{Qt::gray, 0, LinePattern::Solid};
        Annotation m_annotation = Annotation::Values;
        QList<ValueLabel> m_valueLabels;
        std::optional<int> m_fontSize;
        bool m_fontBold = false;
        LineStyle m_line{Qt::black, 1, LinePattern::Solid};
    };

    explicit Chart2D(QWidget *parent = nullptr);

    bool isBatched() const { return m_batched; }
    void setIsBatched(bool batched);

    // The whole chart's background, and its foreground: the colour of every text.
    QColor background() const { return m_background; }
    QColor foreground() const { return m_foreground; }
    void setBackground(const QColor &color);
    void setForeground(const QColor &color);
    // The plot's own background and foreground; the foreground, once set, colours the texts.
    QColor areaBackground() const { return m_areaBackground; }
    QColor areaForeground() const { return m_areaForeground.value_or(m_foreground); }
    void setAreaBackground(const QColor &color);
    void setAreaForeground(const QColor &color);

    // Group 1 or 2; another number throws std::out_of_range.
    Group &group(int number);
    const Group &group(int number) const;

    Axis &axisX() { return m_axisX; }
    Axis &axisY() { return m_axisY; }
    Axis &axisY2() { return m_axisY2; }
    const Axis &axisX() const { return m_axisX; }
    const Axis &axisY() const { return m_axisY; }
    const Axis &axisY2() const { return m_axisY2; }

    // Where the data is drawn, and where a data point lands in widget pixels.
    QRect plotArea() const;
    QPointF toPixel(double x, double y) const;

    QSize sizeHint() const override { return {400, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Range {
        double min = 0;
        double max = 0;
        bool isEmpty() const { return !(min <= max); }
    };
    struct Mark {
        double at = 0;
        QString text;
    };

    void changed();
    Range range(const Axis &axis) const;
    Range automaticRange(Axis::Kind kind) const;
    double automaticStep(const Range &range) const;
    QList<Mark> marks(const Axis &axis) const;
    QFont axisFont(const Axis &axis) const;
    QRect plotArea(const QList<Mark> &yMarks) const;
    QPointF toPixel(const QRect &plot, const Range &x, const Range &y, double vx, double vy) const;

    void paintBars(QPainter &p, const QRect &plot, const Group &group) const;
    void paintCandles(QPainter &p, const QRect &plot, const Group &group) const;
    void paintLines(QPainter &p, const QRect &plot, const Group &group) const;

    std::array<Group, 2> m_groups{Group(*this), Group(*this)};
    Axis m_axisX{*this, Axis::Kind::X};
    Axis m_axisY{*this, Axis::Kind::Y};
    Axis m_axisY2{*this, Axis::Kind::Y2};
    QColor m_background = Qt::white;
    QColor m_foreground = Qt::black;
    QColor m_areaBackground = Qt::white;
    std::optional<QColor> m_areaForeground;
    bool m_batched = false;
};

} // namespace ui
