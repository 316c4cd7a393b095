#pragma once

#include "mainwindow/frmMain.h"
#include "platform/sys/InstanceLock.h"

#include <memory>

// What a successful start-up hands to the event loop: the single-instance lock, held
// until the program ends, and the shown main window.
struct RunningProgram {
    std::unique_ptr<sys::InstanceLock> instanceLock;
    std::unique_ptr<frmMain> mainWindow;
    // The program's exit code when start-up ended it (no main window): not 0 when it
    // refused to start.
    int exitCode = 0;
};

// Brings the program up in its fixed order. An empty result (no main window) means that
// start-up ended the program: another instance runs, a database file is missing, or the
// settings file cannot be read.
RunningProgram Main();

// The lock of this program directory, or nullptr when another instance holds it.
std::unique_ptr<sys::InstanceLock> checkPrevInstance();
