#pragma once

// Puts the program's global state back to how a process starts: every setting record and
// value, the preset's run-time values, the stored-day dates, the fixed screening draw, the
// broker step and the order cycle's start minute, the day of the last order preparation,
// the held-stock count, what the mail passes told, the mail component gone, the databases
// and the log closed.
// Every program-directory test begins with it, so no test sees what an earlier one left.
void resetProgramState();

// Puts every setting back to its state at process start: zeros, empty texts, zero dates.
void resetSettings();
