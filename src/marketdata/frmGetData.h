#pragma once

#include "core/JobWindow.h"

#include <QDialog>

class QLabel;

namespace net {
class Inet;
}

// The start-up data update: the start-up picture with a progress line. Once shown it
// imports the missing trading days up to yesterday, refreshes the stored range, computes
// the new days' indicators, handles the split days and refreshes the caution flags, then
// closes itself, accepted. An update that an earlier run left unfinished (the update
// journal) is completed first, from where it stood. Its close box asks whether to stop;
// a stop ends the import after the current stock and closes the window rejected, as does
// an import stopped because the site does not answer; the journal keeps the rest for the
// next run. The system's request to end the program stops it the same way; a window so
// stopped before its update began closes without starting it.
class frmGetData : public QDialog, public JobWindow {
    Q_OBJECT
public:
    explicit frmGetData(QWidget *parent = nullptr);

    void stopJob() override;
    // The window is its update: it closes itself once the update has run or stopped.
    bool jobRunning() const override { return true; }

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    void reject() override {}
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();
    // The steps from the journal's step on; false when the update was stopped.
    bool runUpdate(const QDateTime &now);

    QLabel *imgLogo;
    QLabel *lblMsg;
    net::Inet *Inet1;
    int m_runCount = 0; // keeps a second activation from running the update again
    bool m_stopRequested = false;
};
