#pragma once

#include <QMainWindow>

// The main window of the program. Closing it ends the run in order.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The live main window, or nullptr before start-up shows it.
    static frmMain *instance();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    bool m_loaded = false;
};
