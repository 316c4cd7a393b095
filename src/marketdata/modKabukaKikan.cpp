#include "marketdata/modKabukaKikan.h"

#include "core/modGlobal.h"
#include "platform/text/VbText.h"

void getKabukaKikan(const QString &code, const QString &market, const QDate &day, QDate &first, QDate &last)
{
    const bool oneStock = !text::trimSpaces(code).isEmpty();
    QString sql = QStringLiteral("select max(日付) as hi1,min(日付) as hi2 from ttstocks where 日付 <= ?");
    if (oneStock)
        sql += QStringLiteral(" and 銘柄コード = ? and 市場コード = ?");
    db::Statement st = gcnDB.prepare(sql);
    st.bind(1, day);
    if (oneStock)
        st.bind(2, code).bind(3, market);

    first = last = kNoStoredDate;
    if (st.step()) {
        if (!st.isNull(0))
            last = st.date(0);
        if (!st.isNull(1))
            first = st.date(1);
    }
}
