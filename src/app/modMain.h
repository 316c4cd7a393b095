#pragma once

#include "mainwindow/frmMain.h"
#include "platform/sys/InstanceLock.h"

#include <QString>

#include <memory>
#include <variant>

// The locks of the program directory and of the settings file, held while the program runs.
struct InstanceLocks {
    std::unique_ptr<sys::InstanceLock> programDirectory;
    std::unique_ptr<sys::InstanceLock> settingsFile;
};

// What a successful start-up hands to the event loop: the single-instance locks, held
// until the program ends, and the shown main window.
struct RunningProgram {
    InstanceLocks instanceLocks;
    std::unique_ptr<frmMain> mainWindow;
};

// Brings the program up in its fixed order. An empty result (no main window) means that
// start-up ended the program: another instance runs, a folder cannot be written, or a
// database file is missing.
RunningProgram Main();

// The locks of this program directory and of its settings file (so that two copies never
// use one settings file, and one broker account, at once), or the message that says why
// not: "既に起動されています。" when another copy holds one, else the folder that cannot
// be written.
std::variant<InstanceLocks, QString> checkPrevInstance();
