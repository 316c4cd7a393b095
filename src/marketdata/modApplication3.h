#pragma once

#include <QtGlobal>

// A price rounded down to a whole multiple of its tick size from tmnominalrange. A price
// that no band holds is only rounded to the nearest whole number (halves to even).
qint64 getYobineTani(double price);
