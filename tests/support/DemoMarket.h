#pragma once

#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeQuoteSite.h"
#include "support/FakeSmtpServer.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// The small market `make run` shows, and the program directory laid out on it.
//
//   const QDateTime start = demoClockStart(QDateTime::currentDateTime());
//   emptyDemoDirectory(directory);
//   DemoSites sites(directory, start.date());
//   sites.start();                                // the fakes, listening on 127.0.0.1
//   layOutDemo(directory, sites, pictures, real); // databases, past trades, settings, site file
//
// The quote site lists 36 stocks over the exchanges' calendar, 150 trading days up to the
// day before the clock's day; three first-section stocks have just fallen hard (the day's
// screening picks them) and three more fell three weeks before and rebounded (the back-test
// buys and sells them). The databases hold the stock master and no prices, so the
// program's start-up fetches the history, computes the indicators and sets the caution
// flags itself. The history holds four closed trades of past months, two at a profit and
// two at a loss, and one position still held.

// 09:00 Japan time on the first trading day on or after `wallClock`'s day in Japan: the
// session has opened, so quotes carry their time and orders may go out.
QDateTime demoClockStart(const QDateTime &wallClock);

// The demo's fakes: the quote site (its market ends on the trading day before `clockDay`),
// the broker (holding the demo's open position; each order's notice mail goes to the
// mailbox), the mailbox and the mail server. Mail folders are made under `directory`.
class DemoSites {
public:
    DemoSites(const QString &directory, const QDate &clockDay);
    void start();
    // The site file: every host of the fakes and the mail addresses.
    QString siteFileText() const;

    FakeQuoteSite quotes;
    FakeBrokerSite broker;
    FakePop3Server pop3;
    FakeSmtpServer smtp;
};

// Makes `directory` an empty folder of the demo's: an earlier demo's folder is emptied; a
// folder with other files in it is left alone and std::exception says so.
void emptyDemoDirectory(const QString &directory);

// Lays out the empty `directory`, for the started `sites`, as the demo's program directory: both databases with the
// stock master and the past trades, the pictures of `picturesDirectory`, the site file, and
// settings (in <directory>/config, set as XDG_CONFIG_HOME) with a stored broker user and
// mailbox, in paper mode or with `realMode` against the fake broker. Sets NIMBRA_HOME.
// Returns the code of the stock still held. Throws std::exception when a file cannot be
// written.
QString layOutDemo(const QString &directory, DemoSites &sites, const QString &picturesDirectory, bool realMode);
