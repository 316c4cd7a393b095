#include "QuoteSiteFixture.h"
#include "marketdata/modTimeStocks.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Chart2D.h"

using Failure = FakeQuoteSite::Failure;

namespace {

const QString kCode = FakeMarket::kIndexCode;
const QString kMarket = FakeMarket::kIndexMarket;
const QDate kThursday(2007, 3, 29);

struct Point {
    QString time;
    double price;
    QString recorded;
};

class TimeStocksTest : public QuoteSiteFixture {
protected:
    void tick(const QDateTime &now)
    {
        sys::setNow(now);
        saveTimeStocks(control, now, kCode, kMarket);
    }

    std::vector<Point> stored(const QDate &day)
    {
        std::vector<Point> points;
        db::Statement st =
            gcnDB.prepare(QStringLiteral("select 時刻, 現在値, 登録日付, 更新日付 from tttimestocks where 銘柄コード = "
                                         "? and 市場コード = ? and 日付 = ? order by 時刻"));
        st.bindAll(kCode, kMarket, day);
        while (st.step()) {
            EXPECT_EQ(st.text(2), st.text(3));
            points.push_back({st.text(0), st.real(1), st.text(2)});
        }
        return points;
    }

    void storePoints(const QDate &day, int count)
    {
        for (int i = 0; i < count; ++i) {
            const QTime t = QTime(9, 0).addSecs(60 * i);
            gcnDB.execute(
                QStringLiteral("insert into tttimestocks (日付,時刻,銘柄コード,現在値,登録日付,更新日付,市場コード)"
                               " values (?,?,?,?,?,?,?)"),
                day, t.toString(QStringLiteral("HHmm")), kCode, 17000.0 + i, QDateTime(day, t), QDateTime(day, t),
                kMarket);
        }
    }
};

} // namespace

TEST_F(TimeStocksTest, RecordsOnlyInTheTradingWindow)
{
    const struct {
        QDate day;
        QTime time;
        const char *stored; // "" = nothing recorded
    } cases[] = {
        {kThursday, QTime(8, 59), ""},          {kThursday, QTime(9, 0), "0900"},
        {kThursday, QTime(9, 5, 40), "0905"},   {kThursday, QTime(10, 59), "1059"},
        {kThursday, QTime(11, 0), ""},          {kThursday, QTime(12, 0), ""},
        {kThursday, QTime(12, 30), ""},         {kThursday, QTime(12, 31), "1231"},
        {kThursday, QTime(15, 0), "1500"},      {kThursday, QTime(15, 1), ""},
        {QDate(2007, 3, 31), QTime(10, 0), ""}, {QDate(2007, 4, 1), QTime(10, 0), ""},
    };
    for (const auto &c : cases) {
        gcnDB.execute(QStringLiteral("delete from tttimestocks"));
        const int requestsBefore = site.requestCount();
        const QDateTime now(c.day, c.time);
        tick(now);
        const std::vector<Point> points = stored(c.day);
        const QString expected = QString::fromLatin1(c.stored);
        SCOPED_TRACE(now.toString(Qt::ISODate).toStdString());
        if (expected.isEmpty()) {
            EXPECT_TRUE(points.empty());
            EXPECT_EQ(site.requestCount(), requestsBefore); // outside the window nothing is fetched
            continue;
        }
        ASSERT_EQ(points.size(), 1u);
        EXPECT_EQ(points[0].time, expected);
        EXPECT_DOUBLE_EQ(points[0].price, site.market().quote(kCode, kMarket, now, false).price);
        EXPECT_EQ(points[0].recorded, now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
}

TEST_F(TimeStocksTest, TheQuoteTimeKeysTheRow)
{
    site.setQuoteMoment(QDateTime(kThursday, QTime(10, 0)));
    tick(QDateTime(kThursday, QTime(10, 0, 5)));
    tick(QDateTime(kThursday, QTime(10, 1, 5))); // the page still shows 10:00
    const std::vector<Point> points = stored(kThursday);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].time, QStringLiteral("1000"));
    EXPECT_EQ(points[0].recorded, QStringLiteral("2007-03-29 10:01:05"));
}

