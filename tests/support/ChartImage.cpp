#include "support/ChartImage.h"

#include <algorithm>
#include <cstdlib>

bool isNearColour(const QColor &a, const QColor &b)
{
    constexpr int kTolerance = 24;
    return std::abs(a.red() - b.red()) <= kTolerance && std::abs(a.green() - b.green()) <= kTolerance &&
           std::abs(a.blue() - b.blue()) <= kTolerance;
}

bool showsAt(const ui::Chart2D &chart, const QImage &image, double x, double y, const QColor &colour)
{
    const QPoint at = chart.toPixel(x, y).toPoint();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (isNearColour(image.pixelColor(at + QPoint(dx, dy)), colour))
                return true;
    return false;
}

int countInPlot(const ui::Chart2D &chart, const QImage &image, const QColor &colour)
{
    const QRect plot = chart.plotArea().adjusted(1, 1, -1, -1);
    int count = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x)
            count += isNearColour(image.pixelColor(x, y), colour);
    return count;
}

int widestRowInPlot(const ui::Chart2D &chart, const QImage &image, const QColor &colour)
{
    const QRect plot = chart.plotArea().adjusted(1, 1, -1, -1);
    int widest = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
        int count = 0;
        for (int x = plot.left(); x <= plot.right(); ++x)
            count += isNearColour(image.pixelColor(x, y), colour);
        widest = std::max(widest, count);
    }
    return widest;
}
