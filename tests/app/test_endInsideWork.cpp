// The program's whole run (runProgram, as the executable runs it) asked by the system to
// end while a person has something under way that only a person starts: the stock-master
// rebuild, or a print dialog or a popup menu opened while the start-up reads a slow
// mailbox. The request stops the rebuild by its own stop and closes what is on top; the
// run then ends in order, exit code 0, backup whole, locks given back, nothing new begun.
#include "app/NimbraApplication.h"
#include "app/RunProgram.h"
#include "core/modRegistry.h"
#include "platform/settings/SettingsStore.h"
#include "platform/sys/InstanceLock.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/Printer.h"
#include "platform/ui/TopLevelWindow.h"
#include "support/FakePop3Server.h"
#include "support/FakeQuoteSite.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct Case {
    std::string name;
    int signal;
};

std::string caseName(const testing::TestParamInfo<Case> &info)
{
    return info.param.name;
}

void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.name;
}

class EndInsideWork : public ProgramDirFixture, public testing::WithParamInterface<Case> {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        site.start();
        layOutForSite(site);
    }
    void TearDown() override
    {
        ui::setModalHook([](QDialog &) { return int(QDialog::Rejected); });
        ProgramDirFixture::TearDown();
    }

    // Once `ready` holds, `act` runs, once; each step polls on its own timer, so one that
    // waits inside a window does not hold up the others.
    void when(std::function<bool()> ready, std::function<void()> act)
    {
        auto timer = std::make_unique<QTimer>();
        QTimer *polling = timer.get();
        QObject::connect(polling, &QTimer::timeout, [polling, ready = std::move(ready), act = std::move(act)] {
            if (!ready())
                return;
            polling->stop();
            act();
        });
        polling->start(20);
        steps.push_back(std::move(timer));
    }
    bool loaded() const
    {
        return ui::topLevelWindow(QStringLiteral("frmMain")) &&
               logLines().contains(QStringLiteral("自動起動開始チェック"));
    }
    static void trigger(const char *menuItem)
    {
        ui::topLevelWindow(QStringLiteral("frmMain"))->findChild<QAction *>(QString::fromLatin1(menuItem))->trigger();
    }
    void requestEnd()
    {
        requestsAtTheEnd = site.requestCount();
        ending.start();
        std::raise(GetParam().signal);
    }
    // Runs the program to its end; its exit code. The steps end with it.
    int run()
    {
        // A run that never ends would hold the whole test program: it fails it instead.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            std::fputs("the program's run did not end within two minutes\n", stderr);
            std::_Exit(1);
        });
        watchdog.start(120000);
        const int exitCode = runProgram(static_cast<NimbraApplication &>(*QCoreApplication::instance()));
        watchdog.stop();
        steps.clear();
        takePendingQuit();
        return exitCode;
    }
    // A quit that the end posted after the program's loop had returned would, delivered in
    // a later test's wait, stop every loop that test opens until the application's loop
    // runs again: one pass of that loop takes it now and leaves no quit behind.
    static void takePendingQuit()
    {
        QTimer pass;
        pass.setSingleShot(true);
        QObject::connect(&pass, &QTimer::timeout, QCoreApplication::instance(), &QCoreApplication::quit);
        pass.start(0);
        QCoreApplication::exec();
    }

    void expectOrderlyEnd(int exitCode) const
    {
        EXPECT_EQ(exitCode, 0);
        EXPECT_LT(ending.elapsed(), 15000) << "the stop waits for the page in hand only";
        EXPECT_LE(site.requestCount() - requestsAtTheEnd, 1) << "no download after the request";
        EXPECT_FALSE(QFile::exists(sys::programInstanceLockPath()));
        EXPECT_FALSE(QFile::exists(settings::fileForKey(HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey()) +
                                   QStringLiteral(".lock")));
        ASSERT_EQ(backups().size(), 1);
        EXPECT_TRUE(isWholeDatabase(path(backups().first())));
        const QStringList lines = logLines();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().startsWith(QStringLiteral("バックアップ完了("))) << lines.join(u'\n').toStdString();
        EXPECT_FALSE(lines.contains(QStringLiteral("運転開始")));
    }

    FakeQuoteSite site{{.seed = 3, .stocks = 3, .days = 10, .lastDay = {}}};
    std::vector<std::unique_ptr<QTimer>> steps;
    int requestsAtTheEnd = 0;
    QElapsedTimer ending;
};

std::vector<Case> everySignal(const char *moment)
{
    std::vector<Case> cases;
    for (const auto &[signal, name] : {std::pair{SIGTERM, "Term"}, {SIGINT, "Int"}, {SIGHUP, "Hup"}})
        cases.push_back({std::string(moment) + name, signal});
    return cases;
}

