#include "ImportFixture.h"

#include "core/modGlobal.h"
#include "marketdata/frmGetBrandMst.h"
#include "marketdata/frmGetData.h"
#include "marketdata/frmGetDataMN.h"
#include "marketdata/modKabuka.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/ui/MsgBox.h"
#include "support/MessageBoxRecorder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kRefusal = QStringLiteral("処理中に画面を閉じることはできません。");
const QString kCodeMessage = QStringLiteral("銘柄コードは4桁の数字で入力してください。");
const QString kRedownload = QStringLiteral("指定範囲の株価情報を再取得します。よろしいですか?");
const QString kRecalc = QStringLiteral("再計算を行います。よろしいですか?");

class ImportWindowsTest : public ImportFixture {
protected:
    ImportWindowsTest() : ImportFixture({.seed = 7, .stocks = 12, .days = 30, .lastDay = QDate(2007, 3, 30)}) {}

    void SetUp() override
    {
        ImportFixture::SetUp();
        sys::setNow(QDateTime(QDate(2007, 3, 30), QTime(19, 0)));
    }

    template <typename T>
    static T *child(QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QString text(QWidget &window, const char *name)
    {
        if (auto *label = window.findChild<QLabel *>(QString::fromLatin1(name)))
            return label->text();
        if (auto *button = window.findChild<QPushButton *>(QString::fromLatin1(name)))
            return button->text();
        return QStringLiteral("(no control %1)").arg(QString::fromLatin1(name));
    }

    static QDateTimeEdit *picker(QWidget &window, const char *host)
    {
        return child<QWidget>(window, host)->findChild<QDateTimeEdit *>();
    }

    static void click(QWidget &window, const char *name)
    {
        QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
    }

    static QStringList messages() { return MessageBoxRecorder::instance().texts(); }

    static int calculatedRows()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ttstocks where 短期SMA > 0"));
        st.step();
        return int(st.int64(0));
    }
};

TEST_F(ImportWindowsTest, RedownloadWindowShowsItsControlsAndRefusesABadCode)
{
    gdtLastKabukaDate = QDate(2007, 3, 28);
    frmGetDataMN window;
    window.show();

    EXPECT_EQ(window.windowTitle(), QStringLiteral("株価取得"));
    EXPECT_EQ(text(window, "lblMaxDate"), QStringLiteral("最終データ：2007/03/28"));
    EXPECT_EQ(text(window, "Label6"), QStringLiteral("銘柄コード"));
    EXPECT_EQ(text(window, "Label10"), QStringLiteral("対象日付"));
    EXPECT_EQ(text(window, "Label11"), QStringLiteral("-"));
    EXPECT_EQ(text(window, "cmdSelect"), QStringLiteral("再取得"));
    EXPECT_EQ(text(window, "cmdClose"), QStringLiteral("閉じる"));
    EXPECT_EQ(picker(window, "picDateST")->date(), QDate(2007, 3, 28));
    EXPECT_EQ(picker(window, "picDateED")->date(), QDate(2007, 3, 28));
    auto *markets = child<QComboBox>(window, "cmbSizyouCode");
    EXPECT_EQ(markets->itemText(0), QString());
    EXPECT_EQ(markets->itemText(1), QStringLiteral("東1"));

    for (const char16_t *code : {u"72a3", u"720", u"７２０３", u"72 3", u"-720"}) {
        MessageBoxRecorder::instance().reset();
        child<QLineEdit>(window, "txtBrandCode")->setText(QString::fromUtf16(code));
        click(window, "cmdSelect");
        EXPECT_EQ(messages(), QStringList{kCodeMessage});
    }
    EXPECT_EQ(site().requestCount(), 0);
}

