#include "marketdata/StockCode.h"

#include <algorithm>

bool isStockCode(const QString &code)
{
    return code.size() == 4 && std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
