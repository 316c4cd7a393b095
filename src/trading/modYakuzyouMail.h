#pragma once

#include <QString>

class QLabel;

// One pass of the execution-notice reader: takes every waiting mail off the mailbox into
// data/mail of the program directory, then handles every saved mail file not handled before
// (also when the mailbox could not be reached, so a pass cut off after a download is
// finished later). A notice's execution is written to its reservation (weighted average
// price, shares, state when filled) and as a row of ttcontracthistory, in one transaction
// together with the file's mark in ttmailprocessed, and forwarded to the user when asked.
// A notice counts only against an order this program placed (see bookNotice); the notices
// of one pass that name such an order but do not fit it are told to the user once.
// A notice counts once, whichever copies of it arrive. The authentication password that a
// mail may carry is stored as POPCheckPassword when the mail passes the notices' sender rule.
//
// A mail too large to be a notice stays on the server unread and is logged once in the run. A
// mailbox that keeps the mails it is told to delete is still read whole (a saved mail is not
// fetched again), and the user is told once in the run.
//
// Returns the number of notices counted in this pass; `answerText` is empty when the mailbox
// was read, else the mail component's error text. A pass started while one runs (a timer
// tick during the mailbox wait) returns 0 at once and leaves `answerText` as it was.
int etrCheckYakuzyouMail(QLabel *status, QString &answerText);

// The folder the mails are saved in: <program directory>/data/mail.
QString mailFolder();

// Forgets what earlier passes told about the mailbox, as at the start of the program.
void resetMailboxReports();
