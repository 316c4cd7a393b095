#include "marketdata/modKabuka.h"

#include "core/modGlobal.h"
#include "text/VbText.h"

#include <algorithm>

void getSeigenNehaba(qint64 basePrice, qint64 &lowerLimit, qint64 &upperLimit)
{
    db::Statement st = gcnDB.prepare(QStringLiteral(
        "select 制限値幅上場株 from tmpricerange where 基準値開始 <= ? and 基準値終了 >= ? limit 1"));
    st.bindAll(basePrice, basePrice);
    lowerLimit = upperLimit = 0;
    if (!st.step())
        return;
    const double width = st.real(0);
    upperLimit = text::roundHalfEven(double(basePrice) + width);
    lowerLimit = std::max<qint64>(0, text::roundHalfEven(double(basePrice) - width));
}
