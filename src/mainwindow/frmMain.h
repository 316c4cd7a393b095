#pragma once

#include "mainwindow/ListRow.h"
#include "mainwindow/SelectedStock.h"
#include "mainwindow/modRun.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
namespace browser {
class Browser;
class BrowserView;
} // namespace browser
namespace net {
class Inet;
}
namespace sys {
class InstanceLock;
}
namespace ui {
class Chart2D;
class FlexGrid;
class PrintDialog;
class Timer;
} // namespace ui

// The main window "Kestro". Every control is a child widget (or object) named as the
// control; loading it runs the start-up checks and may start automatic running, closing it
// ends the run in order. Closing while a broker step is in flight asks first.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // `instanceLockHeld`: start-up already holds this folder's single-instance lock; without
    // it the window takes the lock itself when it loads.
    explicit frmMain(bool instanceLockHeld = false, QWidget *parent = nullptr);
    ~frmMain() override;

    // The controls automatic running works on.
    RunControls &runControls() { return *m_run; }

    // Form-level values.
    const QString &pageURL() const { return mstrPageURL; }

    // Refreshes the account figures of the header.
    Q_INVOKABLE void setHeader();

    // Ends the run as closing the window does, but without the question about a broker
    // step in flight, for a request of the system (a logout, a shutdown): the timers stop,
    // the broker step is closed (an order already sent stays marked as of unknown
    // outcome), the database is backed up, the log is closed and the window closes.
    // While the load sequence is still running it does nothing and returns false; that load
    // reads the request itself (sys::endRequested) and begins nothing more that reaches out.
    bool unloadWithoutQuestions();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls and menus, named and captioned as designed (frmMainBuild.cpp).
    void buildControls();
    void buildMenus();
    void Form_Load();
    void Form_Unload();
    bool checkDoubleStart();
    void initMain();
    bool checkDouisyo();
    void checkIDInput();
    void checkMailInput();
    void initScreen();
    void showStartChart();
    void checkAutoStart();

    // Look (frmMainDesign.cpp).
    void initDesign();
    // Lists, their presses and popups, the views and the small handlers (frmMainLists.cpp).
    void connectLists();
    void showChartInfo(int mode, const QString &code, const QString &market, qint64 reservationNo);
    // The stock panel for the selected stock; the refresh leaves it alone while no stock is
    // selected or the panel is hidden.
    void showSelectedChartInfo();
    void refreshChartInfo();
    void selectStock(const ListRow &pressed);
    void changeView(int view);
    void imgSyusi_MouseDown();
    void msfgOrder_MouseDown(int button);
    void listMouseDown(ui::FlexGrid &grid, const ListColumns &columns, QMenu &popup, int button, int lastColumn);
    void popUp(QMenu &menu);
    // The manual execution dialog; an entry ends the second tests of refused notices, which
    // may be the execution just entered.
    void enterExecutionByHand();
    // The menu commands (frmMainMenus.cpp).
    void connectMenus();

    // Controls, in the order of the window's design.
    QFrame *picFrame1, *picFrame2, *picFrame3, *picChartInfo, *Picture1, *Picture2;
    QLabel *imgRun, *imgLogo, *imgSupport, *imgSetting, *imgSyusi, *imgChart, *imgPowerOn, *imgPowerOff;
    QLabel *lblInfo, *lblMsg, *lblSupport, *lblMaxDate, *lblDate, *lblRunStatus, *Label1;
    QLabel *lblKounyuKanouGaku, *lblMotikabu, *lblGoukei, *lblRiekiritu, *lblNissu;
    QLabel *lblBrandName, *lblGenzaiti, *lblZenzituHi, *lblTakaYasu, *lblBuyTanka, *lblSelTanka;
    QFrame *linKounyu, *linRieki;
    QLabel *lblKounyu, *lblRieki;
    QFrame *fraSyusi2, *fraSyusi, *fraChart, *fraZyunbi, *fraNikkeiHeikin, *fraOrder, *fraChartInfo;
    QLabel *lblSyusi2, *lblSyusi2Msg, *lblSyusi, *lblSyusiMsg, *Label9, *lblNikkei, *lblTyumon, *lblChartInfo;
    ui::FlexGrid *msfgSelect, *msfgOrder, *msfgZisseki, *msfgZisseki2;
    ui::Chart2D *cht2Gra, *cht2Gra2;
    QPushButton *cmdAddBrand;
    ui::Timer *tmrOrder, *tmrWeb;
    browser::Browser *webOrder;
    browser::BrowserView *webOrderView;
    net::Inet *Inet1, *InetOrder, *InetMinuteData;
    std::unique_ptr<ui::PrintDialog> cmdF; // the printer choice of the session
    QMenu *mnuSettings, *mnuHosyu, *mnuSelect;
    QAction *mnuSimulation, *mnuPrintTradeHistory;
    QMenu *mnuSelect2, *mnuSelect3, *mnuSelect4;

    // Form-level values.
    QString mstrPageURL;
    SelectedStock m_stock;
    ListRow m_pressed; // the row whose right press opened the popup on show

    std::unique_ptr<RunControls> m_run;
    bool m_instanceLockHeld;
    std::unique_ptr<sys::InstanceLock> m_instanceLock;
    bool m_loaded = false;
    bool m_loadFinished = false;
    bool m_unloaded = false;
};
