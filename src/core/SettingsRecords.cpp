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

namespace {

// Kind 1 the live record, 2 simulation set 1, 3 the work record, any other simulation set 2.
template <typename Record>
Record &ofKind(int kind, Record &live, Record &set1, Record &work, Record &set2)
{
    switch (kind) {
    case 1:
        return live;
    case 2:
        return set1;
    case 3:
        return work;
    default:
        return set2;
    }
}

} // namespace

SL &slOfKind(int kind)
{
    return ofKind(kind, sysSL, simSL, workSL, simSL2);
}

OD &odOfKind(int kind)
{
    return ofKind(kind, sysOD, simOD, workOD, simOD2);
}

BS &bsOfKind(int kind)
{
    return kind == 1 ? sysBS : simBS;
}
