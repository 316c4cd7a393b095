#pragma once

#include "platform/ui/Chart2D.h"

#include <QColor>
#include <QImage>

// Pixel checks on a rendered chart, with a small colour tolerance for anti-aliased edges.
bool isNearColour(const QColor &a, const QColor &b);
// Whether `colour` shows at the data point (x, y) or within one pixel of it.
bool showsAt(const ui::Chart2D &chart, const QImage &image, double x, double y, const QColor &colour);
// Pixels of `colour` inside the plot, its frame left out.
int countInPlot(const ui::Chart2D &chart, const QImage &image, const QColor &colour);
// The most pixels of `colour` in one row of the plot: a horizontal line fills a row, where
// blended edges of crossing lines leave only a few.
int widestRowInPlot(const ui::Chart2D &chart, const QImage &image, const QColor &colour);
