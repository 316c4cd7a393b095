// Runs the program's own start-up offscreen on a simulated clock, as fast as the sites
// answer, and ends it in order:
//
//   nimbra_simday --home D --start "2026-12-10 08:25" --until "2026-12-10 15:00"
//
// D is the program directory as a user has it (databases, site file; the settings are read
// from $XDG_CONFIG_HOME as usual). Message boxes are answered with their default button and
// each is printed; dialogs the main window opens are closed without input. At --until a
// broker step still in flight is let finish, then the window is closed: the unload leaves
// the broker site, backs up the database and closes the log. Exit code 0 after that.
//
// With --pause "YYYY-MM-DD HH:MM" the simulated day stops at that moment, prints "paused"
// and goes on when a line arrives on standard input, so that a test can change the world
// (put a late mail into the mailbox, say) at a known moment of the day.
#include "app/NimbraApplication.h"
#include "app/modMain.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "platform/ui/AppLook.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Timer.h"
#include "support/FakeProgramArgs.h"

#include <QDialog>

#include <cstdio>
#include <exception>

namespace {

QDateTime japanTime(const QString &text)
{
    const QDateTime local = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    return local.isValid() ? QDateTime(local.date(), local.time(), sys::japanZone()) : QDateTime();
}

void say(const QString &line)
{
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int defaultAnswer(const ui::MsgBoxCall &call)
{
    const int buttons = call.style & 7;
    if (buttons == ui::vbYesNo)
        return (call.style & ui::vbDefaultButton2) ? ui::vbNo : ui::vbYes;
    if (buttons == ui::vbOKCancel)
        return (call.style & ui::vbDefaultButton2) ? ui::vbCancel : ui::vbOK;
    return ui::vbOK;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto args = FakeProgramArgs::parse(
        argc, argv,
        {QStringLiteral("--home"), QStringLiteral("--start"), QStringLiteral("--until"), QStringLiteral("--pause")},
        {});
    const QDateTime start = args ? japanTime(args->values.value(QStringLiteral("--start"))) : QDateTime();
    const QDateTime until = args ? japanTime(args->values.value(QStringLiteral("--until"))) : QDateTime();
    const bool pauses = args && args->values.contains(QStringLiteral("--pause"));
    const QDateTime pause = pauses ? japanTime(args->values.value(QStringLiteral("--pause"))) : QDateTime();
    if (!args || args->values.value(QStringLiteral("--home")).isEmpty() || !start.isValid() || !until.isValid() ||
        until < start || (pauses && (!pause.isValid() || pause < start || pause > until))) {
        std::fprintf(stderr, "usage: nimbra_simday --home DIR --start \"YYYY-MM-DD HH:MM\" --until \"YYYY-MM-DD HH:MM\""
                             " [--pause \"YYYY-MM-DD HH:MM\"]\n");
        return 2;
    }
    qputenv("NIMBRA_HOME", args->values.value(QStringLiteral("--home")).toUtf8());

    NimbraApplication app(argc, argv);
    ui::setupApplicationLook();
    sys::setExeName(QStringLiteral("Nimbra"));
    sys::SimulatedClock clock(start);
    ui::setMsgBoxHook([](const ui::MsgBoxCall &call) {
        const int answer = defaultAnswer(call);
        say(sys::now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral(" message box: ") + call.text +
            QStringLiteral(" -> ") + QString::number(answer));
        return answer;
    });
    ui::setModalHook([](QDialog &dialog) {
        say(sys::now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral(" dialog closed: ") +
            dialog.objectName());
        return int(QDialog::Rejected);
    });
    try {
        const RunningProgram program = Main();
        if (!program.mainWindow)
            return 1;
        if (pauses) {
            clock.runUntil(pause);
            say(QStringLiteral("paused"));
            char line[16];
            if (!std::fgets(line, sizeof line, stdin))
                return 1;
        }
        clock.runUntil(until);
        // A broker step in flight ends before the unload, as a user would wait for it.
        const ui::Timer *web = program.mainWindow->findChild<ui::Timer *>(QStringLiteral("tmrWeb"));
        const QDateTime latest = until.addSecs(600);
        while (web && web->Enabled() && clock.current() < latest)
            clock.runUntil(clock.current().addSecs(10));
        program.mainWindow->close();
        QCoreApplication::processEvents();
        say(sys::now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral(" ended"));
        return 0;
    } catch (const std::exception &e) {
        app.endOnError(QString::fromStdString(e.what()));
        return 1;
    }
}
