#pragma once

#include "support/FakeMarket.h"

// Stores the fake market's stocks in tmbond on gcnDB, as a rebuild of the stock master
// from the fake site would. Stocks already stored are updated, so it may run again.
void storeFakeMaster(const FakeMarket &market);
