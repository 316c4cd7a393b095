#pragma once

#include "support/FakeMarket.h"

// Stores the fake market's stocks in tmbond on gcnDB, as a rebuild of the stock master
// from the fake site would.
void storeFakeMaster(const FakeMarket &market);
