#pragma once

#include <QDateTime>
#include <QString>

// The user's settings as the whole program reads them. They are loaded once at start-up
// (getRegistryAll) and written back all at once (setRegistryAll); each field's name is
// its value name in the settings store (the simulation sets add a suffix).

// Broker login, notice mail and mailbox.
extern QString UserID;
extern QString Password;
extern QString Password2;
extern int SelEMail;
extern QString EMail;
extern QString POP3Server;
extern QString POPUserID;
extern QString POPPassword;
extern QString POPCheckPassword; // authentication password captured from the mailbox; a secret

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

// Date serial 0 of the settings: what an unset date holds.
inline const QDateTime kZeroDate(QDate(1899, 12, 30), QTime(0, 0));

// Base settings: how much is invested and how.
struct BS {
    int RunType = 0;                 // run course, 1 or 2
    int TousiGanpon = 0;             // investment principal, yen
    int KounyuTensu = 0;             // number of stocks bought
    QDateTime StartDate = kZeroDate; // start of running (live) or of the back-test
    int SelZituKounyu = 0;           // 1: run without real purchases
    int SelHukuri = 0;               // 1: compounding
    int TousiWariai = 0;             // share of the principal for one stock, as 1/N
    // When TousiGanpon was last taken from the broker's balance (live runs only); unset
    // while the principal is the user's own figure.
    QDateTime TousiGanponDate = kZeroDate;

    // Paper mode: the run places no real orders and never contacts the broker.
    bool paperMode() const { return SelZituKounyu == 1; }
};

// Market segments screened, 1 = on.
struct Sizyou {
    int SLSizyouT1 = 0;
    int SLSizyouT2 = 0;
    int SLSizyouTM = 0;
    int SLSizyouO1 = 0;
    int SLSizyouO2 = 0;
    int SLSizyouHC = 0;
    int SLSizyouN1 = 0;
    int SLSizyouN2 = 0;
    int SLSizyouNS = 0;
    int SLSizyouF1 = 0;
    int SLSizyouFQ = 0;
    int SLSizyouS1 = 0;
    int SLSizyouSA = 0;
    int SLSizyouJS = 0;
};

// Screening conditions. The five fields at the head are working values of the lookups
// and the chart buttons; they are never stored.
struct SL {
    QString SLBrandCode;
    QString SLBrandName;
    QString SLSizyouName;
    int SLTangenKabusu = 0;
    int SLKabuka = 0;
    int SLBaibaidaikin = 0; // least trading value of the day, million yen
    int SLSelMACD = 0;
    double SLMACDSpanS = 0;
    double SLMACDSpanE = 0;
    int SLSelMACDIti = 0; // MACD position: never filled, always 0
    int SLMACDItiS = 0;
    int SLMACDItiE = 0;
    int SLSelDekidakaKyutou = 0;
    int SLDekidakaKyutou = 0;
    int SLSelRSI = 0;
    double SLRSIS = 0;
    double SLRSIE = 0;
    int SLSelRCI = 0;
    int SLRCISS = 0;
    int SLRCISE = 0;
    int SLRCIMS = 0;
    int SLRCIME = 0;
    int SLSelTakayasu = 0;
    int SLWariaiS = 0;
    int SLWariaiE = 0;
    int SLSelIdouHeikinKairirituKai = 0;
    double SLSMASWariKaiS = 0;
    double SLSMASWariKaiE = 0;
    double SLSMAMWariKaiS = 0;
    double SLSMAMWariKaiE = 0;
    double SLSMALWariKaiS = 0;
    double SLSMALWariKaiE = 0;
    double SLSVRAWariKaiS = 0;
    double SLSVRAWariKaiE = 0;
    double SLSVRBWariKaiS = 0;
    double SLSVRBWariKaiE = 0;
    int SLSelKaraUri = 0;
    int SLSelIdouHeikinKairirituUri = 0;
    int SLSMASWariUriS = 0;
    int SLSMAMWariUriS = 0;
    int SLSMALWariUriS = 0;
    int SLSelTrend = 0;
    int TrendType = 0;     // 1 rising, 2 falling
    int TrendInterval = 0; // days
    int SLSelNensyorai = 0;
    int SLNensyoraiType = 0; // 1 new high, 2 new low
};

// Order conditions.
struct OD {
    int ODOrderType = 0; // 1 cash, 2 margin
    QString ODBrand;
    int ODKabusu = 0;
    QString ODSizyouCode;   // market of the order, in memory only
    int ODSasiNariKai1 = 0; // buy order kind
    int ODKaine11 = 0;
    int ODSasiNariUri1 = 0; // sell order kind
    int ODUrine11 = 0;
    double ODRiekiWariaiUri1 = 0; // profit-taking rate, percent
    int ODSongiriTypeUri1 = 0;    // stop loss: 1 by rate, 2 by holding days, 0 both
    int ODSongiriWariaiUri1 = 0;
    int ODSongiriDUri1 = 0;
    int ODSasiNariKai2 = 0; // covering buy of a short sale: loaded, never stored
    int ODKaine21 = 0;
    int ODRiekiWariaiKai2 = 0;
    int ODSongiriTypeKai2 = 0;
    int ODSongiriWariaiKai2 = 0;
    int ODSongiriDKai2 = 0;
    int ODKurikaesiKai = 0;
    int ODNanpin = 0; // 1: averaging down
    int ODNanpinKai = 0;
    int ODNanpinWariai = 0;    // averaging-down buy rate, percent; in memory only
    int ODKarauri = 0;         // 1: short selling
    int ODRiekiAutoType = 0;   // 1: automatic profit taking
    int ODSongiriAutoType = 0; // 1: automatic stop loss
};

// Live records, simulation set 1, simulation set 2 and the unsaved work records.
extern BS sysBS;
extern BS simBS;
extern Sizyou sysSizyou;
extern Sizyou simSizyou;
extern SL sysSL;
extern SL simSL;
extern SL simSL2;
extern SL workSL;
extern OD sysOD;
extern OD simOD;
extern OD simOD2;
extern OD workOD;

// Which set a settings dialog edits: 1 the live records, 2 simulation set 1, 3 the work
// records, any other value simulation set 2. The window that opens a dialog sets it.
extern int glngSetteiMode;

// The instance of a record that a selector value chooses. The base record has only the
// live instance (kind 1) and simulation set 1 (any other kind).
SL &slOfKind(int kind);
OD &odOfKind(int kind);
BS &bsOfKind(int kind);