TEST_F(ImportWindowsTest, RedownloadOfOneStockSaysWhatItLeftUncalculated)
{
    // The main window's own date label follows the run.
    QWidget mainWindow;
    mainWindow.setObjectName(QStringLiteral("frmMain"));
    auto *mainMaxDate = new QLabel(&mainWindow);
    mainMaxDate->setObjectName(QStringLiteral("lblMaxDate"));

    frmGetDataMN window;
    window.show();
    picker(window, "picDateST")->setDate(QDate(2007, 3, 27));
    picker(window, "picDateED")->setDate(QDate(2007, 3, 28));
    child<QLineEdit>(window, "txtBrandCode")->setText(QStringLiteral("7203"));
    child<QComboBox>(window, "cmbSizyouCode")->setCurrentText(QStringLiteral("東1"));

    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    MessageBoxRecorder::instance().queueAnswer(ui::vbNo);
    click(window, "cmdSelect");

    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(historyRequests(), 2);
    EXPECT_EQ(gdtLastKabukaDate, QDate(2007, 3, 28));
    EXPECT_EQ(mainMaxDate->text(), QStringLiteral("最終データ：2007/03/28"));
    EXPECT_EQ(text(window, "lblMaxDate"), QStringLiteral("最終データ：2000/01/01")) << "as it was loaded";
    const QString notice =
        QStringLiteral("2007/03/27～2007/03/28に登録した株価2件(新規2件、置き換え0件)は指標が計算されていません。"
                       "「株価情報再計算」でこの期間を計算してください。");
    EXPECT_EQ(messages(), QStringList({kRedownload, kRecalc, notice}));
    EXPECT_TRUE(logLines().contains(notice));
    EXPECT_EQ(calculatedRows(), 0);
    EXPECT_EQ(text(window, "lblMsg"), QStringLiteral("処理が完了しました。"));
    EXPECT_TRUE(child<QPushButton>(window, "cmdSelect")->isVisible());
    EXPECT_TRUE(child<QPushButton>(window, "cmdClose")->isEnabled());

    // Again, agreeing to the recalculation: every replaced row is calculated, no notice.
    MessageBoxRecorder::instance().reset();
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    click(window, "cmdSelect");
    EXPECT_EQ(messages(), QStringList({kRedownload, kRecalc}));
    EXPECT_EQ(calculatedRows(), 2);

    // Declined once more: the replaced rows keep the indicators of their old prices, and the
    // notice says which range that is.
    MessageBoxRecorder::instance().reset();
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    MessageBoxRecorder::instance().queueAnswer(ui::vbNo);
    click(window, "cmdSelect");
    EXPECT_EQ(messages(),
              QStringList({kRedownload, kRecalc,
                           QStringLiteral("2007/03/27～2007/03/28に登録した株価2件(新規0件、置き換え2件)は指標が"
                                          "計算されていません。「株価情報再計算」でこの期間を計算してください。")}));
}

TEST_F(ImportWindowsTest, RedownloadWindowRefusesToCloseWhileItRuns)
{
    frmGetDataMN window;
    window.show();
    picker(window, "picDateST")->setDate(QDate(2007, 3, 26));
    picker(window, "picDateED")->setDate(QDate(2007, 3, 28));
    bool visibleAfterClose = false;
    bool buttonsOff = false;
    whenDuring([&] { return historyRequests() > 3; },
               [&] {
                   buttonsOff = !child<QPushButton>(window, "cmdSelect")->isVisible() &&
                                !child<QPushButton>(window, "cmdClose")->isEnabled();
                   window.close();
                   visibleAfterClose = window.isVisible();
               });
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    click(window, "cmdSelect");

    EXPECT_TRUE(buttonsOff);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(messages().mid(0, 3), QStringList({kRedownload, kRefusal, kRecalc}));
    EXPECT_EQ(rowCount(), 3 * qint64(market().stocks().size())) << "the run went on to its end";
    window.close();
    EXPECT_FALSE(window.isVisible());
}

