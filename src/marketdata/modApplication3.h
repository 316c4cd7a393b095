#pragma once

#include <QtGlobal>

// A price rounded down to a whole multiple of its tick size from tmnominalrange; the band
// is the one that holds the price's whole yen, so the result never exceeds the price. A
// price that no band holds is only rounded to the nearest whole number (halves to even).
qint64 getYobineTani(double price);
