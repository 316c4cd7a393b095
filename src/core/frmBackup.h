#pragma once

#include <QDialog>

class QLabel;

// "バックアップ": the last window of a run. When first shown it waits two seconds, copies
// the working database to the backup of today's weekday (<ExeName><d>.mdb, 1 = Sunday),
// logs the result and closes itself. A failed backup is also shown to the user.
class frmBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmBackup(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    // Neither Escape nor the close box ends it before the backup is done.
    void reject() override {}

private:
    void backUpAndClose();

    QLabel *lblMsg;
    int m_activated = 0; // 99 once the backup has been started
};