// A re-download that stops at a dead site says so, and offers no recalculation of days it
// did not fetch; the rows it stored before the stop are named as left uncalculated.
TEST_F(ImportWindowsTest, RedownloadStoppedAtADeadSiteSaysSoAndOffersNoRecalculation)
{
    frmGetDataMN window;
    window.show();
    picker(window, "picDateST")->setDate(QDate(2007, 3, 28));
    picker(window, "picDateED")->setDate(QDate(2007, 3, 28));
    whenDuring([&] { return historyRequests() >= 2; }, [&] { site().setFailure(FakeQuoteSite::Failure::Http500); });
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    click(window, "cmdSelect");

    EXPECT_EQ(rowCount(), 2);
    const QString deadSite = QStringLiteral("株価サイト(127.0.0.1)から5銘柄続けて株価情報を取得できなかったため、"
                                            "株価情報の取得を中止しました。登録済みの株価はそのままです。");
    const QString notice =
        QStringLiteral("2007/03/28～2007/03/28に登録した株価2件(新規2件、置き換え0件)は指標が計算されていません。"
                       "「株価情報再計算」でこの期間を計算してください。");
    EXPECT_EQ(messages(), QStringList({kRedownload, deadSite, notice}));
    EXPECT_EQ(text(window, "lblMsg"), QStringLiteral("処理を中止しました。"));
    EXPECT_EQ(calculatedRows(), 0);
    EXPECT_TRUE(child<QPushButton>(window, "cmdSelect")->isVisible());
    EXPECT_TRUE(child<QPushButton>(window, "cmdClose")->isEnabled());
}

// Its stop (the system's request to end the program) ends a re-download after the
// stock-day in hand: no split pass, no caution list, no recalculation offered.
TEST_F(ImportWindowsTest, RedownloadStopsAfterTheStockDayInHand)
{
    frmGetDataMN window;
    window.show();
    picker(window, "picDateST")->setDate(QDate(2007, 3, 26));
    picker(window, "picDateED")->setDate(QDate(2007, 3, 28));
    int requestsAtStop = 0;
    whenDuring([&] { return historyRequests() >= 2; },
               [&] {
                   requestsAtStop = site().requestCount();
                   window.stopJob();
               });
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    click(window, "cmdSelect");

    EXPECT_GT(requestsAtStop, 0);
    EXPECT_LE(site().requestCount() - requestsAtStop, 1) << "only the page in hand";
    EXPECT_EQ(text(window, "lblMsg"), QStringLiteral("処理を中止しました。"));
    EXPECT_FALSE(messages().contains(kRecalc));
    EXPECT_TRUE(logLines().contains(QStringLiteral("株価情報の再取得の中止が指示されました")));
    EXPECT_TRUE(child<QPushButton>(window, "cmdClose")->isEnabled());
}

TEST_F(ImportWindowsTest, MasterWindowAsksTwiceBeforeItTouchesTheMaster)
{
    frmGetBrandMst window;
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("銘柄マスタ取得"));
    EXPECT_EQ(text(window, "cmdSelect"), QStringLiteral("再取得"));
    const qint64 stocks = qint64(market().stocks().size());

    click(window, "cmdSelect"); // No to the window's question
    EXPECT_EQ(messages(),
              QStringList{QStringLiteral("銘柄マスタを再取得します。この処理は大変時間がかかります。よろしいですか?")});
    EXPECT_EQ(text(window, "lblMsg"), QString());

    MessageBoxRecorder::instance().reset();
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes); // then No to the rebuild's own
    click(window, "cmdSelect");
    EXPECT_EQ(messages().size(), 2);
    EXPECT_EQ(site().requestCount(), 0);
    db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from tmbond"));
    st.step();
    EXPECT_EQ(st.int64(0), stocks);
    EXPECT_EQ(text(window, "lblMsg"), QStringLiteral("処理が完了しました。"));
}

