#include "screening/ScreeningFixture.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "support/ReservationRows.h"

void ScreeningFixture::SetUp()
{
    ProgramDirFixture::SetUp();
    createDatabases();
    openDatabases();
    glngLogFileNo = openLog();
}

void ScreeningFixture::addStock(const QString &code, const QString &market, int unitShares, const QString &name)
{
    gcnDB.execute(QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 単元株数) values (?, ?, ?, ?)"),
                  code, market, name, unitShares);
}

void ScreeningFixture::addRow(const Row &r)
{
    gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値, 出来高, 分割区分,"
                                 " 短期SMA, 中期SMA, 長期SMA, MACD, MACDシグナル, RSI, 短期RCI, 中期RCI, VRA, VRB)"
                                 " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  r.code, r.market, r.day, r.adjustedClose, r.adjustedClose, r.volume, r.split, r.smaS, r.smaM, r.smaL,
                  r.macd, r.signal, r.rsi, r.rciS, r.rciM, r.vra, r.vrb);
}

void ScreeningFixture::addStockRow(const Row &row)
{
    addStock(row.code, row.market);
    addRow(row);
}

void ScreeningFixture::addExecution(const QString &code, const QString &market, const QString &registered)
{
    gcnDB.execute(QStringLiteral("insert into ttcontracthistory (銘柄コード, 市場コード, 登録日付) values (?, ?, ?)"),
                  code, market, registered);
}

void ScreeningFixture::addRegisteredReservation(int number, const QString &registered)
{
    addReservation({.予約番号 = number,
                    .銘柄コード = QStringLiteral("9999"),
                    .登録日付 = registered,
                    .更新日付 = registered,
                    .市場コード = QStringLiteral("t1")});
}

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
