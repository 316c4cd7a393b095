#pragma once

#include <QString>

// Whether a text is a stock code as tmbond holds it: exactly four ASCII digits.
bool isStockCode(const QString &code);
