#pragma once

#include "core/SettingsRecords.h"

// Run-time values of the live screening and purchase sizing, set by applyFixedPreset.
extern int glngSaiteiKabuka;  // lowest adjusted close the screening accepts
extern double gdblKounyuRitu; // share of the money for one purchase that may be spent
extern int glngNanpinTensu;   // extra purchase slots when averaging down
extern int glngSelRandom;     // 1: candidates in random order

// Puts the four values above back to their state at process start, before any preset.
void resetPresetValues();

// Forces the fixed live preset onto the given records and the four values above: the
// moving-average-deviation buy screen with fixed bands, the other screens off, market t1
// among the segments it touches, compounding on, fixed profit-taking and stop-loss. It
// changes memory only; fields it does not name keep their values.
void applyFixedPreset(BS &base, Sizyou &markets, SL &screening, OD &order);
