#include "PriceRows.h"

#include "core/modGlobal.h"
#include "marketdata/frmCalcDataMN.h"
#include "marketdata/modCalc.h"
#include "platform/sys/Clock.h"
#include "platform/ui/MsgBox.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QDate kFirstDay(2024, 1, 1);
const QString kFirstRun = QStringLiteral("2024-06-03 18:00:00");
const QString kWindowRun = QStringLiteral("2024-06-04 09:00:00");

class FrmCalcDataMNTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        setPeriods(defaultPeriods());
        const std::vector<double> prices{100, 104, 103, 107, 110, 108};
        days = insertPrices(QStringLiteral("1301"), QStringLiteral("t1"), kFirstDay, prices);
        insertPrices(QStringLiteral("1301"), QStringLiteral("o1"), kFirstDay, prices);
        insertPrices(QStringLiteral("7203"), QStringLiteral("t1"), kFirstDay, prices);
        sys::setNow(QDateTime(QDate(2024, 6, 3), QTime(18, 0)));
        calcKabuka(0, days.first(), days.last(), QString(), QString(), nullptr);
        fullRun = readSeries(QStringLiteral("1301"), QStringLiteral("t1"));
        // Stored values of the two last days that the window must rebuild.
        gcnDB.execute(QStringLiteral("update ttstocks set 短期EMA = 0, RSI = 0 where 日付 >= ?"), days[4]);
        sys::setNow(QDateTime(QDate(2024, 6, 4), QTime(9, 0)));
        gdtFirstKabukaDate = days.first();
        gdtLastKabukaDate = days.last();
        window = std::make_unique<frmCalcDataMN>();
        window->show();
    }

    template <typename T>
    T *control(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }

    void setRange(const QDate &first, const QDate &last)
    {
        control<QWidget>("picDateST")->findChild<QDateTimeEdit *>()->setDate(first);
        control<QWidget>("picDateED")->findChild<QDateTimeEdit *>()->setDate(last);
    }

    void startWithYes()
    {
        MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
        QTest::mouseClick(control<QPushButton>("cmdSelect"), Qt::LeftButton);
    }

    static QString updated(const char *code, const char *market, const QDate &day)
    {
        return readIndicators(QString::fromLatin1(code), QString::fromLatin1(market), day).updated;
    }

    QList<QDate> days;
    std::vector<StoredIndicators> fullRun;
    std::unique_ptr<frmCalcDataMN> window;
};

TEST_F(FrmCalcDataMNTest, LoadingShowsTheNewestDayInBothPickersAndTheMarkets)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("株価情報再計算"));
    EXPECT_EQ(control<QLabel>("lblMaxDate")->text(), QStringLiteral("最終データ：2024/01/08"));
    EXPECT_EQ(control<QLabel>("lblMsg")->text(), QString());
    EXPECT_EQ(control<QWidget>("picDateST")->findChild<QDateTimeEdit *>()->date(), days.last());
    EXPECT_EQ(control<QWidget>("picDateED")->findChild<QDateTimeEdit *>()->date(), days.last());
    const QComboBox *markets = control<QComboBox>("cmbSizyouCode");
    ASSERT_GT(markets->count(), 2);
    EXPECT_EQ(markets->itemText(0), QString());
    EXPECT_EQ(markets->itemText(1), QStringLiteral("東1"));
}

TEST_F(FrmCalcDataMNTest, OpensInTheCodeBoxAndTabsThroughTheChoicesThenThePickers)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("txtBrandCode"));

    // The Tab stops by name; a date picker is named by its host, its inner text box skipped.
    QStringList order;
    for (QWidget *w = window->nextInFocusChain(); w != window.get(); w = w->nextInFocusChain()) {
        if (qobject_cast<QDateTimeEdit *>(w))
            order << w->parentWidget()->objectName();
        else if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().startsWith(u"qt_"))
            order << w->objectName();
    }
    EXPECT_EQ(order,
              QStringList({QStringLiteral("txtBrandCode"), QStringLiteral("cmbSizyouCode"), QStringLiteral("cmdSelect"),
                           QStringLiteral("cmdClose"), QStringLiteral("picDateST"), QStringLiteral("picDateED")}));
}

