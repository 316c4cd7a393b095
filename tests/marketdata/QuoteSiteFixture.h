#pragma once

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/net/Inet.h"
#include "support/FakeQuoteSite.h"
#include "support/ProgramDirFixture.h"

#include <chrono>

// A program directory with both databases, an open log, the mail component, and the fake
// quote site running on a loopback port with the site file pointing at it.
class QuoteSiteFixture : public ProgramDirFixture {
protected:
    static inline const QDate kLastDay{2007, 3, 30}; // a Friday

    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        glngLogFileNo = openLog();
        gobjBASP = std::make_unique<mail::Basp>();
        site.start();
        site.writeSiteFile(dir());
        control.setTimeouts(std::chrono::milliseconds(1000), std::chrono::milliseconds(3000));
    }

    void TearDown() override
    {
        site.stop();
        ProgramDirFixture::TearDown();
    }

    // Transfers give up after 400 ms and a stalled page answers only after two seconds, so
    // timeouts happen quickly, yet a loaded machine or a sanitizer build still gets every
    // prompt answer in time.
    void failFast()
    {
        control.setTimeouts(std::chrono::milliseconds(1000), std::chrono::milliseconds(400));
        site.setTimeoutDelay(std::chrono::milliseconds(2000));
    }

    // The log's texts without their time stamps, from line `from` on.
    QStringList logTexts(qsizetype from = 0) const { return logLines().mid(from); }

    FakeQuoteSite site{{.seed = 5, .stocks = 20, .days = 30, .lastDay = kLastDay}};
    net::Inet control;
};
