#include "screening/SimuFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/ui/Printer.h"
#include "screening/frmSimu.h"
#include "screening/modPrint.h"
#include "support/MessageBoxRecorder.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QDate kHoliday(2026, 2, 11); // a Wednesday without trading

class SimuRunTest : public SimuFixture {
protected:
    // Three stocks over late January (the month ends on a Saturday) and early February:
    // 1001 (unit 100), 1002 (unit 1000, more than one purchase buys) and 1003 on two
    // markets (unit 1).
    void buildGoldenHistory()
    {
        addReferenceDays(QDate(2026, 1, 5), QDate(2026, 2, 13), {QDate(2026, 1, 12), kHoliday});
        addStock(u"1001"_s, u"t1"_s, 100, u"アルファ精密工業株式会社"_s);
        addStock(u"1002"_s, u"t1"_s, 1000, u"ベータ電機"_s);
        addStock(u"1003"_s, u"t1"_s, 1, u"シータ化成"_s);
        addStock(u"1003"_s, u"t2"_s, 1, u"シータ化成"_s);

        const auto a = [](int m, int d, double open, double high = 0, double low = 0, int split = 0) {
            addBar({.code = u"1001"_s,
                    .day = QDate(2026, m, d),
                    .open = open,
                    .high = high,
                    .low = low,
                    .smaM = 2000,
                    .split = split});
        };
        const auto c = [](int m, int d, double open, double high = 0, double low = 0) {
            addBar({.code = u"1003"_s, .day = QDate(2026, m, d), .open = open, .high = high, .low = low, .smaM = 1500});
        };
        for (int d : {21, 22, 23}) {
            a(1, d, 1000);
            c(1, d, 962);
            addBar({.code = u"1002"_s, .day = QDate(2026, 1, d), .open = 400, .smaM = 500});
        }
        addBar({.code = u"1002"_s, .day = QDate(2026, 1, 26), .open = 400, .smaM = 500});
        // 1001: bought at the mid-price 1,000, out of the screening of the 27th (split),
        // sold on the 28th at exactly +10%, bought again on the 30th.
        a(1, 26, 1000, 1010, 990);
        a(1, 27, 1000, 0, 0, 1);
        a(1, 28, 1100, 1120, 1081);
        for (const QDate &day : weekdays(QDate(2026, 1, 29), QDate(2026, 2, 13), {kHoliday}))
            a(day.month(), day.day(), 1100);
        // 1003: 333,333 / 962 = 346.5 shares, halves to even; mid-price 960.5 to the tick
        // 960; no row on the 27th; -5% exactly on the 29th is kept, -5.4% on the 30th sold;
        // bought again on 2 February.
        c(1, 26, 962, 970, 951);
        c(1, 28, 960);
        c(1, 29, 912);
        c(1, 30, 908);
        for (const QDate &day : weekdays(QDate(2026, 2, 2), QDate(2026, 2, 13), {kHoliday}))
            c(day.month(), day.day(), 900);
        // The same code on the second market, offered while 1003 is held.
        addFlat(u"1003"_s, u"t2"_s, 900, QDate(2026, 1, 21), QDate(2026, 2, 10));
        addFlat(u"1003"_s, u"t2"_s, 900, QDate(2026, 2, 12), QDate(2026, 2, 13));
    }

    static QStringList goldenLines()
    {
        return {
            u"2026/01/26 : 1001 アルファ精密工業株式(東1)     を          1,000円で      300株買約定しました。"_s,
            u"2026/01/26 : 1003 シータ化成(東1)               を            960円で      346株買約定しました。"_s,
            u"2026/01/28 : 1001 アルファ精密工業株式(東1)     を          1,100円で      300株売約定しました。"_s,
            u"2026/01/30 : 1001 アルファ精密工業株式(東1)     を          1,100円で      300株買約定しました。"_s,
            u"2026/01/30 : 1003 シータ化成(東1)               を            908円で      346株売約定しました。"_s,
            printRule(),
            u"2026/01計"_s,
            u"元　本      1,000,000"_s,
            u"現　金        682,008"_s,
            u"持ち株        330,000"_s,
            u"合　計      1,012,008"_s,
            u"利益率           101%"_s,
            u""_s,
            u"2026/02/02 : 1003 シータ化成(東1)               を            900円で      370株買約定しました。"_s,
            printRule(),
            u"総合計"_s,
            u"元　本      1,000,000"_s,
            u"現　金        349,008"_s,
            u"持ち株        663,000"_s,
            u"合　計      1,012,008"_s,
            u"利益率           101%"_s,
            u" "_s,
        };
    }

