#pragma once

#include "platform/settings/SettingsStore.h"

#include <QString>

// Text values under the program's settings key. The key path keeps the registry's form
// ("Software\Pellan\<ExeName>"); the platform store maps it to a file.

// The root key of every setting of the program.
inline const QString HKEY_LOCAL_MACHINE = QStringLiteral("HKEY_LOCAL_MACHINE");

// "Software\Pellan\" + the executable's base name, built anew at each call.
QString settingsSubKey();

// The value's text; "" when the value is missing; "(Error Code = 2)" when the key does
// not exist yet. Values of any length read back whole.
QString regGetString(const QString &rootKey, const QString &subKey, const QString &valueName);

// Writes a text value, creating the key when missing: 0 on success, else an error code.
int regSetString(const QString &rootKey, const QString &subKey, const QString &valueName, const QString &value);

// Writes several text values in one piece: either all of them reach the store or none
// does. A failure names the settings file.
sys::Status regSetStrings(const QString &rootKey, const QString &subKey, const settings::Values &values);

// The program's settings can be read: no settings file yet, or one that reads. A file
// that exists but cannot be read is a problem naming it (start-up stops on it, so the
// stored values are neither lost nor replaced by defaults).
sys::Status checkSettingsReadable();

// The program version as eight digits: major "00", minor "00", revision "0000".
QString getVersionNo();

// Stores the version code as the value "Version"; returns regSetString's result.
int setRegistryVersion(const QString &versionNo);
