#pragma once

#include "core/CancelToken.h"
#include "core/JobWindow.h"
#include "core/SettingsRecords.h"
#include "platform/ui/cDateTimePicker.h"

#include <QDialog>

#include <memory>

struct SimulationSettings;
class QAction;
class QLabel;
class QListWidget;
class QPushButton;
namespace ui {
class PrintDialog;
}

// The batch simulation window "一括シミュレーション": back-tests the strategy of simulation
// set 1 over a range of stored days and lists every buy, every sell, a block at each month
// end and a closing "総合計" block. Nothing is written to any database.
//
// A run works on copies of the settings taken when it starts, holds the busy guard and
// yields to the window system; while it runs the settings menus are disabled and the window
// cannot be closed. "キャンセル" asks the run to stop after the day in hand; "実行" and
// "印刷" come back once the closing block is written.
class frmSimu : public QDialog, public JobWindow {
    Q_OBJECT
public:
    // `printDialog` is the main window's print dialog, used by "印刷".
    explicit frmSimu(ui::PrintDialog &printDialog, QWidget *parent = nullptr);
    ~frmSimu() override;

    // Fills a list box with the open reservations, newest change first.
    void setList(QListWidget &list);

    bool isRunning() const { return m_running; }
    // The system's request to end the program cancels a run as "キャンセル" does.
    void stopJob() override { cmdCancel_Click(); }
    bool jobRunning() const override { return m_running; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void cmdRun_Click();
    void cmdCancel_Click();
    void cmdPrint_Click();
    void openSettings(QDialog &dialog, bool simulationSet);
    void setRunning(bool running);
    // Shows why a run cannot start with these dates and settings; true when refused.
    bool refuseStart(const QDate &start, const QDate &end, const SimulationSettings &settings);

    ui::PrintDialog &m_printDialog;
    cDateTimePicker dtpDateST;
    cDateTimePicker dtpDateED;
    QLabel *lblMaxDate = nullptr;
    QLabel *lblMsg = nullptr;
    QListWidget *lstResultData = nullptr;
    QListWidget *lstSelectData = nullptr;
    QPushButton *cmdRun = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdClose = nullptr;
    QList<QAction *> m_settingsItems;
    QString m_listSql; // the query of the reservation list

    bool m_running = false;
    std::unique_ptr<jobs::CancelToken> m_cancel; // the run in hand's own request
    BS m_runBase;                                // the base record the last run used
};
