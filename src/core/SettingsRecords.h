#pragma once

#include <QString>

// The user's settings as the whole program reads them. They are loaded once at start-up
// (getRegistryAll) and written back all at once (setRegistryAll); each field's name is
// its value name in the settings store.

// Broker login, notice mail and mailbox.
extern QString UserID;
extern QString Password;
extern QString Password2;
extern int SelEMail;
extern QString EMail;
extern QString POP3Server;
extern QString POPUserID;
extern QString POPPassword;

// Indicator periods, in days.
extern int SMAS;
extern int SMAM;
extern int SMAL;
extern int EMAS;
extern int EMAM;
extern int EMAL;
extern int MACDSigSMA;
extern int RSIA;
extern int RCIS;
extern int RCIM;
extern int VRS;
