#include "app/NimbraApplication.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Timer.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace {

class FatalErrorTest : public ProgramDirFixture {};

// A database failure reaches the user and the log as the same line, naming the file.
TEST_F(FatalErrorTest, DatabaseFailureIsShownAndLoggedAlike)
{
    const QString broken = writeFile(QStringLiteral("Nimbra.mdb"), QByteArray(4096, 'x'));
    glngLogFileNo = openLog();
    try {
        db::Connection connection;
        connection.open(broken);
        FAIL() << "a broken file was opened";
    } catch (const db::Error &e) {
        reportFatalError(e.message());
    }

    const QStringList shown = MessageBoxRecorder::instance().texts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(broken)) << shown.first().toStdString();
    EXPECT_TRUE(logLines().contains(QStringLiteral("エラー:") + shown.first()));
}

// A job yields to a nested event loop (a window's), a handler in it fails on the database,
// and the job, going on, fails the same way: the user is told once, the log has both, and
// the program ends.
TEST_F(FatalErrorTest, AnErrorInANestedLoopAndTheSameAfterItAreShownOnce)
{
    auto *app = qobject_cast<NimbraApplication *>(QCoreApplication::instance());
    ASSERT_TRUE(app);
    glngLogFileNo = openLog();
    const QString full =
        db::failureMessage(path(QStringLiteral("Nimbra.mdb")), QStringLiteral("に書き込めませんでした"),
                           QStringLiteral("database or disk is full"));
    QTimer::singleShot(0, [&full] {
        QEventLoop window;
        QTimer::singleShot(0, [&full] { throw db::Error(full); });
        QTimer::singleShot(5000, &window, &QEventLoop::quit);
        window.exec();
        throw db::Error(full);
    });

    EXPECT_EQ(NimbraApplication::exec(), 1);
    EXPECT_TRUE(app->endingOnError());
    EXPECT_EQ(MessageBoxRecorder::instance().texts(), QStringList{full});
    EXPECT_EQ(logLines().count(QStringLiteral("エラー:") + full), 2);
}

} // namespace

namespace {

// The box of an error that ends the program waits for the user; the window's timers must
// not tick meanwhile (an order step would start, a second error raise a second box).
TEST_F(FatalErrorTest, TheWindowsTimersAreStoppedBeforeTheBoxOpens)
{
    glngLogFileNo = openLog();
    sys::SimulatedClock clock(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    QWidget window;
    ui::Timer orderTimer(&window);
    int ticks = 0;
    QObject::connect(&orderTimer, &ui::Timer::Tick, [&ticks] { ++ticks; });
    orderTimer.setInterval(60000);
    orderTimer.setEnabled(true);
    MessageBoxRecorder::instance().setWhileOpen([&clock] { clock.runUntil(clock.current().addSecs(3600)); });

    reportFatalError(QStringLiteral("データベースが壊れています。"));

    EXPECT_EQ(MessageBoxRecorder::instance().texts(), QStringList{QStringLiteral("データベースが壊れています。")});
    EXPECT_EQ(ticks, 0) << "the timer ticked while the box was open";
    EXPECT_FALSE(orderTimer.Enabled());
}

} // namespace
