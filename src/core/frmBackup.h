#pragma once

#include "core/JobWindow.h"

#include <QDialog>

class QLabel;

// "バックアップ": the last window of a run. Once it is on the screen it copies the working
// database to the backup of today's weekday (<ExeName><d>.mdb, 1 = Sunday), logs the
// result and closes itself. A failed backup is also shown to the user. The system's request
// to end the program waits for it.
class frmBackup : public QDialog, public JobWindow {
    Q_OBJECT
public:
    explicit frmBackup(QWidget *parent = nullptr);

    void stopJob() override {}
    bool jobRunning() const override { return true; }

protected:
    void showEvent(QShowEvent *event) override;
    // Neither Escape nor the close box ends it before the backup is done.
    void reject() override {}

private:
    void backUpAndClose();

    QLabel *lblMsg;
    int m_activated = 0; // 99 once the backup has been started
};