TEST_F(FrmCalcDataMNTest, AnsweringNoLeavesEverythingAsItWas)
{
    setRange(days[4], days[5]);
    QTest::mouseClick(control<QPushButton>("cmdSelect"), Qt::LeftButton);
    ASSERT_EQ(MessageBoxRecorder::instance().calls().size(), 1);
    EXPECT_EQ(MessageBoxRecorder::instance().texts().first(),
              QStringLiteral("指定範囲の株価情報の再計算を行います。よろしいですか?"));
    EXPECT_EQ(MessageBoxRecorder::instance().calls().first().style, ui::vbYesNo + ui::vbInformation);
    EXPECT_EQ(updated("1301", "t1", days[5]), kFirstRun);
    EXPECT_TRUE(control<QPushButton>("cmdSelect")->isVisible());
    EXPECT_TRUE(control<QPushButton>("cmdClose")->isEnabled());
}

TEST_F(FrmCalcDataMNTest, EmptyCodeRecomputesEveryStockOfTheRangeAsAContinuation)
{
    setRange(days[4], days[5]);
    control<QComboBox>("cmbSizyouCode")->setCurrentIndex(1); // ignored without a code
    startWithYes();

    EXPECT_EQ(control<QLabel>("lblMsg")->text(), QStringLiteral("処理が完了しました。"));
    EXPECT_TRUE(control<QPushButton>("cmdSelect")->isVisible());
    EXPECT_TRUE(control<QPushButton>("cmdClose")->isEnabled());
    for (const char *market : {"t1", "o1"}) {
        EXPECT_EQ(updated("1301", market, days[3]), kFirstRun) << market;
        EXPECT_EQ(updated("1301", market, days[4]), kWindowRun) << market;
    }
    const auto rows = readSeries(QStringLiteral("1301"), QStringLiteral("t1"));
    for (std::size_t i = 4; i < rows.size(); ++i)
        expectSameValues(rows[i].values, fullRun[i].values, "row " + std::to_string(i));
}

TEST_F(FrmCalcDataMNTest, CodeAndMarketRecomputeOneStockOnOneMarket)
{
    setRange(days[4], days[5]);
    control<QLineEdit>("txtBrandCode")->setText(QStringLiteral("1301"));
    control<QComboBox>("cmbSizyouCode")->setCurrentText(QStringLiteral("大1"));
    startWithYes();

    EXPECT_EQ(updated("1301", "o1", days[5]), kWindowRun);
    EXPECT_EQ(updated("1301", "t1", days[5]), kFirstRun);
    EXPECT_EQ(updated("7203", "t1", days[5]), kFirstRun);
}

// Its stop (the system's request to end the program) ends the run before the next stock;
// a stock begun is computed whole.
TEST_F(FrmCalcDataMNTest, AStopEndsTheRunBeforeTheNextStock)
{
    setRange(days[4], days[5]);
    QTimer::singleShot(0, window.get(), [this] { window->stopJob(); }); // as the run begins
    startWithYes();

    EXPECT_EQ(control<QLabel>("lblMsg")->text(), QStringLiteral("処理を中止しました。"));
    EXPECT_TRUE(control<QPushButton>("cmdClose")->isEnabled());
    EXPECT_FALSE(window->jobRunning());
    for (const char *market : {"t1", "o1"})
        EXPECT_EQ(updated("1301", market, days[5]), kFirstRun) << market;
    EXPECT_EQ(updated("7203", "t1", days[5]), kFirstRun);

    // The next run is not stopped by the last one's request.
    startWithYes();
    EXPECT_EQ(control<QLabel>("lblMsg")->text(), QStringLiteral("処理が完了しました。"));
    EXPECT_EQ(updated("7203", "t1", days[5]), kWindowRun);
}

TEST_F(FrmCalcDataMNTest, ClosingIsRefusedWhileTheRecalculationRuns)
{
    bool busyDuringRun = false;
    bool stayedOpen = false;
    QTimer::singleShot(0, window.get(), [&] {
        busyDuringRun =
            !control<QPushButton>("cmdSelect")->isVisible() && !control<QPushButton>("cmdClose")->isEnabled();
        control<QAction>("mnuClose")->trigger();
        window->close();
        stayedOpen = window->isVisible();
    });
    startWithYes();

    EXPECT_TRUE(busyDuringRun);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(MessageBoxRecorder::instance().texts().count(QStringLiteral("処理中に画面を閉じることはできません。")),
              2);
    EXPECT_EQ(control<QLabel>("lblMsg")->text(), QStringLiteral("処理が完了しました。"));
    QTest::mouseClick(control<QPushButton>("cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