TEST_F(TimeStocksTest, NoPointWithoutATodaysPrice)
{
    site.setQuoteShowsDate(true); // a weekday without trading: the page shows the last trade's date
    tick(QDateTime(kThursday, QTime(10, 0)));
    EXPECT_TRUE(stored(kThursday).empty());
    // The page shows today's date in date form, without a time: there is no point in time.
    site.setQuoteMoment(QDateTime(kThursday.addDays(1), QTime(10, 0)));
    tick(QDateTime(kThursday, QTime(10, 0)));
    EXPECT_TRUE(stored(kThursday).empty());
    site.setQuoteMoment(std::nullopt);
    site.setQuoteShowsDate(false);

    for (const Failure failure : {Failure::Http500, Failure::EmptyPage, Failure::ChangedPage}) {
        site.setFailure(failure);
        tick(QDateTime(kThursday, QTime(10, 0)));
        EXPECT_TRUE(stored(kThursday).empty()) << int(failure);
    }
}

TEST_F(TimeStocksTest, ChartLabelsEveryFiftiethPoint)
{
    const struct {
        int points;
        QList<double> labelsAt;
    } cases[] = {{0, {}}, {49, {}}, {50, {50}}, {99, {50}}, {150, {50, 100, 150}}};
    ui::Chart2D chart;
    for (const auto &c : cases) {
        gcnDB.execute(QStringLiteral("delete from tttimestocks"));
        storePoints(kThursday, c.points);
        storePoints(kThursday.addDays(-1), 60); // another day is not drawn
        gcnDB.execute(
            QStringLiteral("insert into tttimestocks (日付,時刻,銘柄コード,現在値,市場コード) values (?,?,?,?,?)"),
            kThursday, QStringLiteral("1459"), kCode, 0.0, kMarket); // no price: not drawn

        drawTimeChart(1, kCode, kMarket, QDateTime(kThursday, QTime(15, 0)), chart);
        SCOPED_TRACE(c.points);
        EXPECT_FALSE(chart.isBatched());
        ASSERT_EQ(chart.group(1).seriesCount(), 1);
        ASSERT_EQ(chart.group(1).pointCount(), c.points);
        QList<double> at;
        for (const ui::Chart2D::ValueLabel &label : chart.axisX().valueLabels())
            at.append(label.x);
        EXPECT_EQ(at, c.labelsAt);
        EXPECT_EQ(chart.axisX().annotation(), ui::Chart2D::Annotation::ValueLabels);
        for (int i = 1; i <= c.points; ++i)
            EXPECT_EQ(chart.group(1).y(1, i), 17000.0 + i - 1);
    }
    // Point 50 is the quote of 09:49, point 100 of 10:39.
    EXPECT_EQ(chart.axisX().valueLabels()[0].text, QStringLiteral("09:49"));
    EXPECT_EQ(chart.axisX().valueLabels()[1].text, QStringLiteral("10:39"));

    EXPECT_EQ(chart.group(1).style(1).color, QColor(246, 207, 8));
    EXPECT_EQ(chart.group(1).style(1).width, 1);
    EXPECT_EQ(chart.axisX().grid().color, QColor(0, 0, 192));
    EXPECT_EQ(chart.axisY().grid().color, QColor(0, 0, 192));
    EXPECT_EQ(chart.axisY().grid().pattern, ui::Chart2D::LinePattern::Solid);
    EXPECT_EQ(chart.axisY().min(), chart.axisY2().min());
    EXPECT_EQ(chart.axisY().max(), chart.axisY2().max());
    EXPECT_LE(chart.axisY().min(), 17000);
    EXPECT_GE(chart.axisY().max(), 17149);
}
