#include "core/SettingsRecords.h"

QString UserID;
QString Password;
QString Password2;
int SelEMail = 0;
QString EMail;
QString POP3Server;
QString POPUserID;
QString POPPassword;
QString POPCheckPassword;

int SMAS = 0;
int SMAM = 0;
int SMAL = 0;
int EMAS = 0;
int EMAM = 0;
int EMAL = 0;
int MACDSigSMA = 0;
int RSIA = 0;
int RCIS = 0;
int RCIM = 0;
int VRS = 0;

BS sysBS;
BS simBS;
Sizyou sysSizyou;
Sizyou simSizyou;
SL sysSL;
SL simSL;
SL simSL2;
SL workSL;
OD sysOD;
OD simOD;
OD simOD2;
OD workOD;

int glngSetteiMode = 0;

SL &slOfKind(int kind)
{
    switch (kind) {
    case 1:
        return sysSL;
    case 2:
        return simSL;
    case 3:
        return workSL;
    default:
        return simSL2;
    }
}

OD &odOfKind(int kind)
{
    switch (kind) {
    case 1:
        return sysOD;
    case 2:
        return simOD;
    case 3:
        return workOD;
    default:
        return simOD2;
    }
}

BS &bsOfKind(int kind)
{
    return kind == 1 ? sysBS : simBS;
}
