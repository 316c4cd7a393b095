#include "support/SettingsTestSupport.h"

#include "core/HeaderRefresh.h"
#include "core/frmBrandSelect.h"
#include "core/frmConfBase.h"
#include "core/frmConfID.h"
#include "core/frmConfMailInfo.h"
#include "core/frmConfPOP.h"
#include "core/frmOrder.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "platform/text/VbText.h"
#include "platform/ui/ControlArray.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

class SettingsDialogs : public ProgramDirFixture {
protected:
    static QLineEdit *box(QWidget *dialog, const char *name)
    {
        auto *found = dialog->findChild<QLineEdit *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void click(QWidget *dialog, const char *name)
    {
        auto *button = dialog->findChild<QPushButton *>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static QRadioButton *option(QWidget *dialog, const char *name, int index)
    {
        return ui::controlAt<QRadioButton>(dialog, QString::fromLatin1(name), index);
    }

    static QStringList messages() { return MessageBoxRecorder::instance().texts(); }
};

TEST_F(SettingsDialogs, ScreeningDialogEditsTheSelectedSetAndSavesOnDecide)
{
    glngSetteiMode = 2;
    gdtLastKabukaDate = QDate(2006, 3, 31);
    simSL.SLBaibaidaikin = 30;
    simSL.SLRSIS = 20.5;
    simSL.TrendType = 2;
    simSL.SLSelMACD = 1;
    simSL.SLBrandCode = QStringLiteral("7203");
    simSL.SLSVRAWariKaiS = 45;
    sysSL.SLBaibaidaikin = 99;

    frmBrandSelect dialog;
    dialog.show();
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("lblMaxDate"))->text(),
              QStringLiteral("最終データ：2006/03/31"));
    EXPECT_EQ(box(&dialog, "txtBaibaiDaikin")->text(), QStringLiteral("30"));
    EXPECT_EQ(box(&dialog, "txtRSIS")->text(), QStringLiteral("20.5"));
    EXPECT_TRUE(option(&dialog, "optTrendType", 2)->isChecked());
    EXPECT_TRUE(dialog.findChild<QCheckBox *>(QStringLiteral("chkSelMACD"))->isChecked());

    box(&dialog, "txtBaibaiDaikin")->setText(QStringLiteral("80"));
    box(&dialog, "txtRCISS")->setText(QStringLiteral("2.5"));
    option(&dialog, "optNenSyoraiType", 2)->setChecked(true);
    click(&dialog, "cmdSelect");

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(simSL.SLBaibaidaikin, 80);
    EXPECT_EQ(simSL.SLRCISS, 2);
    EXPECT_EQ(simSL.SLNensyoraiType, 2);
    EXPECT_EQ(simSL.TrendType, 2);
    EXPECT_TRUE(simSL.SLBrandCode.isEmpty());
    EXPECT_EQ(simSL.SLSVRAWariKaiS, 0);
    EXPECT_EQ(sysSL.SLBaibaidaikin, 99);
    const settings::Values stored = storedSettings();
    EXPECT_EQ(stored.value(QStringLiteral("SLBaibaidaikinSim")), QStringLiteral("80"));
    EXPECT_EQ(stored.value(QStringLiteral("SLNensyoraiTypeSim")), QStringLiteral("2"));
    EXPECT_EQ(stored.size(), 213);
}

