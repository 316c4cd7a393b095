#pragma once

namespace ui {

// The Y-axis grid spacing the charts ask for between the bounds `min` and `max`:
// factor x 10^(L - 2), L being the length of the decimal text of max - min / 2 + min.
// Where fewer than two grid lines of that spacing fall between the bounds (a narrow or
// empty range, or a length raised by a half yen), 0: the chart then chooses its own
// spacing, so the axis never loses its numbers.
double majorGridSpacing(int factor, double min, double max);

} // namespace ui
