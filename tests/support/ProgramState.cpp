#include "support/ProgramState.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modNimbraCommon.h"
#include "core/modRegistry.h"
#include "screening/ScreeningRandom.h"
#include "trading/modBroker.h"
#include "trading/modOrderDue.h"
#include "trading/modOrderZyunbi.h"
#include "trading/modSizing.h"
#include "trading/modYakuzyouMail.h"

void resetSettings()
{
    for (QString *text :
         {&UserID, &Password, &Password2, &EMail, &POP3Server, &POPUserID, &POPPassword, &POPCheckPassword})
        text->clear();
    for (int *number : {&SelEMail, &SMAS, &SMAM, &SMAL, &EMAS, &EMAM, &EMAL, &MACDSigSMA, &RSIA, &RCIS, &RCIM, &VRS})
        *number = 0;
    sysBS = simBS = BS();
    sysSizyou = simSizyou = Sizyou();
    sysSL = simSL = simSL2 = workSL = SL();
    sysOD = simOD = simOD2 = workOD = OD();
    glngSetteiMode = 0;
}

void resetProgramState()
{
    resetSettings();
    gdtFirstKabukaDate = kNoStoredDate;
    gdtLastKabukaDate = kNoStoredDate;
    gdtLastDailyDate = QDate();
    gdtUpdateStoppedDate = QDate();
    resetPresetValues();
    ScreeningRandom::setFixed(std::nullopt);
    broker::resetStep();
    glngStartMinute = 0;
    gdtLastOrderZyunbiDate = QDate();
    glngMotiMeigaraCount = 0;
    resetMailboxReports();
    gobjBASP.reset();
    gcnDB.close();
    closeLog(glngLogFileNo);
    glngLogFileNo = 0;
}
