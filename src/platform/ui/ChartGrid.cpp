#include "platform/ui/ChartGrid.h"

#include "platform/text/Format.h"

#include <cmath>

namespace ui {

double majorGridSpacing(int factor, double min, double max)
{
    const qsizetype length = text::formatShownNumber(max - min / 2 + min).size();
    const double spacing = factor * std::pow(10.0, double(length - 2));
    return std::floor(max / spacing) - std::ceil(min / spacing) >= 1 ? spacing : 0;
}

} // namespace ui