    ui::PrintDialog printDialog;
};

TEST_F(SimuRunTest, GoldenRunWritesEveryTradeAndBlock)
{
    buildGoldenHistory();
    frmSimu window(printDialog);
    EXPECT_EQ(run(window, QDate(2026, 1, 26), QDate(2026, 2, 13)), goldenLines());
    EXPECT_TRUE(MessageBoxRecorder::instance().calls().isEmpty());
    EXPECT_TRUE(window.findChild<QPushButton *>(u"cmdPrint"_s)->isEnabled());
    EXPECT_TRUE(window.findChild<QPushButton *>(u"cmdCancel"_s)->isHidden());
}

// What happens inside a run's yields leaves the run alone: the settings it copied, a full
// live reservation table, the refused close commands and the disabled settings menus.
TEST_F(SimuRunTest, RunIgnoresChangesAndRefusesClosingWhileItRuns)
{
    buildGoldenHistory();
    for (int number = 1; number <= 3; ++number)
        addRegisteredReservation(number, u"2026-01-20 10:00:00"_s);
    frmSimu window(printDialog);
    window.show();
    bool checked = false;
    QTimer::singleShot(0, &window, [&] {
        simOD.ODRiekiWariaiUri1 = 0;
        simBS.TousiGanpon = 5;
        EXPECT_FALSE(window.findChild<QAction *>(u"mnuConfSelect"_s)->isEnabled());
        EXPECT_FALSE(window.findChild<QAction *>(u"mnuCalc"_s)->isEnabled());
        EXPECT_FALSE(window.findChild<QPushButton *>(u"cmdPrint"_s)->isEnabled());
        window.findChild<QAction *>(u"mnuClose"_s)->trigger();
        window.findChild<QPushButton *>(u"cmdClose"_s)->click();
        window.close();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &escape);
        EXPECT_TRUE(window.isVisible());
        checked = true;
    });
    EXPECT_EQ(run(window, QDate(2026, 1, 26), QDate(2026, 2, 13)), goldenLines());
    EXPECT_TRUE(checked);
    EXPECT_EQ(MessageBoxRecorder::instance().texts(), QStringList(4, u"処理中に画面を閉じることはできません。"_s));
    EXPECT_TRUE(window.findChild<QAction *>(u"mnuConfSelect"_s)->isEnabled());
    window.close();
    EXPECT_FALSE(window.isVisible());
}

// A cancelled run, here over the first section taken for want of ticked markets, does not
// claim on its message line that it ran.
TEST_F(SimuRunTest, CancelEndsAfterTheDayAndStillWritesTheClosingBlock)
{
    buildGoldenHistory();
    tickNoMarket();
    frmSimu window(printDialog);
    auto *cmdRun = window.findChild<QPushButton *>(u"cmdRun"_s);
    auto *cmdCancel = window.findChild<QPushButton *>(u"cmdCancel"_s);
    auto *cmdPrint = window.findChild<QPushButton *>(u"cmdPrint"_s);
    QTimer::singleShot(0, &window, [&] {
        cmdCancel->click();
        EXPECT_FALSE(cmdCancel->isEnabled());
        EXPECT_TRUE(cmdRun->isHidden());
        EXPECT_FALSE(cmdPrint->isEnabled());
    });
    const QStringList result = run(window, QDate(2026, 1, 26), QDate(2026, 2, 13));
    // The first day's buys, then the closing block valued at the end date.
    const QStringList expected{goldenLines()[0],
                               goldenLines()[1],
                               printRule(),
                               u"総合計"_s,
                               u"元　本      1,000,000"_s,
                               u"現　金        367,840"_s,
                               u"持ち株        641,400"_s,
                               u"合　計      1,009,240"_s,
                               u"利益率           101%"_s,
                               u" "_s};
    EXPECT_EQ(result, expected);
    EXPECT_EQ(window.findChild<QLabel *>(u"lblMsg"_s)->text(), u"シミュレーションを中止しました。"_s);
    EXPECT_FALSE(cmdRun->isHidden());
    EXPECT_TRUE(cmdCancel->isHidden());
    EXPECT_TRUE(cmdPrint->isEnabled());
}

