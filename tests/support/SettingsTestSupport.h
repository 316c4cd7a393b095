#pragma once

#include "core/SettingsRecords.h"
#include "core/modRegistry.h"
#include "platform/settings/SettingsStore.h"
#include "support/ProgramState.h"

#include <gtest/gtest.h>

inline QString settingsKeyPath()
{
    return HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey();
}

// Everything the settings store holds under the program's key (empty when no key).
inline settings::Values storedSettings()
{
    return settings::readKey(settingsKeyPath()).valueOr(std::nullopt).value_or(settings::Values());
}

inline void storeSettings(const settings::Values &values)
{
    ASSERT_TRUE(settings::writeValues(settingsKeyPath(), values).ok());
}
