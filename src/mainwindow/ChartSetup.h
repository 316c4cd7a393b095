#pragma once

#include "platform/ui/Chart2D.h"

// The base appearance both charts of the main window get once at start-up: dark navy
// background, white texts and axis lines.
void initChart(ui::Chart2D &chart);

// The first steps of every drawing on a chart: batch mode on, both groups emptied and
// given their chart types, the X axis annotated by value labels.
void beginChart(ui::Chart2D &chart, ui::Chart2D::ChartType group1, ui::Chart2D::ChartType group2);

// The value axes of a drawing: Y and Y2 from `min` to `max`, the Y grid spacing
// gridFactor x 10^(L - 2) from the bounds read back (the chart's own where that gives
// fewer than two lines), and the grid lines of both axes in the charts' dark blue.
void setValueAxes(ui::Chart2D &chart, double min, double max, int gridFactor);