// A gain or loss of exactly the profit-take or stop-loss rate is weighed in whole numbers:
// +29% sells at a rate of 29 and -7% stays held at a stop loss of 7, which their quotients in
// floating point (28.999... and -7.000...1) would turn round.
TEST_F(SimuRunTest, GainsOfExactlyTheRatesAreWeighedInWholeNumbers)
{
    addReferenceDays(QDate(2026, 1, 5), QDate(2026, 2, 13), {QDate(2026, 1, 12), kHoliday});
    simOD.ODRiekiWariaiUri1 = 29;
    simOD.ODSongiriWariaiUri1 = 7;
    simBS.KounyuTensu = 4;
    const struct {
        const char16_t *code;
        double nextDayPrice;
        bool sold;
    } cases[] = {
        {u"2001", 1290, true},  // +29%
        {u"2002", 1289, false}, // +28.9%
        {u"2003", 930, false},  // -7%
        {u"2004", 929, true},   // -7.1%
    };
    for (const auto &c : cases) {
        const QString code = QString::fromUtf16(c.code);
        addStock(code, u"t1"_s, 100, u"銘柄"_s + code);
        for (int d : {21, 22, 23})
            addBar({.code = code, .day = QDate(2026, 1, d), .open = 1000, .smaM = 2000});
        // Bought on the 26th at the mid-price 1,000; the 27th's mid-price is the case's.
        addBar({.code = code, .day = QDate(2026, 1, 26), .open = 1000, .high = 1010, .low = 990, .smaM = 2000});
        addBar({.code = code, .day = QDate(2026, 1, 27), .open = c.nextDayPrice, .smaM = 2000});
    }
    frmSimu window(printDialog);
    const QStringList result = run(window, QDate(2026, 1, 26), QDate(2026, 1, 27));
    for (const auto &c : cases) {
        const QString code = QString::fromUtf16(c.code);
        const auto tradedAs = [&](const QString &verb) {
            return std::count_if(result.begin(), result.end(), [&](const QString &line) {
                return line.contains(u" : "_s + code + u" "_s) && line.endsWith(verb + u"約定しました。"_s);
            });
        };
        EXPECT_EQ(tradedAs(u"買"_s), 1) << code.toStdString() << "\n" << result.join(u'\n').toStdString();
        EXPECT_EQ(tradedAs(u"売"_s), c.sold ? 1 : 0) << code.toStdString();
    }
}

TEST_F(SimuRunTest, PickersOpenOnTheStoredRangeAndFormLoadClampsTheMonth)
{
    addReferenceDays(QDate(2026, 1, 5), QDate(2026, 5, 29));
    gdtLastKabukaDate = QDate(2026, 5, 31);
    frmSimu window(printDialog);
    const auto value = [&](const char *host) {
        return window.findChild<QWidget *>(QLatin1String(host))->findChild<QDateTimeEdit *>()->date();
    };
    EXPECT_EQ(value("picDateST"), QDate(2026, 2, 28));
    EXPECT_EQ(value("picDateED"), QDate(2026, 5, 31));
    EXPECT_EQ(window.findChild<QLabel *>(u"lblMaxDate"_s)->text(), u"最終データ：2026/05/31"_s);
    EXPECT_FALSE(window.findChild<QPushButton *>(u"cmdPrint"_s)->isEnabled());
    EXPECT_EQ(window.windowTitle(), u"一括シミュレーション"_s);
}

struct StartCheck {
    const char *name;
    QDate start;
    QDate end;
    int capital;
    int purchaseSlots;
    bool noMarkets;
    QString message; // empty: the run goes ahead
};

class SimuStartCheckTest : public SimuFixture, public ::testing::WithParamInterface<StartCheck> {};

