#include "support/SettingsTestSupport.h"

#include "core/modGlobal.h"
#include "marketdata/frmCalc.h"
#include "platform/ui/MsgBox.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QDate kFirstDay(2024, 1, 1);

class FrmCalcTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        SMAS = 5, SMAM = 25, SMAL = 75, EMAS = 5, EMAM = 25, EMAL = 75;
        MACDSigSMA = 9, RSIA = 14, RCIS = 5, RCIM = 10, VRS = 2;
        // Four days of one stock: with VRS 2 the last day's window holds a rise and a fall.
        const double prices[] = {100, 101, 102, 101};
        const double volumes[] = {10, 20, 30, 40};
        for (int i = 0; i < 4; ++i)
            gcnDB.execute(
                QStringLiteral(
                    "insert into ttstocks (銘柄コード, 市場コード, 日付, 調整終値, 出来高) values (?, ?, ?, ?, ?)"),
                kReferenceCode, kReferenceMarket, kFirstDay.addDays(i), prices[i], volumes[i]);
        gdtFirstKabukaDate = kFirstDay;
        gdtLastKabukaDate = kFirstDay.addDays(3);
        form = std::make_unique<frmCalc>();
        form->show();
    }

    QLineEdit *box(const char *name) { return dialog().findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QPushButton *button(const char *name) { return dialog().findChild<QPushButton *>(QString::fromLatin1(name)); }

    // 短期SMA and VRB of the last day, and whether it was computed at all.
    std::tuple<double, double, QString> lastDay()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select 短期SMA, VRB, 更新日付 from ttstocks where 日付 = ?"));
        st.bind(1, kFirstDay.addDays(3));
        EXPECT_TRUE(st.step());
        return {st.real(0), st.real(1), st.text(2)};
    }

    static QStringList messages() { return MessageBoxRecorder::instance().texts(); }

    std::unique_ptr<frmCalc> form;
    frmCalc &dialog() { return *form; }
};

TEST_F(FrmCalcTest, ClosingStoresTheBoxesInMemoryAndInTheSettingsStore)
{
    EXPECT_EQ(dialog().windowTitle(), QStringLiteral("計算設定"));
    EXPECT_EQ(box("txtSMAM")->text(), QStringLiteral("25"));
    EXPECT_EQ(box("txtRCIM")->text(), QStringLiteral("10"));
    EXPECT_EQ(box("txtSMAM")->maxLength(), 3);

    box("txtSMAM")->setText(QStringLiteral("30"));
    QTest::mouseClick(button("cmdClose"), Qt::LeftButton);

    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(SMAM, 30);
    EXPECT_EQ(VRS, 2);
    EXPECT_EQ(storedSettings().value(QStringLiteral("SMAM")), QStringLiteral("30"));
    EXPECT_EQ(std::get<2>(lastDay()), QString()) << "closing computes nothing";
}

TEST_F(FrmCalcTest, AnsweringNoChangesNothing)
{
    box("txtSMAS")->setText(QStringLiteral("2"));
    QTest::mouseClick(button("cmdCalc"), Qt::LeftButton);

    ASSERT_EQ(MessageBoxRecorder::instance().calls().size(), 1);
    EXPECT_EQ(messages().first(), QStringLiteral("再計算を行います。よろしいですか?"));
    EXPECT_EQ(MessageBoxRecorder::instance().calls().first().style,
              ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2);
    EXPECT_EQ(SMAS, 5);
    EXPECT_EQ(std::get<2>(lastDay()), QString());
    EXPECT_TRUE(storedSettings().isEmpty());
}

