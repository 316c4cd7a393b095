// The daily update from empty price tables to a filled and computed price database,
// against the fake quote site, the way a start of the program runs it.
#include "ImportFixture.h"
#include "PriceRows.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/frmGetDataMN.h"
#include "marketdata/modCalc.h"
#include "marketdata/modKabukaKikan.h"
#include "marketdata/modMarket.h"
#include "platform/sys/Clock.h"
#include "platform/ui/MsgBox.h"
#include "support/MessageBoxRecorder.h"
#include "trading/modLatestData.h"

#include <QDateTimeEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The site's last day is a Wednesday; the first start is on that morning, the second on
// the next morning.
const QDate kSiteLastDay(2007, 6, 27);
const QDateTime kFirstStart(kSiteLastDay, QTime(8, 0));
const QDateTime kNextStart(kSiteLastDay.addDays(1), QTime(8, 0));

class ImportEndToEndTest : public ImportFixture {
protected:
    ImportEndToEndTest() : ImportFixture({.seed = 11, .stocks = 12, .days = 160, .lastDay = kSiteLastDay}) {}

    void SetUp() override
    {
        ImportFixture::SetUp();
        sys::setNow(kFirstStart);
        getKabukaKikan(kReferenceCode, kReferenceMarket, kFirstStart.date(), gdtFirstKabukaDate, gdtLastKabukaDate);
    }

    // The served days of every stock that the program should hold for [first, last].
    std::map<PriceKey, FakeDay> servedTradingDays(const QDate &first, const QDate &last) const
    {
        std::map<PriceKey, FakeDay> days;
        for (const FakeStock &stock : market().stocks()) {
            for (const FakeDay &day : market().history(stock.code, stock.market)) {
                if (day.date >= first && day.date <= last && isTradingDay(day.date))
                    days[{stock.code, stock.market, day.date}] = day;
            }
        }
        return days;
    }

    void expectStoredAsServed(const QDate &first, const QDate &last) const
    {
        const std::map<PriceKey, FakeDay> served = servedTradingDays(first, last);
        const std::map<PriceKey, StoredPrice> stored = storedPrices();
        ASSERT_EQ(stored.size(), served.size());
        for (const auto &[key, day] : served) {
            const std::string where =
                (std::get<0>(key) + u'.' + std::get<1>(key) + u' ' + std::get<2>(key).toString(Qt::ISODate))
                    .toStdString();
            ASSERT_TRUE(stored.contains(key)) << where;
            ImportFixture::expectStoredAsServed(stored.at(key), day, where);
        }
    }

    // The values a calculation of the whole stored history from its first day gives.
    void expectIndicatorsOfAFullRun() const
    {
        std::map<std::pair<QString, QString>, std::vector<StoredIndicators>> continued;
        for (const FakeStock &stock : market().stocks())
            continued[{stock.code, stock.market}] = readSeries(stock.code, stock.market);
        calcKabuka(0, gdtFirstKabukaDate, gdtLastKabukaDate, QString(), QString(), nullptr);
        for (const auto &[stock, rows] : continued) {
            const std::vector<StoredIndicators> full = readSeries(stock.first, stock.second);
            ASSERT_EQ(rows.size(), full.size());
            for (size_t i = 0; i < rows.size(); ++i)
                expectSameValues(rows[i].values, full[i].values,
                                 (stock.first + QStringLiteral(" row %1").arg(i)).toStdString());
        }
    }

    static std::map<QString, qint64> cautionFlags()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select 銘柄コード, 市場コード, 管理ポスト区分 from tmbond"));
        std::map<QString, qint64> flags;
        while (st.step())
            flags[st.text(0) + u'.' + st.text(1)] = st.int64(2);
        return flags;
    }

    std::map<QString, qint64> servedCautionFlags() const
    {
        std::map<QString, qint64> flags;
        for (const FakeStock &stock : market().stocks())
            flags[stock.code + u'.' + stock.market] = 0;
        for (const FakeCaution &listed : market().cautionList()) {
            for (const FakeStock &stock : market().stocks()) {
                if (stock.code == listed.code) // every market of the code is marked
                    flags[stock.code + u'.' + stock.market] =
                        std::max<qint64>(flags[stock.code + u'.' + stock.market], listed.section);
            }
        }
        return flags;
    }

    int splitMark() const
    {
        const FakeStock &split = market().splitStock();
        db::Statement st = gcnDB.prepare(
            QStringLiteral("select 分割区分 from ttstocks where 銘柄コード = ? and 市場コード = ? and 日付 = ?"));
        st.bindAll(split.code, split.market, market().splitDay());
        return st.step() ? int(st.int64(0)) : -1;
    }
};

