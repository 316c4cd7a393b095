#pragma once

#include <QString>

class QDateTime;
class QLabel;

// One pass of the execution-notice reader: takes every waiting mail off the mailbox into
// data/mail of the program directory, then handles every saved mail file not handled before
// (also when the mailbox could not be reached, so a pass cut off after a download is
// finished later). A notice's execution is written to its reservation (weighted average
// price, shares, state when filled) and as a row of ttcontracthistory, in one transaction
// together with the file's mark in ttmailprocessed, and forwarded to the user when asked.
// A notice counts only against an order this program placed (see bookNotice); the notices
// that name such an order but do not fit it are logged each and kept as refused, and the
// information text (mailboxInfoText) counts them until the user dismisses them; its
// summary is logged once a day. A notice refused for its price alone before the prices of
// its execution day were stored (a split's ex-date, whose mark comes with that day's row)
// is tested once more at the first pass after they are; any other refusal is final.
// A notice counts once, whichever copies of it arrive. The authentication password that a
// mail may carry is stored as POPCheckPassword when the mail passes the notices' sender rule.
//
// A mail too large to be a notice stays on the server unread and is logged once in the run. A
// mailbox that keeps the mails it is told to delete is still read whole (a saved mail is not
// fetched again); it is logged once a day and told in the day's information text. A pass
// never waits for the user: it runs inside the order tick and before the automatic start.
//
// Returns the number of notices counted in this pass; `answerText` is empty when the mailbox
// was read, else the mail component's error text. A pass started while one runs (a timer
// tick during the mailbox wait) returns 0 at once and leaves `answerText` as it was.
int etrCheckYakuzyouMail(QLabel *status, QString &answerText);

// What the passes have to tell the user, for the information line: how many refused
// notices the user has not dismissed, and a mailbox that today kept the mails it was told
// to delete. Empty when there is nothing to tell.
QString mailboxInfoText();

// The refused notices the user has not dismissed: how many, and the mark of the newest, so
// that a dismissal takes no more than the line showed.
struct RefusedNotices {
    int count = 0;
    qint64 upTo = 0;
};
RefusedNotices refusedNotices();

// The user has seen the refused notices up to the mark `upTo`: they leave the information
// line (their files stay marked as refused).
void dismissRefusedNotices(qint64 upTo, const QDateTime &at);

// An execution was entered by hand: no refused notice is tested again, since the entry may
// be the execution it tells, which must not be counted twice.
void endPriceRetests();

// The folder the mails are saved in: <program directory>/data/mail.
QString mailFolder();

// Forgets what earlier passes told about the mailbox, as at the start of the program.
void resetMailboxReports();
