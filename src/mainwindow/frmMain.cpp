#include "mainwindow/frmMain.h"

#include "mainwindow/ChartSetup.h"
#include "mainwindow/ListMouse.h"
#include "mainwindow/PriceChart.h"

#include "core/SettingsRecords.h"
#include "core/frmBackup.h"
#include "core/frmConfID.h"
#include "core/frmConfPOP.h"
#include "core/frmDouisyo.h"
#include "core/modApplication.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/browser/Browser.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/sys/InstanceLock.h"
#include "platform/sys/ProgramDir.h"
#include "platform/text/VbText.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Printer.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WindowBuilder.h"
#include "trading/modBrandGrid.h"
#include "trading/modBroker.h"
#include "trading/modLatestData.h"
#include "trading/modOrderGrid.h"
#include "trading/modOrderZyunbi.h"
#include "trading/modYakuzyouMail.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

void log(const QString &text)
{
    writeLog(glngLogFileNo, text);
}

template <typename W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QFrame *panel(QWidget *parent, const QString &name, const QRect &twips)
{
    auto *frame = named(new QFrame(parent), name);
    frame->setGeometry(ui::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return frame;
}

QFrame *frame(QWidget *parent, const QString &name, const QRect &twips)
{
    QFrame *f = panel(parent, name, twips);
    f->setFrameShape(QFrame::Box);
    return f;
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    auto *l = named(new QLabel(caption, parent), name);
    l->setGeometry(ui::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return l;
}

template <typename W>
W *placed(W *widget, QWidget *parent, const QString &name, const QRect &twips)
{
    widget->setParent(parent);
    widget->setObjectName(name);
    widget->setGeometry(ui::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return widget;
}

QFrame *line(QWidget *parent, const QString &name, const QRect &twips)
{
    QFrame *l = panel(parent, name, twips);
    l->setFrameShape(QFrame::HLine);
    return l;
}

// A menu item; captions escape "&" so that it shows as written.
QAction *item(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(QString(caption).replace(u'&', QStringLiteral("&&")));
    action->setObjectName(name);
    return action;
}

QMenu *submenu(QWidget *owner, QMenu *parent, const QString &name, const QString &caption)
{
    auto *menu = named(new QMenu(QString(caption).replace(u'&', QStringLiteral("&&")), owner), name);
    menu->menuAction()->setObjectName(name);
    if (parent)
        parent->addMenu(menu);
    return menu;
}

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
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    auto *client = named(new QWidget(this), QStringLiteral("frmMainClient"));
    setCentralWidget(client);
    client->setMouseTracking(true);
    setMouseTracking(true);

    picFrame1 = panel(client, QStringLiteral("picFrame1"), {0, 0, 13185, 1215});
    imgRun = label(picFrame1, QStringLiteral("imgRun"), {}, {120, 120, 975, 975});
    imgRun->installEventFilter(this);
    imgRun->setMouseTracking(true);
    imgLogo = label(picFrame1, QStringLiteral("imgLogo"), {}, {1200, 120, 2400, 975});
    label(picFrame1, QStringLiteral("lblTitle_5"), QStringLiteral("インフォメーション"), {3720, 120, 2000, 255});
    lblInfo = label(picFrame1, QStringLiteral("lblInfo"), QStringLiteral("メッセージ欄"), {3720, 420, 5400, 255});
    lblMsg = label(picFrame1, QStringLiteral("lblMsg"), QStringLiteral("メッセージ欄"), {3720, 780, 5400, 255});
    imgSupport = label(picFrame1, QStringLiteral("imgSupport"), {}, {9300, 120, 375, 375});
    lblSupport =
        label(picFrame1, QStringLiteral("lblSupport"), QStringLiteral("サポートサイトへ"), {9720, 180, 1600, 255});
    lblMaxDate =
        label(picFrame1, QStringLiteral("lblMaxDate"), QStringLiteral("最終データ:yyyy/mm/dd"), {9300, 540, 2400, 255});
    lblDate = label(picFrame1, QStringLiteral("lblDate"), QStringLiteral("今日の日付"), {9300, 840, 2400, 255});
    lblRunStatus = label(picFrame1, QStringLiteral("lblRunStatus"), kStopped, {11800, 420, 1200, 375});
    QFont statusFont = lblRunStatus->font();
    statusFont.setBold(true);
    statusFont.setPointSize(statusFont.pointSize() + 4);
    lblRunStatus->setFont(statusFont);
    Label1 = label(picFrame1, QStringLiteral("Label1"), {}, {11800, 840, 1200, 255});

    picFrame2 = panel(client, QStringLiteral("picFrame2"), {0, 1215, 13185, 735});
    const QStringList titles{QStringLiteral("購入可能額"), QStringLiteral("持ち株合計"), QStringLiteral("合計"),
                             QStringLiteral("利益率"), QStringLiteral("経過日数")};
    const QStringList figures{QStringLiteral("lblKounyuKanouGaku"), QStringLiteral("lblMotikabu"),
                              QStringLiteral("lblGoukei"), QStringLiteral("lblRiekiritu"), QStringLiteral("lblNissu")};
    QList<QLabel *> figureLabels;
    for (int i = 0; i < int(titles.size()); ++i) {
        label(picFrame2, QStringLiteral("lblTitle_") + QString::number(i), titles[i], {120 + i * 2600, 60, 2400, 255});
        figureLabels.append(label(picFrame2, figures[i], {}, {120 + i * 2600, 360, 2400, 300}));
    }
    lblKounyuKanouGaku = figureLabels[0];
    lblMotikabu = figureLabels[1];
    lblGoukei = figureLabels[2];
    lblRiekiritu = figureLabels[3];
    lblNissu = figureLabels[4];

    picFrame3 = panel(client, QStringLiteral("picFrame3"), {0, 1950, 13185, 855});
    lblBrandName = label(picFrame3, QStringLiteral("lblBrandName"), QStringLiteral("銘柄名"), {120, 60, 3000, 255});
    lblGenzaiti = label(picFrame3, QStringLiteral("lblGenzaiti"), QStringLiteral("現在値"), {3240, 60, 2000, 255});
    lblZenzituHi = label(picFrame3, QStringLiteral("lblZenzituHi"), QStringLiteral("前日比"), {5360, 60, 2000, 255});
    lblTakaYasu = label(picFrame3, QStringLiteral("lblTakaYasu"), QStringLiteral("高値安値"), {7480, 60, 2800, 255});
    lblBuyTanka = label(picFrame3, QStringLiteral("lblBuyTanka"), {}, {120, 420, 3000, 255});
    lblSelTanka = label(picFrame3, QStringLiteral("lblSelTanka"), {}, {3240, 420, 3000, 255});
    linKounyu = line(picFrame3, QStringLiteral("linKounyu"), {6400, 540, 600, 15});
    lblKounyu = label(picFrame3, QStringLiteral("lblKounyu"), QStringLiteral("購入時ポイント"), {7080, 420, 1600, 255});
    linRieki = line(picFrame3, QStringLiteral("linRieki"), {8800, 540, 600, 15});
    lblRieki = label(picFrame3, QStringLiteral("lblRieki"), QStringLiteral("利益確定ライン"), {9480, 420, 1600, 255});

    picChartInfo = panel(client, QStringLiteral("picChartInfo"), {0, 2805, 13185, 5160});
    Picture1 = panel(picChartInfo, QStringLiteral("Picture1"), {6600, 480, 6465, 4620});
    Picture2 = panel(picChartInfo, QStringLiteral("Picture2"), {120, 480, 6360, 4620});
    imgSetting = label(picChartInfo, QStringLiteral("imgSetting"), {}, {6600, 60, 375, 375});
    imgSyusi = label(picChartInfo, QStringLiteral("imgSyusi"), {}, {7080, 60, 375, 375});
    imgChart = label(picChartInfo, QStringLiteral("imgChart"), {}, {120, 60, 375, 375});

    const QRect view{0, 0, 6465, 4620};
    const QRect grid{60, 360, 6345, 4200};
    const QRect title{60, 60, 6345, 255};
    fraSyusi2 = frame(Picture1, QStringLiteral("fraSyusi2"), view);
    msfgZisseki2 = placed(new ui::FlexGrid, fraSyusi2, QStringLiteral("msfgZisseki2"), {60, 360, 6345, 3900});
    lblSyusi2 =
        label(fraSyusi2, QStringLiteral("lblSyusi2"), QStringLiteral("売　買　実　績　(銘　柄　ご　と)"), title);
    const QString note = QStringLiteral("※.合計は決済済のみの合計です。");
    lblSyusi2Msg = label(fraSyusi2, QStringLiteral("lblSyusi2Msg"), note, {60, 4320, 6345, 255});
    fraSyusi = frame(Picture1, QStringLiteral("fraSyusi"), view);
    msfgZisseki = placed(new ui::FlexGrid, fraSyusi, QStringLiteral("msfgZisseki"), {60, 360, 6345, 3900});
    lblSyusi = label(fraSyusi, QStringLiteral("lblSyusi"), QStringLiteral("売　買　実　績　(日　付　順)"), title);
    lblSyusiMsg = label(fraSyusi, QStringLiteral("lblSyusiMsg"), note, {60, 4320, 6345, 255});
    fraChart = frame(Picture1, QStringLiteral("fraChart"), view);
    fraZyunbi = panel(fraChart, QStringLiteral("fraZyunbi"), view);
    msfgSelect = placed(new ui::FlexGrid, fraZyunbi, QStringLiteral("msfgSelect"), {60, 360, 6345, 3780});
    Label9 = label(fraZyunbi, QStringLiteral("Label9"), QStringLiteral("準　備　銘　柄　リ　ス　ト"), title);
    cmdAddBrand = placed(new QPushButton(QStringLiteral("銘柄追加")), fraZyunbi, QStringLiteral("cmdAddBrand"),
                         {5000, 4200, 1400, 360});
    fraNikkeiHeikin = panel(fraChart, QStringLiteral("fraNikkeiHeikin"), view);
    cht2Gra2 = placed(new ui::Chart2D, fraNikkeiHeikin, QStringLiteral("cht2Gra2"), grid);
    lblNikkei =
        label(fraNikkeiHeikin, QStringLiteral("lblNikkei"), QStringLiteral("日　経　平　均　(　分　足　)"), title);
    fraOrder = frame(Picture1, QStringLiteral("fraOrder"), view);
    msfgOrder = placed(new ui::FlexGrid, fraOrder, QStringLiteral("msfgOrder"), grid);
    lblTyumon = label(fraOrder, QStringLiteral("lblTyumon"), QStringLiteral("注　文　中　リ　ス　ト"), title);

    cht2Gra = placed(new ui::Chart2D, Picture2, QStringLiteral("cht2Gra"), {0, 0, 6360, 4620});
    fraChartInfo = frame(Picture2, QStringLiteral("fraChartInfo"), {600, 1800, 5160, 900});
    lblChartInfo = label(fraChartInfo, QStringLiteral("lblChartInfo"),
                         QStringLiteral("ここにチャートを表示させるには右の表で銘柄名を押して選択してください"),
                         {60, 60, 5040, 780});
    lblChartInfo->setWordWrap(true);

    tmrOrder = named(new ui::Timer(this), QStringLiteral("tmrOrder"));
    tmrWeb = named(new ui::Timer(this), QStringLiteral("tmrWeb"));
    webOrder = named(new browser::Browser(this), QStringLiteral("webOrder"));
    // The broker page is kept out of sight, as the design places it outside the window.
    webOrderView =
        placed(new browser::BrowserView(*webOrder), client, QStringLiteral("webOrder"), {13500, 0, 3000, 3000});
    Inet1 = named(new net::Inet(this), QStringLiteral("Inet1"));
    InetOrder = named(new net::Inet(this), QStringLiteral("InetOrder"));
    InetMinuteData = named(new net::Inet(this), QStringLiteral("InetMinuteData"));
    cmdF = std::make_unique<ui::PrintDialog>();
    imgPowerOn = label(client, QStringLiteral("imgPowerOn"), {}, {13500, 3200, 975, 975});
    imgPowerOff = label(client, QStringLiteral("imgPowerOff"), {}, {13500, 4300, 975, 975});

    for (QWidget *watched :
         {static_cast<QWidget *>(fraChart), static_cast<QWidget *>(fraSyusi), static_cast<QWidget *>(fraSyusi2)}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = submenu(this, nullptr, QStringLiteral("mnuDummy002"), QStringLiteral("ﾌｧｲﾙ"));
    bar->addMenu(file);
    connect(item(file, QStringLiteral("mnuEnd"), QStringLiteral("終了")), &QAction::triggered, this, &QWidget::close);

    mnuSettings = submenu(this, nullptr, QStringLiteral("mnuSettings"), QStringLiteral("設定"));
    bar->addMenu(mnuSettings);
    item(mnuSettings, QStringLiteral("mnuConfOrder"), QStringLiteral("注文設定"));
    item(mnuSettings, QStringLiteral("mnuEMail"), QStringLiteral("お知らせメール設定"));
    mnuSettings->addSeparator();
    QMenu *system = submenu(this, mnuSettings, QStringLiteral("mnuDummy231"), QStringLiteral("システム設定"));
    item(system, QStringLiteral("mnuConfLogin"), QStringLiteral("ﾛｸﾞｲﾝ設定"));
    item(system, QStringLiteral("mnuConfPOP"), QStringLiteral("約定メール受信設定"));

    QMenu *tools = submenu(this, nullptr, QStringLiteral("mnuDummy004"), QStringLiteral("ﾂｰﾙ"));
    bar->addMenu(tools);
    item(tools, QStringLiteral("mnuPageETRADE"), QStringLiteral("E*TRADE"));
    mnuSimulation = item(tools, QStringLiteral("mnuSimulation"), QStringLiteral("一括シミュレーション"));
    mnuPrintTradeHistory = item(tools, QStringLiteral("mnuPrintTradeHistory"), QStringLiteral("売買実績印刷"));

    mnuHosyu = submenu(this, nullptr, QStringLiteral("mnuHosyu"), QStringLiteral("保守"));
    bar->addMenu(mnuHosyu);
    item(mnuHosyu, QStringLiteral("mnuGetStocks"), QStringLiteral("株価再取得"));
    item(mnuHosyu, QStringLiteral("mnuReCalc"), QStringLiteral("株価情報再計算"));
    item(mnuHosyu, QStringLiteral("mnuGetMst01"), QStringLiteral("銘柄マスタ取得"));
    mnuHosyu->addSeparator();
    item(mnuHosyu, QStringLiteral("mnuDelTran"), QStringLiteral("履歴削除"));
    QMenu *maintenance = submenu(this, mnuHosyu, QStringLiteral("mnuSystem"), QStringLiteral("ｼｽﾃﾑ"));
    item(maintenance, QStringLiteral("mnuYakuzyouSet"), QStringLiteral("約定通知個別登録"));
    mnuHosyu->addSeparator();
    item(mnuHosyu, QStringLiteral("mnuSendLogFile"), QStringLiteral("ログファイル送信"));

    QMenu *help = submenu(this, nullptr, QStringLiteral("mnuHelp"), QStringLiteral("ﾍﾙﾌﾟ"));
    bar->addMenu(help);
    item(help, QStringLiteral("mnuManual2"), QStringLiteral("オンライン説明書"));
    item(help, QStringLiteral("mnuManual"), QStringLiteral("サポートサイト"));

    // The four popups of the lists: menus of the window that the menu bar does not show.
    mnuSelect = submenu(this, nullptr, QStringLiteral("mnuSelect"), QStringLiteral("選択"));
    QMenu *info = submenu(this, mnuSelect, QStringLiteral("mnuInfo"), QStringLiteral("情報"));
    item(info, QStringLiteral("mnuInfoYahoo"), QStringLiteral("Yahoo!Finance"));
    mnuSelect->addSeparator();
    QMenu *mente2 = submenu(this, mnuSelect, QStringLiteral("mnuMente2"), QStringLiteral("ﾒﾝﾃﾅﾝｽ"));
    item(mente2, QStringLiteral("mnuDeleteRireki2"), QStringLiteral("個別履歴削除"));

    QMenu *select2 = mnuSelect2 = submenu(this, nullptr, QStringLiteral("mnuSelect2"), QStringLiteral("選択2"));
    QMenu *info2 = submenu(this, select2, QStringLiteral("mnuDummy5"), QStringLiteral("情報"));
    item(info2, QStringLiteral("mnuInfoYahoo2"), QStringLiteral("Yahoo!Finance"));
    select2->addSeparator();
    item(select2, QStringLiteral("mnuDelete"), QStringLiteral("削除"));

    QMenu *select3 = mnuSelect3 = submenu(this, nullptr, QStringLiteral("mnuSelect3"), QStringLiteral("選択3"));
    QMenu *info3 = submenu(this, select3, QStringLiteral("mnuInfo3"), QStringLiteral("情報"));
    item(info3, QStringLiteral("mnuInfoYahoo3"), QStringLiteral("Yahoo!Finance"));
    select3->addSeparator();
    item(select3, QStringLiteral("mnuKyouseiOrder"), QStringLiteral("決済"));
    select3->addSeparator();
    item(select3, QStringLiteral("mnuCancel"), QStringLiteral("ｷｬﾝｾﾙ"));
    select3->addSeparator();
    QMenu *mente = submenu(this, select3, QStringLiteral("mnuMente"), QStringLiteral("ﾒﾝﾃﾅﾝｽ"));
    item(mente, QStringLiteral("mnuDeleteRireki"), QStringLiteral("個別履歴削除"));

    QMenu *select4 = mnuSelect4 = submenu(this, nullptr, QStringLiteral("mnuSelect4"), QStringLiteral("選択4"));
    QMenu *info4 = submenu(this, select4, QStringLiteral("mnuInfo4"), QStringLiteral("情報"));
    item(info4, QStringLiteral("mnuInfoYahoo4"), QStringLiteral("Yahoo!Finance"));
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
    checkIDInput();
    checkMailInput();
    {
        QString answer;
        etrCheckYakuzyouMail(lblMsg, answer);
    }
    log(QStringLiteral("日次処理"));
    getLatestData();
    initScreen();
    showStartChart();
    lblMsg->clear();
    tmrOrder->setEnabled(false);
    checkAutoStart();
}

bool frmMain::checkDoubleStart()
{
    log(QStringLiteral("二重起動チェック"));
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
    log(QStringLiteral("初期化処理"));
    initTimer(*m_run);
    // The timer set-up shows the market average in place of the candidate list.
    fraNikkeiHeikin->show();
    fraZyunbi->hide();
    initDesign();
    loadLastOrderZyunbiDate();
}

bool frmMain::checkDouisyo()
{
    log(QStringLiteral("同意書チェック"));
    if (!text::trimSpaces(UserID).isEmpty())
        return true;
    log(QStringLiteral("同意書起動"));
    frmDouisyo consent(this);
    if (ui::showModal(consent) == QDialog::Accepted)
        return true;
    // Declining the terms ends the program before anything else is done.
    m_unloaded = true;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return false;
}

void frmMain::checkIDInput()
{
    log(QStringLiteral("ID入力チェック"));
    if (allSet({&UserID, &Password, &Password2}))
        return;
    frmConfID dialog(this);
    ui::showModal(dialog);
}

void frmMain::checkMailInput()
{
    log(QStringLiteral("メール入力チェック"));
    if (allSet({&POP3Server, &POPUserID, &POPPassword}))
        return;
    frmConfPOP dialog(this);
    ui::showModal(dialog);
}

void frmMain::initScreen()
{
    log(QStringLiteral("チャート初期化"));
    initChart(*cht2Gra);
    initChart(*cht2Gra2);
    log(QStringLiteral("画面ヘッダ部初期化"));
    setHeader();
    log(QStringLiteral("推奨銘柄検索"));
    setBrandGridHeader(*msfgSelect);
    log(QStringLiteral("注文中リスト表示"));
    setOrderGrid(*msfgOrder);
    lblMaxDate->setText(QStringLiteral("最終データ：") + gdtLastKabukaDate.toString(QStringLiteral("yyyy/MM/dd")));
}

void frmMain::showStartChart()
{
    log(QStringLiteral("起動時チャート表示処理"));
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
    log(QStringLiteral("自動起動開始チェック"));
    if (!allSet({&UserID, &Password, &Password2, &POP3Server, &POPUserID, &POPPassword}))
        return;
    log(QStringLiteral("自動起動開始処理"));
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
