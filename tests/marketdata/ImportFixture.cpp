#include "ImportFixture.h"

#include "PriceRows.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "support/FakeMaster.h"

#include <QTimer>

void ImportFixture::SetUp()
{
    ProgramDirFixture::SetUp();
    createDatabases();
    openDatabases();
    gobjBASP = std::make_unique<mail::Basp>();
    glngLogFileNo = openLog();
    setPeriods(defaultPeriods());
    m_site.start();
    m_site.writeSiteFile(dir());
    storeFakeMaster(market());
}

void ImportFixture::TearDown()
{
    m_poll.reset();
    m_site.stop();
    ProgramDirFixture::TearDown();
}

int ImportFixture::historyRequests() const
{
    int count = 0;
    for (const QString &request : m_site.requests())
        count += request.startsWith(QStringLiteral("/MnStock/slast.html")) ? 1 : 0;
    return count;
}

int ImportFixture::historyRequestsFor(const QString &code, const QString &letter) const
{
    const QString key = QStringLiteral("qt=") + code + u'.' + letter + u'&';
    int count = 0;
    for (const QString &request : m_site.requests())
        count += request.startsWith(QStringLiteral("/MnStock/slast.html")) && request.contains(key) ? 1 : 0;
    return count;
}

std::map<PriceKey, StoredPrice> ImportFixture::storedPrices()
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select 銘柄コード, 市場コード, 日付, 終値, 始値, 安値, 高値, "
                                                    "出来高, 調整終値, 分割区分, 短期SMA, 登録日付, 更新日付"
                                                    " from ttstocks"));
    std::map<PriceKey, StoredPrice> rows;
    while (st.step())
        rows[{st.text(0), st.text(1), st.date(2)}] = {st.int64(3), st.int64(4), st.int64(5),      st.int64(6),
                                                      st.int64(7), st.real(8),  int(st.int64(9)), st.real(10),
                                                      st.text(11), st.text(12)};
    return rows;
}

qint64 ImportFixture::rowCount()
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ttstocks"));
    st.step();
    return st.int64(0);
}

void ImportFixture::expectStoredAsServed(const StoredPrice &stored, const FakeDay &served, const std::string &where)
{
    EXPECT_EQ(stored.close, served.close) << where;
    EXPECT_EQ(stored.open, served.open) << where;
    EXPECT_EQ(stored.low, served.low) << where;
    EXPECT_EQ(stored.high, served.high) << where;
    EXPECT_EQ(stored.volume, served.volume) << where;
    EXPECT_EQ(stored.adjustedClose, double(served.adjustedClose)) << where;
}

void ImportFixture::whenDuring(std::function<bool()> condition, std::function<void()> action)
{
    m_poll = std::make_unique<QTimer>();
    m_poll->setInterval(0);
    QTimer *poll = m_poll.get();
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, condition = std::move(condition), action = std::move(action)] {
                         if (!condition())
                             return;
                         poll->stop();
                         action();
                     });
    poll->start();
}