// While the rebuild runs the close box asks; No goes on, Yes stops it after the code in
// hand, and the old master stays.
TEST_F(ImportWindowsTest, MasterWindowStopsOnRequestAndKeepsTheOldMaster)
{
    gcnDB.execute(QStringLiteral("update tmbond set 会社名 = '旧名'"));
    const auto master = [] {
        db::Statement st =
            gcnDB.prepare(QStringLiteral("select count(*), sum(会社名 = '旧名') from tmbond where 市場コード = 't1'"));
        st.step();
        return std::pair{st.int64(0), st.int64(1)};
    };
    const auto before = master();
    frmGetBrandMst window;
    window.show();
    child<QComboBox>(window, "cmbSizyouCode")->setCurrentText(QStringLiteral("東1"));
    bool visibleAfterNo = false;
    whenDuring([&] { return site().requestCount() >= 3; },
               [&] {
                   MessageBoxRecorder::instance().queueAnswer(ui::vbNo);
                   window.close();
                   visibleAfterNo = window.isVisible();
                   MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
                   window.close();
               });
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    click(window, "cmdSelect");

    const QString question = QStringLiteral("銘柄マスタの再構築を中止しますか?\n"
                                            "処理中の銘柄コードの後で中止し、登録済みの銘柄マスタはそのまま残します。");
    EXPECT_TRUE(visibleAfterNo);
    EXPECT_EQ(messages().mid(2), QStringList({question, question}));
    EXPECT_EQ(site().requestCount(), 3) << "the code in hand was the last";
    EXPECT_EQ(master(), before);
    EXPECT_TRUE(logLines().contains(QStringLiteral("銘柄マスタの再構築の中止が指示されました")));
    EXPECT_TRUE(
        logLines().contains(QStringLiteral("銘柄マスタの再構築を中止しました。登録済みの銘柄マスタはそのままです。")));
    EXPECT_EQ(text(window, "lblMsg"), QStringLiteral("処理を中止しました。"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(child<QPushButton>(window, "cmdClose")->isEnabled());

    window.close(); // no job: the window closes without asking
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(messages().size(), 4);
}

// On a silent site each code costs up to ten attempts; a stop asked meanwhile ends them
// instead of waiting for the rest.
TEST_F(ImportWindowsTest, MasterWindowStopAsksNoFurtherAttemptOfTheCodeInHand)
{
    site().setFailure(FakeQuoteSite::Failure::Timeout);
    frmGetBrandMst window;
    child<net::Inet>(window, "Inet1")->setTimeouts(std::chrono::milliseconds(2000), std::chrono::milliseconds(300));
    window.show();
    child<QComboBox>(window, "cmbSizyouCode")->setCurrentText(QStringLiteral("東1"));
    whenDuring([&] { return site().requestCount() >= 1; },
               [&] {
                   MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
                   window.close();
               });
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    click(window, "cmdSelect");

    EXPECT_EQ(site().requestCount(), 1) << "no attempt after the stop";
    EXPECT_EQ(text(window, "lblMsg"), QStringLiteral("処理を中止しました。"));
    EXPECT_TRUE(
        logLines().contains(QStringLiteral("銘柄マスタの再構築を中止しました。登録済みの銘柄マスタはそのままです。")));
}

TEST_F(ImportWindowsTest, StartUpWindowRunsEveryStepOnceAndClosesItself)
{
    gdtLastKabukaDate = QDate(2007, 3, 27);
    frmGetData window;
    whenDuring([&] { return historyRequests() > 0; },
               [&] {
                   QEvent activate(QEvent::WindowActivate);
                   QCoreApplication::sendEvent(&window, &activate);
                   QCoreApplication::sendEvent(&window, &activate);
               });
    window.exec();

    EXPECT_FALSE(window.isVisible());
    const QStringList steps{
        QStringLiteral("●株価情報取得開始"),     QStringLiteral("●株価情報取得終了"),
        QStringLiteral("●最大最小日付取得開始"), QStringLiteral("●最大最小日付取得終了"),
        QStringLiteral("●計算処理開始"),         QStringLiteral("●計算処理終了"),
        QStringLiteral("●分割銘柄情報取得開始"), QStringLiteral("●分割銘柄情報取得終了"),
        QStringLiteral("●注意銘柄情報取得開始"), QStringLiteral("●注意銘柄情報取得終了"),
    };
    QStringList logged = logLines();
    logged.removeIf([](const QString &line) { return !line.startsWith(u'●'); });
    EXPECT_EQ(logged, steps);
    // Thursday and Friday up to yesterday: two pages per stock, the rows computed.
    EXPECT_EQ(historyRequests(), 2 * int(market().stocks().size()));
    EXPECT_EQ(gdtLastKabukaDate, QDate(2007, 3, 29));
    EXPECT_EQ(calculatedRows(), 2 * int(market().stocks().size()));
}

TEST_F(ImportWindowsTest, StartUpWindowWithYesterdayStoredFetchesNoPrices)
{
    gdtLastKabukaDate = QDate(2007, 3, 29);
    frmGetData().exec();
    EXPECT_EQ(historyRequests(), 0);
    EXPECT_TRUE(logLines().contains(QStringLiteral("●注意銘柄情報取得終了")));
}

// The close box asks; a stop ends the import after the stock in hand, and the next showing
// completes the same update from there.
TEST_F(ImportWindowsTest, StartUpWindowStopsOnRequestAndTheNextShowingCompletesTheUpdate)
{
    gdtLastKabukaDate = QDate(2007, 3, 27);
    const int stocks = int(market().stocks().size());
    {
        frmGetData window;
        whenDuring([&] { return historyRequests() >= 3; },
                   [&] {
                       MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
                       window.close();
                   });
        EXPECT_EQ(window.exec(), QDialog::Rejected);
    }
    EXPECT_EQ(historyRequests(), 3);
    EXPECT_EQ(rowCount(), 3);
    ASSERT_EQ(MessageBoxRecorder::instance().texts().size(), 1);
    EXPECT_TRUE(MessageBoxRecorder::instance().texts()[0].startsWith(QStringLiteral("株価情報の取得を中止しますか?")));
    EXPECT_FALSE(logLines().contains(QStringLiteral("●計算処理開始")));

    EXPECT_EQ(frmGetData().exec(), QDialog::Accepted);
    EXPECT_TRUE(
        logLines().contains(QStringLiteral("前回中断された最新データの更新(2007/03/28～2007/03/29)を完了します")));
    EXPECT_EQ(historyRequests(), 2 * stocks) << "every stock-day once";
    EXPECT_EQ(rowCount(), 2 * stocks);
    EXPECT_EQ(calculatedRows(), 2 * stocks);
}

// A site that fails every attempt for several stocks in a row ends the update with a
// message naming its host; what is stored stays, and the rest is left for the next start.
TEST_F(ImportWindowsTest, StartUpWindowStopsAtADeadSite)
{
    gdtLastKabukaDate = QDate(2007, 3, 27);
    whenDuring([&] { return historyRequests() >= 2; }, [&] { site().setFailure(FakeQuoteSite::Failure::Http500); });
    EXPECT_EQ(frmGetData().exec(), QDialog::Rejected);
    const int attempts = 10;
    EXPECT_EQ(historyRequests(), 2 + kDeadSiteStocks * attempts);
    EXPECT_EQ(rowCount(), 2);
    const QString notice = QStringLiteral("株価サイト(127.0.0.1)から5銘柄続けて株価情報を取得できなかったため、"
                                          "株価情報の取得を中止しました。登録済みの株価はそのままです。");
    EXPECT_EQ(MessageBoxRecorder::instance().texts(), QStringList{notice});
    EXPECT_TRUE(logLines().contains(notice));
    EXPECT_FALSE(logLines().contains(QStringLiteral("●計算処理開始")));

    // The next day the site answers again: the stopped update goes on with the day since.
    site().setFailure(FakeQuoteSite::Failure::None);
    sys::setNow(QDateTime(QDate(2007, 3, 31), QTime(9, 0)));
    EXPECT_EQ(frmGetData().exec(), QDialog::Accepted);
    EXPECT_TRUE(
        logLines().contains(QStringLiteral("前回中断された最新データの更新(2007/03/28～2007/03/30)を完了します")));
    const int stocks = int(market().stocks().size());
    EXPECT_EQ(rowCount(), 3 * stocks);
    EXPECT_EQ(calculatedRows(), 3 * stocks);
    EXPECT_EQ(gdtLastKabukaDate, QDate(2007, 3, 30));
}

} // namespace
