#include "app/RunProgram.h"

#include "app/NimbraApplication.h"
#include "app/OrderlyEnd.h"
#include "app/modMain.h"
#include "platform/sys/TerminationRequests.h"

#include <exception>

int runProgram(NimbraApplication &app)
{
    app.beginRun();
    // A logout, a shutdown, `kill`, Ctrl-C or a closed terminal ends the program as closing
    // its window does.
    const sys::TerminationRequests terminationRequests;
    const OrderlyEnd orderlyEnd(terminationRequests);
    try {
        const RunningProgram program = Main();
        if (app.endingOnError())
            return 1; // an error in a start-up window's loop has been reported
        // A start-up that the system's request ended did as it was asked.
        if (!program.mainWindow)
            return sys::endRequested() ? 0 : program.exitCode;
        return NimbraApplication::exec();
    } catch (const std::exception &e) {
        app.endOnError(QString::fromStdString(e.what()));
        return 1;
    }
}