TEST_P(SimuStartCheckTest, RefusedRunsChangeNothing)
{
    const StartCheck &check = GetParam();
    addReferenceDays(QDate(2026, 1, 5), QDate(2026, 2, 13));
    simBS.TousiGanpon = check.capital;
    simBS.KounyuTensu = check.purchaseSlots;
    if (check.noMarkets)
        tickNoMarket();
    ui::PrintDialog printDialog;
    frmSimu window(printDialog);
    auto *list = window.findChild<QListWidget *>(u"lstResultData"_s);
    list->addItem(u"前回の結果"_s);
    const QStringList result = run(window, check.start, check.end);
    if (check.message.isEmpty()) {
        EXPECT_TRUE(MessageBoxRecorder::instance().calls().isEmpty());
        EXPECT_TRUE(result.contains(u"総合計"_s));
        // Without a ticked market the run takes the first section and its message line says so.
        EXPECT_EQ(window.findChild<QLabel *>(u"lblMsg"_s)->text() ==
                      u"シミュレーション対象の市場が設定されていないため、東証1部で実行しました。"_s,
                  check.noMarkets);
        return;
    }
    ASSERT_EQ(MessageBoxRecorder::instance().calls().size(), 1);
    EXPECT_EQ(MessageBoxRecorder::instance().calls()[0].text, check.message);
    EXPECT_EQ(MessageBoxRecorder::instance().calls()[0].style, ui::vbExclamation);
    EXPECT_EQ(result, QStringList{u"前回の結果"_s});
    EXPECT_FALSE(window.findChild<QPushButton *>(u"cmdPrint"_s)->isEnabled());
}

const QDate kFirstAllowed(2026, 1, 11); // first stored day 5 January + SMAL 5 days + 1
const QDate kLast(2026, 2, 13);

INSTANTIATE_TEST_SUITE_P(Table, SimuStartCheckTest,
                         ::testing::Values(StartCheck{.name = "StartOnTheLeadInsLastDay",
                                                      .start = kFirstAllowed.addDays(-1),
                                                      .end = kLast,
                                                      .capital = 1000000,
                                                      .purchaseSlots = 3,
                                                      .noMarkets = false,
                                                      .message = u"開始日は2026/01/11から後を指定してください。"_s},
                                           StartCheck{.name = "StartTheDayAfter",
                                                      .start = kFirstAllowed,
                                                      .end = kLast,
                                                      .capital = 1000000,
                                                      .purchaseSlots = 3,
                                                      .noMarkets = false,
                                                      .message = {}},
                                           StartCheck{.name = "EndAfterTheLastDay",
                                                      .start = kFirstAllowed,
                                                      .end = kLast.addDays(1),
                                                      .capital = 1000000,
                                                      .purchaseSlots = 3,
                                                      .noMarkets = false,
                                                      .message = u"終了日は2026/02/13から前を指定してください。"_s},
                                           StartCheck{.name = "StartAfterEnd",
                                                      .start = QDate(2026, 2, 2),
                                                      .end = QDate(2026, 1, 30),
                                                      .capital = 1000000,
                                                      .purchaseSlots = 3,
                                                      .noMarkets = false,
                                                      .message = u"終了日は開始日より大きい値を指定してください。"_s},
                                           StartCheck{.name = "OneDay",
                                                      .start = QDate(2026, 2, 2),
                                                      .end = QDate(2026, 2, 2),
                                                      .capital = 1000000,
                                                      .purchaseSlots = 3,
                                                      .noMarkets = false,
                                                      .message = {}},
                                           StartCheck{.name = "NoSlots",
                                                      .start = kFirstAllowed,
                                                      .end = kLast,
                                                      .capital = 1000000,
                                                      .purchaseSlots = 0,
                                                      .noMarkets = false,
                                                      .message = u"購入点数は1以上を指定してください。"_s},
                                           StartCheck{.name = "NoCapital",
                                                      .start = kFirstAllowed,
                                                      .end = kLast,
                                                      .capital = 0,
                                                      .purchaseSlots = 3,
                                                      .noMarkets = false,
                                                      .message = u"投資元本は1円以上を指定してください。"_s},
                                           StartCheck{.name = "NoMarketTakesTheFirstSection",
                                                      .start = kFirstAllowed,
                                                      .end = kLast,
                                                      .capital = 1000000,
                                                      .purchaseSlots = 3,
                                                      .noMarkets = true,
                                                      .message = {}}),
                         [](const auto &testCase) { return std::string(testCase.param.name); });

} // namespace
