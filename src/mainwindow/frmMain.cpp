#include "mainwindow/frmMain.h"

#include "mainwindow/ChartSetup.h"
#include "mainwindow/ListMouse.h"
#include "mainwindow/PriceChart.h"

#include "core/HeaderRefresh.h"
#include "core/SettingsRecords.h"
#include "core/frmBackup.h"
#include "core/frmConfID.h"
#include "core/frmConfPOP.h"
#include "core/frmDouisyo.h"
#include "core/modApplication.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/browser/Browser.h"
#include "platform/sys/Clock.h"
#include "platform/sys/InstanceLock.h"
#include "platform/sys/ProgramDir.h"
#include "platform/sys/TerminationRequests.h"
#include "platform/text/VbText.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Printer.h"
#include "platform/ui/Timer.h"
#include "trading/modBrandGrid.h"
#include "trading/modBroker.h"
#include "trading/modLatestData.h"
#include "trading/modOrderGrid.h"
#include "trading/modOrderZyunbi.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include <functional>

namespace {

bool allSet(std::initializer_list<const QString *> values)
{
    for (const QString *value : values) {
        if (value->isEmpty())
            return false;
    }
    return true;
}

} // namespace

frmMain::frmMain(bool instanceLockHeld, QWidget *parent) : QMainWindow(parent), m_instanceLockHeld(instanceLockHeld)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kestro"));
    buildControls();
    buildMenus();
    connectLists();
    connectMenus();
    m_run = std::make_unique<RunControls>(RunControls{*tmrOrder,
                                                      *tmrWeb,
                                                      *webOrder,
                                                      mstrPageURL,
                                                      *lblRunStatus,
                                                      *lblMsg,
                                                      *lblInfo,
                                                      *lblMaxDate,
                                                      *lblDate,
                                                      *imgRun,
                                                      *imgPowerOn,
                                                      *imgPowerOff,
                                                      *msfgSelect,
                                                      *msfgOrder,
                                                      *cht2Gra2,
                                                      *InetMinuteData,
                                                      *mnuSelect->menuAction(),
                                                      *mnuSettings->menuAction(),
                                                      *mnuHosyu->menuAction(),
                                                      *mnuSimulation,
                                                      *mnuPrintTradeHistory});
    m_run->setHeader = [this] { setHeader(); };
    m_run->showSelectedChartInfo = [this] { refreshChartInfo(); };
    resetRunControl();

    connect(tmrOrder, &ui::Timer::Tick, this, [this] { tmrOrder_Timer(*m_run); });
    connect(tmrWeb, &ui::Timer::Tick, this, [this] { tmrWeb_Timer(*m_run); });
    connect(webOrder, &browser::Browser::DocumentComplete, this, [this](const QString &url) { mstrPageURL = url; });
    // The base-settings dialog sits in a lower layer and refreshes the header through this.
    ui::setHeaderRefresh([this] { setHeader(); });
}