TEST_F(ImportEndToEndTest, FirstStartFillsTheKeptDaysAndTheNextStartAddsOneDay)
{
    ASSERT_EQ(gdtLastKabukaDate, kNoStoredDate);
    getLatestData();

    // An empty database is filled with the 200 days the daily purge keeps, up to yesterday.
    const QDate kept = kFirstStart.date().addDays(-200);
    const QDate yesterday = kFirstStart.date().addDays(-1);
    expectStoredAsServed(kept, yesterday);
    const int tradingDays = int(servedTradingDays(kept, yesterday).size() / market().stocks().size());
    EXPECT_GE(gdtFirstKabukaDate, kept);
    EXPECT_EQ(gdtLastKabukaDate, yesterday);
    EXPECT_EQ(gdtLastDailyDate, kFirstStart.date());

    // The split day was flagged by the import, then imported again once and marked handled.
    const FakeStock &split = market().splitStock();
    const QString letter = FakeMarket::infoseekLetter(split.market);
    EXPECT_EQ(splitMark(), 1);
    EXPECT_EQ(historyRequestsFor(split.code, letter), 2 * tradingDays);
    EXPECT_EQ(historyRequests(), int(market().stocks().size()) * tradingDays + tradingDays);
    EXPECT_EQ(cautionFlags(), servedCautionFlags());

    QStringList steps = logLines();
    steps.removeIf([](const QString &line) { return !line.startsWith(u'●') && !line.startsWith(u'★'); });
    EXPECT_EQ(steps.size(), 12);
    EXPECT_EQ(steps.first(), QStringLiteral("★最新データの取得開始"));
    EXPECT_EQ(steps.last(), QStringLiteral("★最新データの取得終了"));
    expectIndicatorsOfAFullRun();

    // The next morning brings one day: one page per stock.
    const int before = historyRequests();
    sys::setNow(kNextStart);
    getLatestData();
    EXPECT_EQ(historyRequests() - before, int(market().stocks().size()));
    EXPECT_EQ(gdtLastKabukaDate, kSiteLastDay);
    expectStoredAsServed(kept, kSiteLastDay);
    expectIndicatorsOfAFullRun();
}

TEST_F(ImportEndToEndTest, AnOutageInTheMiddleOfARedownloadLosesNoStoredRow)
{
    getLatestData();
    const std::map<PriceKey, StoredPrice> before = storedPrices();
    const std::map<QString, qint64> flags = cautionFlags();
    ASSERT_FALSE(before.empty());
    sys::setNow(kFirstStart.addSecs(3600)); // the replaced rows get a stamp of their own

    // Every stock over the last two weeks again; the site goes down halfway through.
    frmGetDataMN window;
    window.show();
    QWidget *from = window.findChild<QWidget *>(QStringLiteral("picDateST"));
    from->findChild<QDateTimeEdit *>()->setDate(gdtLastKabukaDate.addDays(-13));
    const int start = historyRequests();
    const int half = int(market().stocks().size()) * 5;
    whenDuring([&] { return historyRequests() >= start + half; },
               [&] { site().setFailure(FakeQuoteSite::Failure::Http500); });
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdSelect")), Qt::LeftButton);

    const std::map<PriceKey, StoredPrice> after = storedPrices();
    ASSERT_EQ(after.size(), before.size());
    int replaced = 0;
    for (const auto &[key, row] : before) {
        StoredPrice now = after.at(key);
        replaced += now.updated != row.updated ? 1 : 0;
        now.registered = row.registered;
        now.updated = row.updated;
        EXPECT_EQ(now, row) << std::get<0>(key).toStdString() << ' '
                            << std::get<2>(key).toString(Qt::ISODate).toStdString();
    }
    EXPECT_GE(replaced, half - 1);
    EXPECT_LT(replaced, int(market().stocks().size()) * 10);
    EXPECT_EQ(cautionFlags(), flags) << "an unreadable caution page keeps the flags";
    // The dead site stops the run and says so, no recalculation is offered, and the rows it
    // replaced are named as uncalculated.
    const QStringList texts = MessageBoxRecorder::instance().texts();
    ASSERT_EQ(texts.size(), 3) << texts.join(u'\n').toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("株価サイト(127.0.0.1)から5銘柄続けて"))) << texts[1].toStdString();
    EXPECT_TRUE(texts[2].contains(QStringLiteral("置き換え%1件").arg(replaced))) << texts[2].toStdString();
}

} // namespace
