#pragma once

#include <QtGlobal>

// The daily price-limit band around a base price, from tmpricerange: lower = base - width
// (never below 0), upper = base + width; both 0 when no band holds the base price.
void getSeigenNehaba(qint64 basePrice, qint64 &lowerLimit, qint64 &upperLimit);
