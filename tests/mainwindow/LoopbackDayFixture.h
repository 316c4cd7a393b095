#pragma once

#include "MainWindowFixture.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/FakeSmtpServer.h"

#include <QTemporaryDir>

// A trading day's surroundings on loopback: the fake broker (its notice mails go into the
// mailbox), the fake mailbox and mail server, the site file and the login pointing at them,
// capital for one purchase a day, the first section ticked, and the small market whose
// stock 1001 passes the screening on 2026-12-09, the processing day of 2026-12-10.
class LoopbackDayFixture : public MainWindowFixture {
protected:
    void SetUp() override;

    QTemporaryDir maildrop;
    FakeBrokerSite broker;
    FakePop3Server pop3{maildrop.path(), QStringLiteral("mailuser"), QStringLiteral("mailpass")};
    FakeSmtpServer smtp;
};

// A moment of Japan time.
QDateTime japan(const QDate &day, const QTime &time);
