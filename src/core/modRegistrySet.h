#pragma once

// Writes every stored setting (the 213 values of the catalogue) in one piece, so the
// store never holds a half-written set. When the write fails the user is told once; the
// values in memory stay as they are. True when written. Texts other than secrets are
// stored and kept in memory without their surrounding blanks; a date that could not be
// read at start-up keeps its stored text unless it was changed.
bool setRegistryAll();