TEST_F(FrmCalcTest, RecalculationRebuildsEveryRowWithTheBoxesAndTheUnchangedVolumePeriod)
{
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    box("txtSMAS")->setText(QStringLiteral("2"));
    QTest::mouseClick(button("cmdCalc"), Qt::LeftButton);

    EXPECT_EQ(SMAS, 2);
    EXPECT_EQ(VRS, 2);
    const auto [shortAverage, vrb, updated] = lastDay();
    EXPECT_DOUBLE_EQ(shortAverage, 101.5);
    EXPECT_DOUBLE_EQ(vrb, 42.86); // a rise of 30 and a fall of 40: VRS 2, not 25
    EXPECT_FALSE(updated.isEmpty());
    EXPECT_EQ(dialog().findChild<QLabel *>(QStringLiteral("lblMsg"))->text(), QStringLiteral("処理を完了しました。"));
    EXPECT_TRUE(button("cmdCalc")->isEnabled());
    EXPECT_TRUE(button("cmdClose")->isEnabled());
    EXPECT_TRUE(storedSettings().isEmpty()) << "saved only when the window closes";
}

// Its stop (the system's request to end the program) ends the recalculation before the
// next stock and says so; the next run is not stopped by it.
TEST_F(FrmCalcTest, AStopEndsTheRecalculationBeforeTheNextStock)
{
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    QTimer::singleShot(0, form.get(), [this] { dialog().stopJob(); }); // as the run begins
    QTest::mouseClick(button("cmdCalc"), Qt::LeftButton);

    EXPECT_TRUE(std::get<2>(lastDay()).isEmpty()) << "no stock was begun";
    EXPECT_EQ(dialog().findChild<QLabel *>(QStringLiteral("lblMsg"))->text(), QStringLiteral("処理を中止しました。"));
    EXPECT_FALSE(dialog().jobRunning());

    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    QTest::mouseClick(button("cmdCalc"), Qt::LeftButton);
    EXPECT_FALSE(std::get<2>(lastDay()).isEmpty());
    EXPECT_EQ(dialog().findChild<QLabel *>(QStringLiteral("lblMsg"))->text(), QStringLiteral("処理を完了しました。"));
}

TEST_F(FrmCalcTest, ClosingWhileTheRecalculationRunsIsRefused)
{
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    bool buttonsDisabled = false;
    bool stayedOpen = false;
    QTimer::singleShot(0, form.get(), [&] {
        buttonsDisabled = !button("cmdCalc")->isEnabled() && !button("cmdClose")->isEnabled();
        dialog().close();
        stayedOpen = dialog().isVisible();
    });
    QTest::mouseClick(button("cmdCalc"), Qt::LeftButton);

    EXPECT_TRUE(buttonsDisabled);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(messages().contains(QStringLiteral("処理中に画面を閉じることはできません。")));
    EXPECT_FALSE(std::get<2>(lastDay()).isEmpty());
    dialog().close();
    EXPECT_FALSE(dialog().isVisible());
}

TEST_F(FrmCalcTest, InvalidPeriodsAreRefusedAndNothingIsStoredOrComputed)
{
    const struct {
        const char *box;
        const char16_t *text;
        const char16_t *message;
    } cases[] = {
        {"txtSMAS", u"0", u"「単純移動平均(短期)」には1以上の日数を入力してください。"},
        {"txtRCIS", u"1", u"「RCI(短期)」には2以上の日数を入力してください。"},
        {"txtRSIA", u"abc", u"「RSI」には数値を入力してください。"},
    };
    for (const auto &c : cases) {
        box("txtSMAS")->setText(QStringLiteral("5"));
        box("txtRCIS")->setText(QStringLiteral("5"));
        box("txtRSIA")->setText(QStringLiteral("14"));
        box(c.box)->setText(QString::fromUtf16(c.text));
        MessageBoxRecorder::instance().reset();
        MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
        QTest::mouseClick(button("cmdCalc"), Qt::LeftButton);
        dialog().close();

        EXPECT_EQ(messages(), QStringList({QStringLiteral("再計算を行います。よろしいですか?"),
                                           QString::fromUtf16(c.message), QString::fromUtf16(c.message)}))
            << c.box;
        EXPECT_TRUE(dialog().isVisible()) << c.box;
        EXPECT_EQ(SMAS, 5);
        EXPECT_EQ(RCIS, 5);
        EXPECT_EQ(RSIA, 14);
        EXPECT_EQ(std::get<2>(lastDay()), QString());
        EXPECT_TRUE(storedSettings().isEmpty());
        EXPECT_TRUE(button("cmdClose")->isEnabled());
    }
}

} // namespace
