#pragma once

#include <QDate>

namespace ui {
class Chart2D;
}

// The monthly profit chart: one bar per calendar month with the net cash flow of the
// executions received from the start of `firstDay` to the end of `lastDay` (sales positive,
// purchases negative; stocks missing from the master not counted), and a line with the
// running total. At least 12 months: missing ones follow the last month (or start at the
// current month) at 0, the line dropping to 0. Months are labelled "yy/mm" and the Y axis
// runs from -M to M, M the largest magnitude of an amount or a running total.
// The first argument is not used.
void drawSyusiChart(int unused, const QDate &firstDay, const QDate &lastDay, ui::Chart2D &chart);
