#pragma once

// The trading fixture lives in tests/support; this name stays for the suites that still
// include it from here.
#include "support/TradingFixture.h"
