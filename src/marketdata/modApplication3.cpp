#include "marketdata/modApplication3.h"

#include "core/modGlobal.h"
#include "platform/text/VbText.h"

#include <cmath>

qint64 getYobineTani(double price)
{
    db::Statement st = gcnDB.prepare(
        QStringLiteral("select a.呼値単位 from tmnominalrange a where a.呼値開始 <= ? and a.呼値終了 >= ? limit 1"));
    // Bands hold whole yen at both ends: the band of 3000.7 is the one holding 3000, so a
    // price between two bands is never rounded up into the next one.
    const double yen = std::floor(price);
    st.bindAll(yen, yen);
    if (st.step()) {
        const double tick = st.real(0);
        if (tick > 0)
            return static_cast<qint64>(std::floor(price / tick) * tick);
    }
    return text::roundHalfEven(price);
}
