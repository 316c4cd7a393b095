#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QVector>
#include <QWidget>

namespace ui {

// A 2D line chart drawn with QPainter: one chart group of line series whose point i lies
// at x = i (1-based), an X axis that shows numbers or value labels placed at given x, a Y
// axis with grid lines, and a secondary Y axis that offers its automatic bounds. In batch
// mode changes are collected and the chart is drawn once when batch mode ends.
class Chart2D : public QWidget {
    Q_OBJECT
public:
    enum class Annotation { Values, ValueLabels };

    struct ValueLabel {
        double x = 0;
        QString text;
    };

    class Axis {
    public:
        // Bounds in effect: the fixed ones when set, else computed from the data.
        double min() const;
        double max() const;
        void setMin(double value);
        void setMax(double value);

        // Distance between grid lines in axis units; 0 lets the chart choose.
        double gridSpacing() const;
        void setGridSpacing(double spacing);
        bool isGridVisible() const { return m_gridVisible; }
        void setGridVisible(bool visible);
        QColor gridColor() const { return m_gridColor; }
        void setGridColor(const QColor &color);

        Annotation annotation() const { return m_annotation; }
        void setAnnotation(Annotation annotation);
        const QList<ValueLabel> &valueLabels() const { return m_valueLabels; }
        void clearValueLabels();
        void addValueLabel(double x, const QString &text);

    private:
        friend class Chart2D;
        enum class Kind { X, Y, Y2 };
        Axis(Chart2D &chart, Kind kind) : m_chart(chart), m_kind(kind) {}

        Chart2D &m_chart;
        Kind m_kind;
        bool m_fixedMin = false;
        bool m_fixedMax = false;
        double m_min = 0;
        double m_max = 0;
        double m_gridSpacing = 0;
        bool m_gridVisible = false;
        QColor m_gridColor = Qt::gray;
        Annotation m_annotation = Annotation::Values;
        QList<ValueLabel> m_valueLabels;
    };

    explicit Chart2D(QWidget *parent = nullptr);

    bool isBatched() const { return m_batched; }
    void setIsBatched(bool batched);

    // Series and points are numbered from 1.
    int seriesCount() const { return int(m_series.size()); }
    void setSeriesCount(int count);
    int pointCount(int series) const;
    void setPointCount(int series, int count);
    double y(int series, int point) const;
    void setY(int series, int point, double value);

    QColor lineColor(int series) const;
    int lineWidth(int series) const;
    void setLineStyle(int series, const QColor &color, int width);

    Axis &axisX() { return m_axisX; }
    Axis &axisY() { return m_axisY; }
    Axis &axisY2() { return m_axisY2; }
    const Axis &axisX() const { return m_axisX; }
    const Axis &axisY() const { return m_axisY; }
    const Axis &axisY2() const { return m_axisY2; }

    QSize sizeHint() const override { return {400, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Series {
        QVector<double> y;
        QColor color = Qt::blue;
        int width = 1;
    };

    void changed();
    Series *series(int number);
    const Series *series(int number) const;
    // Rounded bounds that hold every value, and the step between them.
    struct AutoScale {
        double min = 0;
        double max = 1;
        double step = 0.2;
    };
    AutoScale automaticScale(Axis::Kind kind) const;

    QVector<Series> m_series;
    Axis m_axisX{*this, Axis::Kind::X};
    Axis m_axisY{*this, Axis::Kind::Y};
    Axis m_axisY2{*this, Axis::Kind::Y2};
    bool m_batched = false;
};

} // namespace ui
