#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "mainwindow/ChartSetup.h"
#include "mainwindow/ProfitChart.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Chart2D.h"
#include "support/ChartImage.h"
#include "support/ProgramDirFixture.h"

#include <QImage>

namespace {

using ui::Chart2D;

const QColor kBarFill(0, 128, 192);

class ProfitChartTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        for (const char *code : {"1301", "1302"})
            gcnDB.execute(QStringLiteral("insert into tmbond (銘柄コード, 市場コード) values (?, 't1')"),
                          QString::fromLatin1(code));
        chart.resize(480, 260);
        initChart(chart);
    }

    // One execution; `side` as text or as number, 1 a buy.
    template <typename Side>
    void addExecution(const QString &received, const Side &side, qint64 price, qint64 shares,
                      const QString &code = QStringLiteral("1301"))
    {
        gcnDB.execute(
            QStringLiteral("insert into ttcontracthistory (受付日時, 売買区分, 約定金額, 約定株数, 銘柄コード,"
                           " 市場コード) values (?, ?, ?, ?, ?, 't1')"),
            received, side, price, shares, code);
    }

    QStringList labels() const
    {
        QStringList texts;
        for (const Chart2D::ValueLabel &label : chart.axisX().valueLabels())
            texts.append(QString::number(label.x) + u' ' + label.text);
        return texts;
    }

    static QStringList texts(std::initializer_list<const char *> list)
    {
        QStringList result;
        for (const char *text : list)
            result.append(QString::fromUtf8(text));
        return result;
    }

    QList<double> values(int group) const
    {
        QList<double> result;
        for (int i = 1; i <= chart.group(group).pointCount(); ++i)
            result.append(chart.group(group).y(1, i).value_or(-1));
        return result;
    }

    Chart2D chart;
};

