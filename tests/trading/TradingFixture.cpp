#include "trading/TradingFixture.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "support/LogTexts.h"

#include <QFile>

void TradingFixture::SetUp()
{
    ProgramDirFixture::SetUp();
    createDatabases();
    openDatabases();
    glngLogFileNo = openLog();
}

void TradingFixture::addBond(const QString &code, const QString &market, const QString &name, int unitShares)
{
    gcnDB.execute(QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 単元株数) values (?, ?, ?, ?)"),
                  code, market, name, unitShares);
}

void TradingFixture::addPrice(const QString &code, const QString &market, const QDate &day, double close, qint64 volume)
{
    gcnDB.execute(
        QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 始値, 高値, 安値, 終値, 調整終値, 出来高)"
                       " values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        code, market, day, close, close, close, close, close, volume);
}

void TradingFixture::addReservation(const QList<QPair<QString, QVariant>> &columns)
{
    QStringList names;
    QStringList marks;
    for (const auto &column : columns) {
        names << column.first;
        marks << QStringLiteral("?");
    }
    db::Statement st = gcnDB.prepare(QStringLiteral("insert into ttresevation (") + names.join(u',') +
                                     QStringLiteral(") values (") + marks.join(u',') + u')');
    int index = 0;
    for (const auto &column : columns) {
        const QVariant &value = column.second;
        ++index;
        if (value.isNull())
            st.bindNull(index);
        else if (value.typeId() == QMetaType::Double)
            st.bind(index, value.toDouble());
        else if (value.typeId() == QMetaType::QString)
            st.bind(index, value.toString());
        else if (value.typeId() == QMetaType::QDateTime)
            st.bind(index, value.toDateTime());
        else
            st.bind(index, value.toLongLong());
    }
    st.run();
}

QVariant TradingFixture::reservationValue(qint64 number, const QString &column)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select ") + column + QStringLiteral(" from ttresevation where 予約番号 = ?"));
    st.bind(1, number);
    if (!st.step())
        return {};
    return st.isNull(0) ? QVariant(QString()) : QVariant(st.text(0));
}

int TradingFixture::rowCount(const QString &table)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ") + table);
    st.step();
    return int(st.int64(0));
}

QStringList TradingFixture::logLines()
{
    closeLog(glngLogFileNo);
    glngLogFileNo = 0;
    return logTexts(path(QStringLiteral("Nimbra.log")));
}

void TradingFixture::restartLog()
{
    closeLog(glngLogFileNo);
    QFile::remove(path(QStringLiteral("Nimbra.log")));
    glngLogFileNo = openLog();
}