class MasterRebuild : public EndInsideWork {};

TEST_P(MasterRebuild, StopsAfterTheCodeInHandAndEndsInOrder)
{
    // Stopped: the login and mailbox dialogs are closed without input, so the maintenance
    // menu is open to the user.
    storeSettings({{QStringLiteral("UserID"), QStringLiteral("U")}});
    ui::setModalHook([](QDialog &dialog) {
        return dialog.objectName() == QStringLiteral("frmGetBrandMst") ? dialog.exec() : int(QDialog::Rejected);
    });
    when([this] { return loaded(); },
         [this] {
             site.setTimeoutDelay(300ms); // every page comes late from here on
             site.setFailure(FakeQuoteSite::Failure::Timeout);
             trigger("mnuGetMst01");
         });
    int requestsAtStart = 0;
    when(
        [] {
            return QApplication::activeModalWidget() &&
                   QApplication::activeModalWidget()->objectName() == QStringLiteral("frmGetBrandMst");
        },
        [this, &requestsAtStart] {
            requestsAtStart = site.requestCount();
            MessageBoxRecorder::instance().queueAnswer(ui::vbYes); // "銘柄マスタを再取得します。…"
            MessageBoxRecorder::instance().queueAnswer(ui::vbYes); // "銘柄コード情報を再構築します。…"
            QApplication::activeModalWidget()->findChild<QAbstractButton *>(QStringLiteral("cmdSelect"))->click();
        });
    when([this, &requestsAtStart] { return requestsAtStart > 0 && site.requestCount() >= requestsAtStart + 3; },
         [this] { requestEnd(); });

    const int exitCode = run();

    expectOrderlyEnd(exitCode);
    EXPECT_TRUE(logLines().contains(QStringLiteral("銘柄マスタの再構築の中止が指示されました")));
}

INSTANTIATE_TEST_SUITE_P(EachSignal, MasterRebuild, testing::ValuesIn(everySignal("MasterRebuild")), caseName);

// What the user opens while the start-up reads the mailbox: the print dialog of the trade
// history, or the order list's popup menu.
class OpenedDuringMailRead : public EndInsideWork {
protected:
    bool popup() const { return GetParam().name.starts_with("Popup"); }
    void open() const
    {
        if (popup())
            ui::topLevelWindow(QStringLiteral("frmMain"))->findChild<QMenu *>(QStringLiteral("mnuSelect3"))->exec();
        else
            trigger("mnuPrintTradeHistory");
    }
    bool isOpen() const
    {
        return popup() ? QApplication::activePopupWidget() != nullptr
                       : qobject_cast<QPrintDialog *>(QApplication::activeModalWidget()) != nullptr;
    }
};

TEST_P(OpenedDuringMailRead, ClosesWhatIsOpenLetsTheReadEndAndBeginsNoUpdate)
{
    const QTemporaryDir maildrop;
    FakePop3Server mailbox(maildrop.path(), QStringLiteral("u"), QStringLiteral("p"));
    mailbox.setAnswerDelayMs(300); // a slow mailbox
    ASSERT_GT(mailbox.start(), 0);
    storeSettings({{QStringLiteral("UserID"), QStringLiteral("U")},
                   {QStringLiteral("Password"), QStringLiteral("P")},
                   {QStringLiteral("Password2"), QStringLiteral("T")},
                   {QStringLiteral("POP3Server"), mailbox.address()},
                   {QStringLiteral("POPUserID"), QStringLiteral("u")},
                   {QStringLiteral("POPPassword"), QStringLiteral("p")},
                   {QStringLiteral("SelZituKounyu"), QStringLiteral("1")}});
    ui::PrintDialog::setHook({}); // the real print dialog
    bool closed = false;
    when([&] { return ui::topLevelWindow(QStringLiteral("frmMain")) && !mailbox.commands().isEmpty(); },
         [&] {
             open(); // returns once it is closed
             closed = true;
         });
    when([this] { return isOpen(); }, [this] { requestEnd(); });

    const int exitCode = run();

    EXPECT_TRUE(closed);
    expectOrderlyEnd(exitCode);
    const QStringList lines = logLines();
    EXPECT_FALSE(lines.contains(QStringLiteral("日次処理"))) << "no daily update after the request";
    EXPECT_TRUE(mailbox.commands().contains(QStringLiteral("QUIT"))) << "the mail read in hand ends whole";
}

std::vector<Case> bothOpenedAndEverySignal()
{
    std::vector<Case> cases = everySignal("PrintDialog");
    const std::vector<Case> popups = everySignal("Popup");
    cases.insert(cases.end(), popups.begin(), popups.end());
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EachSignal, OpenedDuringMailRead, testing::ValuesIn(bothOpenedAndEverySignal()), caseName);

} // namespace
