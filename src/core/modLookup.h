#pragma once

#include "core/SettingsRecords.h"

// The number of purchases that the base-settings dialog proposes: always 2.
int getDefaultTwo(const BS &base, int capital);
