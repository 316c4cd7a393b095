#include "app/NimbraApplication.h"
#include "app/OrderlyEnd.h"
#include "app/modMain.h"
#include "platform/sys/TerminationRequests.h"
#include "platform/ui/AppLook.h"

#include <exception>

int main(int argc, char **argv)
{
    NimbraApplication app(argc, argv);
    ui::setupApplicationLook();
    // A logout, a shutdown, `kill` or Ctrl-C ends the program as closing its window does.
    const sys::TerminationRequests terminationRequests;
    const OrderlyEnd orderlyEnd(terminationRequests);
    try {
        const RunningProgram program = Main();
        if (app.endingOnError())
            return 1; // an error in a start-up window's loop has been reported
        if (!program.mainWindow)
            return program.exitCode;
        return NimbraApplication::exec();
    } catch (const std::exception &e) {
        app.endOnError(QString::fromStdString(e.what()));
        return 1;
    }
}
