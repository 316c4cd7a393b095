#pragma once

#include "LoopbackDayFixture.h"

#include <QDateTime>
#include <QProcess>

// The loopback trading day for the program's own day harness (nimbra_simday), which runs
// as a separate process and reads everything from its files, as a user's program would.
class HarnessFixture : public LoopbackDayFixture {
protected:
    void SetUp() override;

    // Starts the harness from `start` to `until` ("YYYY-MM-DD HH:MM", Japan time); with
    // `pause` it stops at that moment until resume().
    QProcess &startHarness(const QString &start, const QString &until, const QString &pause = {});
    // Waits until the harness has paused (false when it ended or took too long), and lets it go on.
    bool waitForPause();
    void resume();

    // One column of the first reservation of stock 1001, "none" without one (opens and
    // closes the database).
    QString reservationColumn(const QString &column);

    QProcess harness;
    QByteArray pausedOutput; // what the harness printed up to its pause

private:
    QDateTime m_pause;
};
