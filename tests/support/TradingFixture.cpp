#include "support/TradingFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"

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

int TradingFixture::rowCount(const QString &table)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ") + table);
    st.step();
    return int(st.int64(0));
}

void TradingFixture::restartLog()
{
    closeLog(glngLogFileNo);
    QFile::remove(path(QStringLiteral("Nimbra.log")));
    glngLogFileNo = openLog();
}

void TradingFixture::setLoginAndMailbox()
{
    UserID = QStringLiteral("U");
    Password = QStringLiteral("P");
    Password2 = QStringLiteral("T");
    POP3Server = QStringLiteral("127.0.0.1:1");
    POPUserID = QStringLiteral("pu");
    POPPassword = QStringLiteral("pp");
}
