#pragma once

// Writes every stored setting (the 212 values of the catalogue) in one piece, so the
// store never holds a half-written set. When the write fails the user is told once; the
// values in memory stay as they are. True when written.
bool setRegistryAll();
