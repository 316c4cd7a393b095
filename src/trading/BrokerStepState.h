#pragma once

// Result code of the last broker web step: 0 when it ended without error. The broker driver
// writes it; the notice reader forwards notices only while it is 0.
extern int etrError;