TEST_F(ProfitChartTest, MonthsInOrderWithTheirRunningTotal)
{
    // Stored out of order, across a year end; the buy flag as text and as a number.
    addExecution(QStringLiteral("2027-01-05 10:00:00"), QStringLiteral("1"), 3000000, 1000); // 3e9: beyond 32 bits
    addExecution(QStringLiteral("2026-12-15 10:00:00"), QStringLiteral("2"), 1200, 100);
    addExecution(QStringLiteral("2026-11-04 10:00:00"), 1, 1000, 100);
    addExecution(QStringLiteral("2026-11-20 10:00:00"), QStringLiteral("1"), 500, 100);
    addExecution(QStringLiteral("2026-12-01 10:00:00"), QStringLiteral("2"), 9999, 100, QStringLiteral("9999"));
    drawSyusiChart(1, QDate(2026, 1, 1), QDate(2027, 12, 31), chart);

    EXPECT_FALSE(chart.isBatched());
    EXPECT_EQ(chart.group(1).chartType(), Chart2D::ChartType::Bars);
    EXPECT_EQ(chart.group(2).chartType(), Chart2D::ChartType::Lines);
    EXPECT_EQ(labels().mid(0, 4), texts({"1 26/11", "2 26/12", "3 27/01", "4 27/02"}));
    EXPECT_EQ(labels().size(), 12);
    EXPECT_EQ(labels().last(), QStringLiteral("12 27/10"));
    const QList<double> zeros(9, 0.0);
    EXPECT_EQ(values(1), QList<double>({-150000, 120000, -3000000000.0}) + zeros);
    EXPECT_EQ(values(2), QList<double>({-150000, -30000, -3000030000.0}) + zeros);
    for (const Chart2D::Axis *axis : {&chart.axisY(), &chart.axisY2()}) {
        EXPECT_EQ(axis->min(), -3000030000.0);
        EXPECT_EQ(axis->max(), 3000030000.0);
    }

    EXPECT_EQ(chart.group(1).fillColor(), kBarFill);
    EXPECT_EQ(chart.group(1).style(1).pattern, Chart2D::LinePattern::None);
    EXPECT_EQ(chart.group(2).style(1).color, QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(chart.group(2).style(1).width, 2);
    const QImage image = chart.grab().toImage();
    EXPECT_TRUE(showsAt(chart, image, 3, -1500000000, kBarFill));       // the January buy below zero
    EXPECT_TRUE(showsAt(chart, image, 8, 0, QColor(0xC0, 0xC0, 0xC0))); // the line back at zero
}

TEST_F(ProfitChartTest, MonthsFollowTheCalendarAcrossCenturies)
{
    addExecution(QStringLiteral("2100-01-10 10:00:00"), QStringLiteral("2"), 1000, 100);
    addExecution(QStringLiteral("2099-12-10 10:00:00"), QStringLiteral("1"), 1000, 100);
    drawSyusiChart(1, QDate(2099, 1, 1), QDate(2100, 12, 31), chart);
    EXPECT_EQ(labels().mid(0, 3), texts({"1 99/12", "2 00/01", "3 00/02"}));
    EXPECT_EQ(values(2).mid(0, 2), (QList<double>{-100000, 0}));
}

TEST_F(ProfitChartTest, TheWholeFirstAndLastDayCount)
{
    const struct {
        const char *received;
        bool counted;
    } cases[] = {{"2026-03-31 23:59:59", false},
                 {"2026-04-01 00:00:00", true},
                 {"2026-06-30 23:59:59", true},
                 {"2026-07-01 00:00:00", false}};
    qint64 price = 1;
    double expected = 0;
    for (const auto &c : cases) {
        addExecution(QString::fromLatin1(c.received), QStringLiteral("2"), price, 1);
        expected += c.counted ? double(price) : 0;
        price *= 10;
    }
    drawSyusiChart(1, QDate(2026, 4, 1), QDate(2026, 6, 30), chart);
    EXPECT_EQ(values(2).value(1), expected); // April 10, then June 100 (May has no execution)
    EXPECT_EQ(labels().mid(0, 3), texts({"1 26/04", "2 26/06", "3 26/07"}));

    // An unset start (the zero date) counts every execution up to the last day.
    drawSyusiChart(1, kZeroDate.date(), QDate(2026, 12, 31), chart);
    EXPECT_EQ(values(2).value(3), 1111);
}

TEST_F(ProfitChartTest, NoExecutionShowsTwelveEmptyMonthsFromNow)
{
    drawSyusiChart(1, QDate(2026, 1, 1), QDate(2026, 12, 10), chart);
    ASSERT_EQ(labels().size(), 12);
    EXPECT_EQ(labels().first(), QStringLiteral("1 26/12"));
    EXPECT_EQ(labels().last(), QStringLiteral("12 27/11"));
    EXPECT_EQ(values(1), QList<double>(12, 0.0));
    EXPECT_EQ(chart.axisY().min(), 0);
    EXPECT_EQ(chart.axisY().max(), 0);
    EXPECT_EQ(countInPlot(chart, chart.grab().toImage(), kBarFill), 0);
}

TEST_F(ProfitChartTest, MoreThanTwelveMonthsAreNotPadded)
{
    for (int m = 0; m < 14; ++m)
        addExecution(QDate(2025, 1, 15).addMonths(m).toString(QStringLiteral("yyyy-MM-dd 10:00:00")),
                     m % 2 ? QStringLiteral("2") : QStringLiteral("1"), 1000000, 1);
    drawSyusiChart(1, QDate(2025, 1, 1), QDate(2026, 12, 31), chart);
    ASSERT_EQ(labels().size(), 14);
    EXPECT_EQ(labels().last(), QStringLiteral("14 26/02"));
    // M = 1000000: grid lines every 500000 from -1000000 to 1000000.
    EXPECT_EQ(chart.axisY().min(), -1000000);
    EXPECT_EQ(chart.axisY().max(), 1000000);
    EXPECT_EQ(chart.axisY().gridSpacing(), 500000);
}

} // namespace