frmMain::~frmMain()
{
    ui::setHeaderRefresh({});
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmMain::Form_Load()
{
    setFormSize(this);
    if (!checkDoubleStart())
        return;
    initMain();
    if (!checkDouisyo())
        return;
    // Once the system has asked the program to end, the load opens no more dialogs and
    // reaches for no mailbox and no site: what is left of it leads to the window's close.
    const std::function<void()> reachingOut[] = {
        [this] { checkIDInput(); },
        [this] { checkMailInput(); },
        [this] { readNoticeMails(*m_run); },
        [] {
            writeProgramLog(QStringLiteral("日次処理"));
            getLatestData();
        },
    };
    for (const std::function<void()> &step : reachingOut) {
        if (!sys::endRequested())
            step();
    }
    initScreen();
    showStartChart();
    lblMsg->clear();
    tmrOrder->setEnabled(false);
    checkAutoStart();
    m_loadFinished = true;
}

bool frmMain::checkDoubleStart()
{
    writeProgramLog(QStringLiteral("二重起動チェック"));
    if (m_instanceLockHeld)
        return true;
    m_instanceLock = std::make_unique<sys::InstanceLock>(sys::programInstanceLockPath());
    if (m_instanceLock->acquire() == sys::InstanceLock::Result::Acquired)
        return true;
    m_instanceLock.reset();
    ui::msgBox(QStringLiteral("既に起動されています。"), ui::vbOKOnly);
    m_unloaded = true; // nothing was started that an unload would end
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return false;
}

void frmMain::initMain()
{
    lblMsg->clear();
    lblDate->setText(dateCaption(sys::now().date()));
    changeView(1);
    writeProgramLog(QStringLiteral("初期化処理"));
    initTimer(*m_run);
    // The timer set-up shows the market average in place of the candidate list.
    fraNikkeiHeikin->show();
    fraZyunbi->hide();
    initDesign();
    loadLastOrderZyunbiDate();
}

bool frmMain::checkDouisyo()
{
    writeProgramLog(QStringLiteral("同意書チェック"));
    if (!text::trimSpaces(UserID).isEmpty() || sys::endRequested())
        return true;
    writeProgramLog(QStringLiteral("同意書起動"));
    frmDouisyo consent(this);
    // Closed by the system's request to end, the load goes on to the window's close.
    if (ui::showModal(consent) == QDialog::Accepted || sys::endRequested())
        return true;
    // Declining the terms ends the program before anything else is done.
    m_unloaded = true;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return false;
}

void frmMain::checkIDInput()
{
    writeProgramLog(QStringLiteral("ID入力チェック"));
    if (allSet({&UserID, &Password, &Password2}))
        return;
    frmConfID dialog(this);
    ui::showModal(dialog);
}

void frmMain::checkMailInput()
{
    writeProgramLog(QStringLiteral("メール入力チェック"));
    if (allSet({&POP3Server, &POPUserID, &POPPassword}))
        return;
    frmConfPOP dialog(this);
    ui::showModal(dialog);
}

void frmMain::initScreen()
{
    writeProgramLog(QStringLiteral("チャート初期化"));
    initChart(*cht2Gra);
    initChart(*cht2Gra2);
    writeProgramLog(QStringLiteral("画面ヘッダ部初期化"));
    setHeader();
    writeProgramLog(QStringLiteral("推奨銘柄検索"));
    setBrandGridHeader(*msfgSelect);
    writeProgramLog(QStringLiteral("注文中リスト表示"));
    setOrderGrid(*msfgOrder);
    lblMaxDate->setText(QStringLiteral("最終データ：") + gdtLastKabukaDate.toString(QStringLiteral("yyyy/MM/dd")));
}

void frmMain::showStartChart()
{
    writeProgramLog(QStringLiteral("起動時チャート表示処理"));
    if (msfgOrder->Rows() >= 2) {
        fraChartInfo->hide();
        msfgOrder->setRow(1);
        m_stock = selectedStock(*msfgOrder, 0, 4, 2);
        drawSelectedStockChart(m_stock, *cht2Gra);
        showSelectedChartInfo();
    }
    // The order list is the view shown after start-up; the other three wait behind it.
    changeView(4);
}

void frmMain::checkAutoStart()
{
    writeProgramLog(QStringLiteral("自動起動開始チェック"));
    // A program that is asked to end starts no run on its way out.
    if (sys::endRequested() || !allSet({&UserID, &Password, &Password2, &POP3Server, &POPUserID, &POPPassword}))
        return;
    writeProgramLog(QStringLiteral("自動起動開始処理"));
    imgRun_MouseDown(*m_run);
    imgRun_MouseUp(*m_run);
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    setFormSize(this);
}

void frmMain::mouseMoveEvent(QMouseEvent *event)
{
    QMainWindow::mouseMoveEvent(event);
    imgRun_MouseUp(*m_run);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        imgRun_MouseUp(*m_run);
    } else if (watched == imgRun && event->type() == QEvent::MouseButtonPress && imgRun->isEnabled()) {
        imgRun_MouseDown(*m_run);
        return true;
    } else if (watched == imgRun && event->type() == QEvent::MouseButtonRelease) {
        imgRun_MouseUp(*m_run);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (tmrWeb->Enabled() &&
        ui::msgBox(QStringLiteral("証券会社サイトで処理中です。") + QStringLiteral("\r\n") +
                       QStringLiteral("終了すると処理の結果が反映されない場合があります。終了してもよろしいですか?"),
                   ui::vbYesNo + ui::vbExclamation + ui::vbDefaultButton2) != ui::vbYes) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmMain::unloadWithoutQuestions()
{
    if (m_unloaded)
        return true;
    if (m_loaded && !m_loadFinished)
        return false;
    Form_Unload();
    close();
    return true;
}

void frmMain::Form_Unload()
{
    m_unloaded = true;
    tmrWeb->setEnabled(false);
    tmrOrder->setEnabled(false);
    etrClose();
    // The backup comes before closeApplication so that its result still reaches the log.
    frmBackup(this).exec();
    closeApplication();
}
