#pragma once

#include "core/SettingsField.h"

#include <vector>

// The catalogue of stored settings: every value name with the field it fills, in the
// order in which start-up loads them and in the order in which they are saved.

struct SettingEntry {
    QString name; // value name in the settings store
    SettingField field;
    double defaultValue = 0;   // taken on load when the number reads as 0; 0 = no default
    bool oneWhenEmpty = false; // read as a strict whole number, 1 when nothing is stored
    bool secret = false;       // stored exactly as typed, never trimmed
};

// Loading order; the covering-buy fields of the order records appear here only.
std::vector<SettingEntry> settingsLoadOrder();

// Saving order: the 213 stored values.
std::vector<SettingEntry> settingsSaveOrder();
