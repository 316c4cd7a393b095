#pragma once

#include <QString>

// The notice-mail settings, passed together: forward execution notices (SelEMail = 1) to
// the user's own address EMail.
struct NoticeMailInfo {
    int SelEMail = 0;
    QString EMail;
};

// Sends the execution notice of one reservation (売買区分 1 buy, 2 sell) to the user's
// address. 0 when sent or not attempted (no address), 1 when the mail could not be sent
// (not retried).
int sendYakuzyouMail(const NoticeMailInfo &info, qint64 yoyakuNo, int baibaiKubun);

// Sends the log report (program version, the order list, the current log and the weekday
// copies attached) to the support address. 0 when sent, 1 when not.
int sendLogFile();
