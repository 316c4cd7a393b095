#pragma once

#include "core/JobWindow.h"

#include <QDialog>
#include <QRect>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The frame of the windows that run one long data job on request: the menu "ﾌｧｲﾙ" with
// "閉じる", the condition frame fraZyouken holding the market box cmbSizyouCode, the
// progress label lblMsg, the start button cmdSelect and the close button cmdClose "閉じる".
// While the job runs the start button is hidden, the close button disabled and closing is
// refused; a job that can stop before its end stops after its step in hand on stopJob()
// (the system's request to end the program, or the window's own stop).
class DataJobWindow : public QDialog, public JobWindow {
    Q_OBJECT
public:
    // Logs the stop once (`stopLogLine`, given by the window) and lets the job read it.
    void stopJob() override;
    bool jobRunning() const override;

protected:
    // Places in twips, each relative to its parent.
    struct Layout {
        int clientWidth = 0;
        int clientHeight = 0;
        QRect frame;          // fraZyouken, in the client area
        QRect marketBox;      // cmbSizyouCode, in the frame
        QRect message;        // lblMsg, in the client area
        QString startCaption; // cmdSelect
        QRect startButton;    // in the frame when startInFrame, else in the client area
        bool startInFrame = false;
        QRect closeButton; // cmdClose, in the client area
    };

    DataJobWindow(QWidget *parent, const QString &name, const QString &caption, const Layout &layout);

    // Visible start button and enabled close button when `flag`, neither while a job runs.
    void setButtonState(bool flag);
    // Runs a job with the buttons off and the progress label emptied, then shows
    // "処理が完了しました。", or "処理を中止しました。" when `job` returns false (it stopped
    // before its end), and turns the buttons back on. The job reads stopRequested()
    // between its steps.
    void runStoppableJob(const std::function<bool()> &job);
    bool stopRequested() const { return m_stopRequested; }
    // The log line of a stop, such as "銘柄マスタの再構築の中止が指示されました".
    QString stopLogLine;
    // Points the log at the program directory and empties the progress label.
    void initLogFile();
    QString chosenMarketCode() const;
    // The stock code box txtBrandCode in the frame, four characters, its whole text selected
    // on focus, with its caption Label6 "銘柄コード" at `captionLeft`.
    QLineEdit *addCodeBox(int captionLeft);

    virtual void cmdSelect_Click() = 0;

    // Every way of closing the window (close button, menu, title bar, Esc) ends here.
    void reject() override;

    QWidget *client;
    QGroupBox *fraZyouken;
    QComboBox *cmbSizyouCode;
    QLabel *lblMsg;
    QPushButton *cmdSelect;
    QPushButton *cmdClose;

private:
    bool m_stopRequested = false;
};
