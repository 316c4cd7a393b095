#pragma once

#include <memory>

class frmMain;

// Brings the program up in its fixed order and returns the shown main window, or nullptr
// when start-up ended the program (second instance, missing database).
std::unique_ptr<frmMain> Main();

// True when no other instance runs in this program directory; the lock is held until
// the program ends.
bool checkPrevInstance();
