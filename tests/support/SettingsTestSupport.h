#pragma once

#include "core/SettingsRecords.h"
#include "core/modRegistry.h"
#include "platform/settings/SettingsStore.h"

#include <gtest/gtest.h>

// Puts every setting back to its state at process start: zeros, empty texts, zero dates.
inline void resetSettings()
{
    for (QString *text : {&UserID, &Password, &Password2, &EMail, &POP3Server, &POPUserID, &POPPassword, &POPCheckPassword})
        text->clear();
    for (int *number : {&SelEMail, &SMAS, &SMAM, &SMAL, &EMAS, &EMAM, &EMAL, &MACDSigSMA, &RSIA, &RCIS, &RCIM, &VRS})
        *number = 0;
    sysBS = simBS = BS();
    sysSizyou = simSizyou = Sizyou();
    sysSL = simSL = simSL2 = workSL = SL();
    sysOD = simOD = simOD2 = workOD = OD();
}

inline QString settingsKeyPath()
{
    return HKEY_LOCAL_MACHINE + u'\\' + settingsSubKey();
}

// Everything the settings store holds under the program's key (empty when no key).
inline settings::Values storedSettings()
{
    return settings::readKey(settingsKeyPath()).value_or(settings::Values());
}

inline void storeSettings(const settings::Values &values)
{
    ASSERT_EQ(settings::writeValues(settingsKeyPath(), values), 0);
}
