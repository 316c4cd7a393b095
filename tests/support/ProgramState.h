#pragma once

// Puts the program's global state back to how a process starts: every setting record and
// value, the stored-day dates, what the mail passes told, the databases and the log closed.
// Every program-directory test begins with it, so no test sees what an earlier one left.
void resetProgramState();

// Puts every setting back to its state at process start: zeros, empty texts, zero dates.
void resetSettings();
