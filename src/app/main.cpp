#include "app/NimbraApplication.h"
#include "app/RunProgram.h"
#include "platform/ui/AppLook.h"

int main(int argc, char **argv)
{
    NimbraApplication app(argc, argv);
    ui::setupApplicationLook();
    return runProgram(app);
}
