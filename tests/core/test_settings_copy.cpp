#include "support/SettingsTestSupport.h"

#include "core/modSettingsCopy.h"
#include "core/modSystem.h"
#include "support/MessageBoxRecorder.h"

#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const char *const kPeriodBoxes[] = {"txtSMAS", "txtSMAM",       "txtSMAL", "txtEMAS", "txtEMAM",
                                    "txtEMAL", "txtMACDSigSMA", "txtRSIA", "txtRCIS", "txtRCIM"};

// A window with the ten period boxes, as the indicator-periods dialog has them.
struct PeriodWindow {
    PeriodWindow()
    {
        for (const char *name : kPeriodBoxes) {
            auto *box = new QLineEdit(&window);
            box->setObjectName(QString::fromLatin1(name));
            box->setAccessibleName(QString::fromLatin1(name).mid(3));
        }
    }
    QLineEdit *box(const char *name) { return window.findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QWidget window;
};

TEST(SettingsCopy, PeriodsGoBothWaysAndVrsStays)
{
    resetSettings();
    SMAS = 5;
    RCIM = 10;
    VRS = 25;
    PeriodWindow w;
    setCalcParam(&w.window);
    EXPECT_EQ(w.box("txtSMAS")->text(), QStringLiteral("5"));
    EXPECT_EQ(w.box("txtRCIM")->text(), QStringLiteral("10"));

    w.box("txtSMAM")->setText(QStringLiteral("2.5"));
    w.box("txtSMAL")->setText(QStringLiteral(" 3.5 "));
    EXPECT_TRUE(getCalcParam(&w.window));
    EXPECT_EQ(SMAM, 2);
    EXPECT_EQ(SMAL, 4);
    EXPECT_EQ(VRS, 25);
}

TEST(SettingsCopy, BadBoxRefusesEveryPeriod)
{
    const struct {
        const char *text;
        const char *message;
    } cases[] = {
        {"", "「SMAL」には数値を入力してください。"},
        {"7abc", "「SMAL」には数値を入力してください。"},
        {"99999999999", "「SMAL」の値が範囲を超えています。"},
    };
    for (const auto &c : cases) {
        resetSettings();
        PeriodWindow w;
        setCalcParam(&w.window);
        w.box("txtSMAS")->setText(QStringLiteral("30"));
        w.box("txtSMAL")->setText(QString::fromLatin1(c.text));
        MessageBoxRecorder::instance().reset();
        EXPECT_FALSE(getCalcParam(&w.window)) << c.text;
        EXPECT_EQ(SMAS, 0) << c.text;
        ASSERT_EQ(MessageBoxRecorder::instance().calls().size(), 1) << c.text;
        EXPECT_EQ(MessageBoxRecorder::instance().calls().front().text, QString::fromUtf8(c.message));
    }
}

TEST(SettingsCopy, SelectAllTextSelectsUpToTheMaximumLength)
{
    QLineEdit box;
    box.setMaxLength(4);
    box.setText(QStringLiteral("2004"));
    selectAllText(&box);
    EXPECT_EQ(box.selectedText(), QStringLiteral("2004"));
    EXPECT_EQ(box.selectionStart(), 0);
}

} // namespace
