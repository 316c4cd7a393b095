#include "trading/modBroker.h"

int etrRequestMode = 0;
int etrActionMode = 0;
int etrRunningMode = 0;
int etrError = 0;
int etrRetryCount = 0;
bool etrOrderSent = false;

QString etrUserID;
QString etrPassword;
QString etrPassword2;

etrOrderInfo etrOrder;
QString etrOrderNo;
qint64 etrGenkinZandaka = 0;
std::vector<etrHoyuuInfo> etrHoyuuMeigara;
int etrHoyuuCount = 0;
