#pragma once

#include <QMainWindow>

// The main window of the program. Closing it ends the run in order. Windows of the layers
// below find it by its object name "frmMain" (ui::topLevelWindow).
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    bool m_loaded = false;
};