TEST_F(SettingsDialogs, ScreeningDialogCancelAndRefusalChangeNothing)
{
    glngSetteiMode = 2;
    simSL.SLBaibaidaikin = 30;
    const std::function<void(frmBrandSelect &)> closers[] = {
        [](frmBrandSelect &d) { click(&d, "cmdClose"); },
        [](frmBrandSelect &d) { d.findChild<QAction *>(QStringLiteral("mnuClose"))->trigger(); },
    };
    for (const auto &close : closers) {
        frmBrandSelect dialog;
        dialog.show();
        box(&dialog, "txtBaibaiDaikin")->setText(QStringLiteral("80"));
        close(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(simSL.SLBaibaidaikin, 30);
    }

    const struct {
        const char *box;
        const char *text;
        const char *message;
    } refusals[] = {
        {"txtRSIS", "abc", "「RSI(下限)」には数値を入力してください。"},
        {"txtBaibaiDaikin", "", "「当日売買代金(終値換算)」には数値を入力してください。"},
        {"txtBaibaiDaikin", "9999999999", "「当日売買代金(終値換算)」の値が範囲を超えています。"},
        {"txtTrendInterval", "1'", "「高値更新間隔」には数値を入力してください。"},
    };
    for (const auto &r : refusals) {
        MessageBoxRecorder::instance().reset();
        frmBrandSelect dialog;
        dialog.show();
        box(&dialog, "txtWariaiS")->setText(QStringLiteral("50"));
        box(&dialog, r.box)->setText(QString::fromLatin1(r.text));
        click(&dialog, "cmdSelect");
        EXPECT_TRUE(dialog.isVisible()) << r.box;
        EXPECT_EQ(messages(), QStringList{QString::fromUtf8(r.message)});
        EXPECT_EQ(simSL.SLWariaiS, 0) << r.box;
    }
    EXPECT_TRUE(storedSettings().isEmpty());
}

TEST_F(SettingsDialogs, SelectorChoosesTheEditedSet)
{
    const struct {
        int mode;
        SL *screening;
        OD *order;
        BS *base;
    } kinds[] = {{1, &sysSL, &sysOD, &sysBS},
                 {2, &simSL, &simOD, &simBS},
                 {3, &workSL, &workOD, &simBS},
                 {0, &simSL2, &simOD2, &simBS}};
    for (const auto &k : kinds) {
        resetSettings();
        glngSetteiMode = k.mode;
        frmBrandSelect screening;
        box(&screening, "txtBaibaiDaikin")->setText(QStringLiteral("70"));
        click(&screening, "cmdSelect");
        EXPECT_EQ(k.screening->SLBaibaidaikin, 70) << k.mode;

        frmOrder order;
        click(&order, "cmdOrder");
        EXPECT_EQ(k.order->ODBrand, QStringLiteral("7867")) << k.mode;

        frmConfBase base;
        click(&base, "Cmd_Exec");
        EXPECT_EQ(k.base->KounyuTensu, 2) << k.mode;
    }
}

TEST_F(SettingsDialogs, OrderDialogStoresTheFixedRulesAndTheAutoChoices)
{
    glngSetteiMode = 1;
    sysOD.ODRiekiAutoType = 0;
    sysOD.ODSongiriAutoType = 1;
    sysOD.ODRiekiWariaiUri1 = 15;
    sysOD.ODNanpinKai = 4;
    sysOD.ODSizyouCode = QStringLiteral("t1");
    sysOD.ODNanpinWariai = 5;

    frmOrder dialog;
    dialog.show();
    EXPECT_TRUE(option(&dialog, "optRiekiAutoType", 0)->isChecked());
    EXPECT_TRUE(option(&dialog, "optSongiriAutoType", 1)->isChecked());
    EXPECT_FALSE(dialog.findChild<QComboBox *>(QStringLiteral("cmbNanpinKai"))->isEnabled());
    EXPECT_FALSE(dialog.findChild<QCheckBox *>(QStringLiteral("chkKarauri"))->isVisibleTo(&dialog));

    option(&dialog, "optRiekiAutoType", 1)->setChecked(true);
    click(&dialog, "cmdOrder");
    EXPECT_FALSE(dialog.isVisible());

    const struct {
        const char *field;
        double actual;
        double expected;
    } fields[] = {
        {"ODRiekiAutoType", double(sysOD.ODRiekiAutoType), 1},
        {"ODSongiriAutoType", double(sysOD.ODSongiriAutoType), 1},
        {"ODOrderType", double(sysOD.ODOrderType), 1},
        {"ODKabusu", double(sysOD.ODKabusu), 100},
        {"ODSasiNariKai1", double(sysOD.ODSasiNariKai1), 2},
        {"ODSasiNariUri1", double(sysOD.ODSasiNariUri1), 2},
        {"ODRiekiWariaiUri1", sysOD.ODRiekiWariaiUri1, 10},
        {"ODSongiriTypeUri1", double(sysOD.ODSongiriTypeUri1), 2},
        {"ODSongiriWariaiUri1", double(sysOD.ODSongiriWariaiUri1), 10},
        {"ODSongiriDUri1", double(sysOD.ODSongiriDUri1), 60},
        {"ODSasiNariKai2", double(sysOD.ODSasiNariKai2), 2},
        {"ODSongiriDKai2", double(sysOD.ODSongiriDKai2), 60},
        {"ODKurikaesiKai", double(sysOD.ODKurikaesiKai), 1},
        {"ODNanpin", double(sysOD.ODNanpin), 0},
        {"ODNanpinKai", double(sysOD.ODNanpinKai), 0},
        {"ODNanpinWariai", double(sysOD.ODNanpinWariai), 0},
        {"ODKarauri", double(sysOD.ODKarauri), 0},
    };
    for (const auto &f : fields)
        EXPECT_EQ(f.actual, f.expected) << f.field;
    EXPECT_EQ(sysOD.ODBrand, QStringLiteral("7867"));
    EXPECT_TRUE(sysOD.ODSizyouCode.isEmpty());
    EXPECT_EQ(storedSettings().value(QStringLiteral("ODRiekiWariaiUri1")), QStringLiteral("10"));
}

TEST_F(SettingsDialogs, OrderDialogCancelAndTheWorkSetsShortSelling)
{
    glngSetteiMode = 3;
    workOD.ODRiekiAutoType = 1;
    frmOrder dialog;
    dialog.show();
    EXPECT_TRUE(dialog.findChild<QCheckBox *>(QStringLiteral("chkKarauri"))->isVisibleTo(&dialog));
    auto *nanpin = dialog.findChild<QCheckBox *>(QStringLiteral("chkNanpin"));
    QTest::mouseClick(nanpin, Qt::LeftButton);
    EXPECT_TRUE(dialog.findChild<QComboBox *>(QStringLiteral("cmbNanpinKai"))->isEnabled());
    option(&dialog, "optRiekiAutoType", 0)->setChecked(true);
    click(&dialog, "cmdClose");
    EXPECT_EQ(workOD.ODRiekiAutoType, 1);
    EXPECT_EQ(workOD.ODNanpin, 0);
    EXPECT_TRUE(storedSettings().isEmpty());
}

TEST_F(SettingsDialogs, BaseDialogChecksThePrincipalAndSetsTwoPurchases)
{
    glngSetteiMode = 2;
    simBS.TousiGanpon = 3000000;
    simBS.KounyuTensu = 5;
    simBS.TousiWariai = 7; // not in the list: the first entry is shown
    simBS.RunType = 2;
    simBS.SelHukuri = 1;
    simBS.StartDate = QDateTime(QDate(2006, 1, 4), QTime(0, 0));

    {
        frmConfBase dialog;
        dialog.show();
        EXPECT_FALSE(box(&dialog, "txtTousiGanpon")->isEnabled());
        EXPECT_EQ(box(&dialog, "txtTousiGanpon")->text(), QStringLiteral("3000000"));
        EXPECT_EQ(dialog.findChild<QComboBox *>(QStringLiteral("cmbTousiWariai"))->count(), 11);
        for (const char *principal : {"5000001", "-1"}) {
            MessageBoxRecorder::instance().reset();
            box(&dialog, "txtTousiGanpon")->setText(QString::fromLatin1(principal));
            click(&dialog, "Cmd_Exec");
            EXPECT_TRUE(dialog.isVisible()) << principal;
            EXPECT_EQ(messages(), QStringList{QStringLiteral("投資元本の範囲は0円～5,000,000円です。")});
        }
        EXPECT_EQ(simBS.KounyuTensu, 5);
        EXPECT_TRUE(storedSettings().isEmpty());
        click(&dialog, "Cmd_Cancel");
    }
    EXPECT_EQ(simBS.TousiGanpon, 3000000);

    frmConfBase dialog;
    dialog.show();
    box(&dialog, "txtTousiGanpon")->setText(QStringLiteral("5000000"));
    click(&dialog, "Cmd_Exec");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(simBS.TousiGanpon, 5000000);
    EXPECT_EQ(simBS.KounyuTensu, 2);
    EXPECT_EQ(simBS.TousiWariai, 3);
    EXPECT_EQ(simBS.RunType, 2);
    EXPECT_EQ(simBS.SelHukuri, 1);
    EXPECT_EQ(simBS.StartDate, QDateTime(QDate(2006, 1, 4), QTime(0, 0)));
    EXPECT_EQ(storedSettings().value(QStringLiteral("KounyuTensuSim")), QStringLiteral("2"));
}

TEST_F(SettingsDialogs, BaseDialogRefreshesTheMainWindowHeaderOnDecideOnly)
{
    glngSetteiMode = 2;
    simBS.TousiGanpon = 3000000;
    int refreshes = 0;
    ui::setHeaderRefresh([&] { ++refreshes; });
    {
        frmConfBase dialog;
        dialog.show();
        click(&dialog, "Cmd_Cancel");
    }
    EXPECT_EQ(refreshes, 0);
    {
        frmConfBase dialog;
        dialog.show();
        click(&dialog, "Cmd_Exec");
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(refreshes, 1);
    ui::setHeaderRefresh({});
    frmConfBase dialog;
    dialog.show();
    click(&dialog, "Cmd_Exec"); // nothing registered: nothing to refresh
    EXPECT_EQ(refreshes, 1);
}

// The three dialogs of single text settings: a box, the setting it edits, and its stored name.
struct TextDialogCase {
    const char *name;
    std::function<std::unique_ptr<QDialog>()> open;
    const char *boxName;
    QString *setting;
    const char *storedName;
    bool secret; // kept exactly as typed; other texts lose their surrounding blanks
};

TEST_F(SettingsDialogs, TextDialogsStoreExactlyWhatIsTyped)
{
    glngLogFileNo = openLog();
    const TextDialogCase cases[] = {
        {.name = "frmConfID",
         .open = [] { return std::make_unique<frmConfID>(); },
         .boxName = "txtPassword",
         .setting = &Password,
         .storedName = "Password",
         .secret = true},
        {.name = "frmConfID",
         .open = [] { return std::make_unique<frmConfID>(); },
         .boxName = "txtPassword2",
         .setting = &Password2,
         .storedName = "Password2",
         .secret = true},
        {.name = "frmConfPOP",
         .open = [] { return std::make_unique<frmConfPOP>(); },
         .boxName = "txtPOPPassword",
         .setting = &POPPassword,
         .storedName = "POPPassword",
         .secret = true},
        {.name = "frmConfPOP",
         .open = [] { return std::make_unique<frmConfPOP>(); },
         .boxName = "txtPOPServer",
         .setting = &POP3Server,
         .storedName = "POP3Server",
         .secret = false},
        {.name = "frmConfMailInfo",
         .open = [] { return std::make_unique<frmConfMailInfo>(); },
         .boxName = "txtEMail",
         .setting = &EMail,
         .storedName = "EMail",
         .secret = false},
    };
    for (const TextDialogCase &c : cases) {
        *c.setting = QStringLiteral("before");
        {
            std::unique_ptr<QDialog> dialog = c.open();
            dialog->show();
            EXPECT_EQ(box(dialog.get(), c.boxName)->text(), QStringLiteral("before")) << c.boxName;
            box(dialog.get(), c.boxName)->setText(QStringLiteral("changed"));
            click(dialog.get(), "Cmd_Cancel");
            EXPECT_FALSE(dialog->isVisible());
        }
        EXPECT_EQ(*c.setting, QStringLiteral("before")) << c.boxName;

        for (const QString &typed : {QStringLiteral(" pa ss "), QString()}) {
            std::unique_ptr<QDialog> dialog = c.open();
            dialog->show();
            box(dialog.get(), c.boxName)->setText(typed);
            click(dialog.get(), "Cmd_Exec");
            EXPECT_FALSE(dialog->isVisible());
            const QString kept = c.secret ? typed : text::trimSpaces(typed);
            EXPECT_EQ(*c.setting, kept) << c.boxName;
            EXPECT_EQ(storedSettings().value(QString::fromLatin1(c.storedName)), kept) << c.boxName;
        }
    }
    Password = QStringLiteral(" pa ss ");
    frmConfID dialog;
    click(&dialog, "Cmd_Exec");
    EXPECT_EQ(storedSettings().value(QStringLiteral("Password")), QStringLiteral(" pa ss "));
    EXPECT_EQ(box(&dialog, "txtPassword")->echoMode(), QLineEdit::Password);

    QFile log(path(QStringLiteral("Nimbra.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_FALSE(log.readAll().contains("pa ss"));
}

// A dialog that shows stored values, and the stored names of the values it shows.
struct UnchangedCase {
    const char *name;
    int mode;
    std::function<void()> setValues;
    std::function<std::unique_ptr<QDialog>()> open;
    const char *decide;
    QStringList storedNames;
};

TEST_F(SettingsDialogs, OpeningADialogAndDecidingChangesNothingStored)
{
    glngLogFileNo = openLog();
    const UnchangedCase cases[] = {
        {"frmBrandSelect",
         2,
         [] {
             simSL.SLRSIS = -12.5; // longer than its box's typing limit of 4
             simSL.SLRSIE = 99.75;
             simSL.SLMACDSpanS = 0.123456789;
             simSL.SLMACDSpanE = 0.00001;
         },
         [] { return std::make_unique<frmBrandSelect>(); },
         "cmdSelect",
         {QStringLiteral("SLRSISSim"), QStringLiteral("SLRSIESim"), QStringLiteral("SLMACDSpanSSim"),
          QStringLiteral("SLMACDSpanESim")}},
        {"frmConfBase",
         2,
         [] { simBS.StartDate = QDateTime(QDate(2006, 1, 4), QTime(9, 30, 0)); },
         [] { return std::make_unique<frmConfBase>(); },
         "Cmd_Exec",
         {QStringLiteral("StartDateSim")}},
        {"frmConfID",
         0,
         [] {
             UserID = QStringLiteral("taro");
             Password = QStringLiteral("a-password-of-21-char");
         },
         [] { return std::make_unique<frmConfID>(); },
         "Cmd_Exec",
         {QStringLiteral("Password")}},
    };
    for (const UnchangedCase &c : cases) {
        resetSettings();
        glngSetteiMode = c.mode;
        c.setValues();
        ASSERT_TRUE(setRegistryAll());
        const settings::Values before = storedSettings();
        MessageBoxRecorder::instance().reset();

        std::unique_ptr<QDialog> dialog = c.open();
        dialog->show();
        click(dialog.get(), c.decide);
        EXPECT_FALSE(dialog->isVisible()) << c.name;
        EXPECT_EQ(messages(), QStringList()) << c.name;
        const settings::Values after = storedSettings();
        for (const QString &name : c.storedNames)
            EXPECT_EQ(after.value(name), before.value(name)) << c.name << " " << name.toStdString();
    }
    EXPECT_EQ(storedSettings().value(QStringLiteral("Password")).size(), 21);
}

TEST_F(SettingsDialogs, TypingStaysWithinTheLimitOfABoxThatWasLoadedLonger)
{
    Password = QStringLiteral("a-password-of-21-char");
    frmConfID dialog;
    dialog.show();
    QLineEdit *password = box(&dialog, "txtPassword");
    ASSERT_EQ(password->text(), Password);
    password->setFocus();
    password->end(false);
    QTest::keyClicks(password, QStringLiteral("x"));
    EXPECT_EQ(password->text(), Password) << "typing cannot lengthen it";
    QTest::keyClick(password, Qt::Key_Backspace);
    EXPECT_EQ(password->text().size(), 20) << "shortening works";
    password->selectAll();
    QTest::keyClicks(password, QString(30, u'y'));
    EXPECT_EQ(password->text().size(), 16) << "the typing limit holds again";
}

TEST_F(SettingsDialogs, NoticeMailDialogStoresTheSwitch)
{
    SelEMail = 1;
    frmConfMailInfo dialog;
    dialog.show();
    auto *check = dialog.findChild<QCheckBox *>(QStringLiteral("chkSelInfoMail"));
    EXPECT_TRUE(check->isChecked());
    check->setChecked(false);
    click(&dialog, "Cmd_Exec");
    EXPECT_EQ(SelEMail, 0);
    EXPECT_EQ(storedSettings().value(QStringLiteral("SelEMail")), QStringLiteral("0"));
}

} // namespace

namespace {

TEST_F(SettingsDialogs, FocusSelectsTheWholeValue)
{
    UserID = QStringLiteral("trader");
    Password = QStringLiteral("secret");
    frmConfID dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    box(&dialog, "txtPassword")->setFocus();
    box(&dialog, "txtUserID")->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(box(&dialog, "txtUserID")->selectedText(), QStringLiteral("trader"));
}

} // namespace
