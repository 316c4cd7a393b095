// The main window's controls and menus as the window design names, captions and first
// places them; frmMainDesign.cpp gives them their look and final places when the window loads.
#include "mainwindow/frmMain.h"

#include "platform/browser/Browser.h"
#include "platform/net/Inet.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Printer.h"
#include "platform/ui/Timer.h"
#include "platform/ui/WindowBuilder.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

// A popup of the lists; each opens with the submenu "情報" and its item for the stock's
// chart page.
QMenu *addPopup(QWidget *owner, const QString &name, const QString &caption, const QString &infoName,
                const QString &chartPageName)
{
    QMenu *popup = ui::addMenu(owner, nullptr, name, caption);
    QMenu *info = ui::addMenu(owner, popup, infoName, QStringLiteral("情報"));
    ui::addMenuItem(info, chartPageName, QStringLiteral("Yahoo!Finance"));
    return popup;
}

} // namespace

void frmMain::buildControls()
{
    auto *client = ui::named(new QWidget(this), QStringLiteral("frmMainClient"));
    setCentralWidget(client);
    client->setMouseTracking(true);
    setMouseTracking(true);

    picFrame1 = ui::addPanel(client, QStringLiteral("picFrame1"), ui::twipsRect(0, 0, 13185, 1215));
    imgRun = ui::addLabel(picFrame1, QStringLiteral("imgRun"), {}, ui::twipsRect(120, 120, 975, 975));
    imgRun->installEventFilter(this);
    imgRun->setMouseTracking(true);
    imgLogo = ui::addLabel(picFrame1, QStringLiteral("imgLogo"), {}, ui::twipsRect(1200, 120, 2400, 975));
    ui::addLabel(picFrame1, QStringLiteral("lblTitle_5"), QStringLiteral("インフォメーション"),
                 ui::twipsRect(3720, 120, 2000, 255));
    lblInfo = ui::addLabel(picFrame1, QStringLiteral("lblInfo"), QStringLiteral("メッセージ欄"),
                           ui::twipsRect(3720, 420, 5400, 255));
    lblMsg = ui::addLabel(picFrame1, QStringLiteral("lblMsg"), QStringLiteral("メッセージ欄"),
                          ui::twipsRect(3720, 780, 5400, 255));
    imgSupport = ui::addLabel(picFrame1, QStringLiteral("imgSupport"), {}, ui::twipsRect(9300, 120, 375, 375));
    lblSupport = ui::addLabel(picFrame1, QStringLiteral("lblSupport"), QStringLiteral("サポートサイトへ"),
                              ui::twipsRect(9720, 180, 1600, 255));
    lblMaxDate = ui::addLabel(picFrame1, QStringLiteral("lblMaxDate"), QStringLiteral("最終データ:yyyy/mm/dd"),
                              ui::twipsRect(9300, 540, 2400, 255));
    lblDate = ui::addLabel(picFrame1, QStringLiteral("lblDate"), QStringLiteral("今日の日付"),
                           ui::twipsRect(9300, 840, 2400, 255));
    lblRunStatus =
        ui::addLabel(picFrame1, QStringLiteral("lblRunStatus"), kStopped, ui::twipsRect(11800, 420, 1200, 375));
    QFont statusFont = lblRunStatus->font();
    statusFont.setBold(true);
    statusFont.setPointSize(statusFont.pointSize() + 4);
    lblRunStatus->setFont(statusFont);
    Label1 = ui::addLabel(picFrame1, QStringLiteral("Label1"), {}, ui::twipsRect(11800, 840, 1200, 255));

    picFrame2 = ui::addPanel(client, QStringLiteral("picFrame2"), ui::twipsRect(0, 1215, 13185, 735));
    const QStringList titles{QStringLiteral("購入可能額"), QStringLiteral("持ち株合計"), QStringLiteral("合計"),
                             QStringLiteral("利益率"), QStringLiteral("経過日数")};
    const QStringList figures{QStringLiteral("lblKounyuKanouGaku"), QStringLiteral("lblMotikabu"),
                              QStringLiteral("lblGoukei"), QStringLiteral("lblRiekiritu"), QStringLiteral("lblNissu")};
    QList<QLabel *> figureLabels;
    for (int i = 0; i < int(titles.size()); ++i) {
        ui::addLabel(picFrame2, QStringLiteral("lblTitle_") + QString::number(i), titles[i],
                     ui::twipsRect(120 + i * 2600, 60, 2400, 255));
        figureLabels.append(ui::addLabel(picFrame2, figures[i], {}, ui::twipsRect(120 + i * 2600, 360, 2400, 300)));
    }
    lblKounyuKanouGaku = figureLabels[0];
    lblMotikabu = figureLabels[1];
    lblGoukei = figureLabels[2];
    lblRiekiritu = figureLabels[3];
    lblNissu = figureLabels[4];

    picFrame3 = ui::addPanel(client, QStringLiteral("picFrame3"), ui::twipsRect(0, 1950, 13185, 855));
    lblBrandName = ui::addLabel(picFrame3, QStringLiteral("lblBrandName"), QStringLiteral("銘柄名"),
                                ui::twipsRect(120, 60, 3000, 255));
    lblGenzaiti = ui::addLabel(picFrame3, QStringLiteral("lblGenzaiti"), QStringLiteral("現在値"),
                               ui::twipsRect(3240, 60, 2000, 255));
    lblZenzituHi = ui::addLabel(picFrame3, QStringLiteral("lblZenzituHi"), QStringLiteral("前日比"),
                                ui::twipsRect(5360, 60, 2000, 255));
    lblTakaYasu = ui::addLabel(picFrame3, QStringLiteral("lblTakaYasu"), QStringLiteral("高値安値"),
                               ui::twipsRect(7480, 60, 2800, 255));
    lblBuyTanka = ui::addLabel(picFrame3, QStringLiteral("lblBuyTanka"), {}, ui::twipsRect(120, 420, 3000, 255));
    lblSelTanka = ui::addLabel(picFrame3, QStringLiteral("lblSelTanka"), {}, ui::twipsRect(3240, 420, 3000, 255));
    linKounyu = ui::addPanel(picFrame3, QStringLiteral("linKounyu"), ui::twipsRect(6400, 540, 600, 15), QFrame::HLine);
    lblKounyu = ui::addLabel(picFrame3, QStringLiteral("lblKounyu"), QStringLiteral("購入時ポイント"),
                             ui::twipsRect(7080, 420, 1600, 255));
    linRieki = ui::addPanel(picFrame3, QStringLiteral("linRieki"), ui::twipsRect(8800, 540, 600, 15), QFrame::HLine);
    lblRieki = ui::addLabel(picFrame3, QStringLiteral("lblRieki"), QStringLiteral("利益確定ライン"),
                            ui::twipsRect(9480, 420, 1600, 255));

    picChartInfo = ui::addPanel(client, QStringLiteral("picChartInfo"), ui::twipsRect(0, 2805, 13185, 5160));
    Picture1 = ui::addPanel(picChartInfo, QStringLiteral("Picture1"), ui::twipsRect(6600, 480, 6465, 4620));
    Picture2 = ui::addPanel(picChartInfo, QStringLiteral("Picture2"), ui::twipsRect(120, 480, 6360, 4620));
    imgSetting = ui::addLabel(picChartInfo, QStringLiteral("imgSetting"), {}, ui::twipsRect(6600, 60, 375, 375));
    imgSyusi = ui::addLabel(picChartInfo, QStringLiteral("imgSyusi"), {}, ui::twipsRect(7080, 60, 375, 375));
    imgChart = ui::addLabel(picChartInfo, QStringLiteral("imgChart"), {}, ui::twipsRect(120, 60, 375, 375));

    const QRect view = ui::twipsRect(0, 0, 6465, 4620);
    const QRect grid = ui::twipsRect(60, 360, 6345, 4200);
    const QRect title = ui::twipsRect(60, 60, 6345, 255);
    fraSyusi2 = ui::addPanel(Picture1, QStringLiteral("fraSyusi2"), view, QFrame::Box);
    msfgZisseki2 = ui::placeControl(new ui::FlexGrid(fraSyusi2), QStringLiteral("msfgZisseki2"),
                                    ui::twipsRect(60, 360, 6345, 3900));
    lblSyusi2 =
        ui::addLabel(fraSyusi2, QStringLiteral("lblSyusi2"), QStringLiteral("売　買　実　績　(銘　柄　ご　と)"), title);
    const QString note = QStringLiteral("※.合計は決済済のみの合計です。");
    lblSyusi2Msg = ui::addLabel(fraSyusi2, QStringLiteral("lblSyusi2Msg"), note, ui::twipsRect(60, 4320, 6345, 255));
    fraSyusi = ui::addPanel(Picture1, QStringLiteral("fraSyusi"), view, QFrame::Box);
    msfgZisseki =
        ui::placeControl(new ui::FlexGrid(fraSyusi), QStringLiteral("msfgZisseki"), ui::twipsRect(60, 360, 6345, 3900));
    lblSyusi =
        ui::addLabel(fraSyusi, QStringLiteral("lblSyusi"), QStringLiteral("売　買　実　績　(日　付　順)"), title);
    lblSyusiMsg = ui::addLabel(fraSyusi, QStringLiteral("lblSyusiMsg"), note, ui::twipsRect(60, 4320, 6345, 255));
    fraChart = ui::addPanel(Picture1, QStringLiteral("fraChart"), view, QFrame::Box);
    fraZyunbi = ui::addPanel(fraChart, QStringLiteral("fraZyunbi"), view);
    msfgSelect =
        ui::placeControl(new ui::FlexGrid(fraZyunbi), QStringLiteral("msfgSelect"), ui::twipsRect(60, 360, 6345, 3780));
    Label9 = ui::addLabel(fraZyunbi, QStringLiteral("Label9"), QStringLiteral("準　備　銘　柄　リ　ス　ト"), title);
    cmdAddBrand = ui::addButton(fraZyunbi, QStringLiteral("cmdAddBrand"), QStringLiteral("銘柄追加"),
                                ui::twipsRect(5000, 4200, 1400, 360));
    fraNikkeiHeikin = ui::addPanel(fraChart, QStringLiteral("fraNikkeiHeikin"), view);
    cht2Gra2 = ui::placeControl(new ui::Chart2D(fraNikkeiHeikin), QStringLiteral("cht2Gra2"), grid);
    lblNikkei = ui::addLabel(fraNikkeiHeikin, QStringLiteral("lblNikkei"),
                             QStringLiteral("日　経　平　均　(　分　足　)"), title);
    fraOrder = ui::addPanel(Picture1, QStringLiteral("fraOrder"), view, QFrame::Box);
    msfgOrder = ui::placeControl(new ui::FlexGrid(fraOrder), QStringLiteral("msfgOrder"), grid);
    lblTyumon = ui::addLabel(fraOrder, QStringLiteral("lblTyumon"), QStringLiteral("注　文　中　リ　ス　ト"), title);

    cht2Gra = ui::placeControl(new ui::Chart2D(Picture2), QStringLiteral("cht2Gra"), ui::twipsRect(0, 0, 6360, 4620));
    fraChartInfo =
        ui::addPanel(Picture2, QStringLiteral("fraChartInfo"), ui::twipsRect(600, 1800, 5160, 900), QFrame::Box);
    lblChartInfo = ui::addLabel(fraChartInfo, QStringLiteral("lblChartInfo"),
                                QStringLiteral("ここにチャートを表示させるには右の表で銘柄名を押して選択してください"),
                                ui::twipsRect(60, 60, 5040, 780));
    lblChartInfo->setWordWrap(true);

    tmrOrder = ui::named(new ui::Timer(this), QStringLiteral("tmrOrder"));
    tmrWeb = ui::named(new ui::Timer(this), QStringLiteral("tmrWeb"));
    webOrder = ui::named(new browser::Browser(this), QStringLiteral("webOrder"));
    // The broker page is kept out of sight, as the design places it outside the window.
    webOrderView = ui::placeControl(new browser::BrowserView(*webOrder, client), QStringLiteral("webOrder"),
                                    ui::twipsRect(13500, 0, 3000, 3000));
    Inet1 = ui::named(new net::Inet(this), QStringLiteral("Inet1"));
    InetOrder = ui::named(new net::Inet(this), QStringLiteral("InetOrder"));
    InetMinuteData = ui::named(new net::Inet(this), QStringLiteral("InetMinuteData"));
    cmdF = std::make_unique<ui::PrintDialog>();
    imgPowerOn = ui::addLabel(client, QStringLiteral("imgPowerOn"), {}, ui::twipsRect(13500, 3200, 975, 975));
    imgPowerOff = ui::addLabel(client, QStringLiteral("imgPowerOff"), {}, ui::twipsRect(13500, 4300, 975, 975));

    for (QWidget *watched :
         {static_cast<QWidget *>(fraChart), static_cast<QWidget *>(fraSyusi), static_cast<QWidget *>(fraSyusi2)}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = ui::addMenu(this, nullptr, QStringLiteral("mnuDummy002"), QStringLiteral("ﾌｧｲﾙ"));
    bar->addMenu(file);
    connect(ui::addMenuItem(file, QStringLiteral("mnuEnd"), QStringLiteral("終了")), &QAction::triggered, this,
            &QWidget::close);

    mnuSettings = ui::addMenu(this, nullptr, QStringLiteral("mnuSettings"), QStringLiteral("設定"));
    bar->addMenu(mnuSettings);
    ui::addMenuItem(mnuSettings, QStringLiteral("mnuConfOrder"), QStringLiteral("注文設定"));
    ui::addMenuItem(mnuSettings, QStringLiteral("mnuEMail"), QStringLiteral("お知らせメール設定"));
    mnuSettings->addSeparator();
    QMenu *system = ui::addMenu(this, mnuSettings, QStringLiteral("mnuDummy231"), QStringLiteral("システム設定"));
    ui::addMenuItem(system, QStringLiteral("mnuConfLogin"), QStringLiteral("ﾛｸﾞｲﾝ設定"));
    ui::addMenuItem(system, QStringLiteral("mnuConfPOP"), QStringLiteral("約定メール受信設定"));

    QMenu *tools = ui::addMenu(this, nullptr, QStringLiteral("mnuDummy004"), QStringLiteral("ﾂｰﾙ"));
    bar->addMenu(tools);
    ui::addMenuItem(tools, QStringLiteral("mnuPageETRADE"), QStringLiteral("E*TRADE"));
    mnuSimulation = ui::addMenuItem(tools, QStringLiteral("mnuSimulation"), QStringLiteral("一括シミュレーション"));
    mnuPrintTradeHistory =
        ui::addMenuItem(tools, QStringLiteral("mnuPrintTradeHistory"), QStringLiteral("売買実績印刷"));

    mnuHosyu = ui::addMenu(this, nullptr, QStringLiteral("mnuHosyu"), QStringLiteral("保守"));
    bar->addMenu(mnuHosyu);
    ui::addMenuItem(mnuHosyu, QStringLiteral("mnuGetStocks"), QStringLiteral("株価再取得"));
    ui::addMenuItem(mnuHosyu, QStringLiteral("mnuReCalc"), QStringLiteral("株価情報再計算"));
    ui::addMenuItem(mnuHosyu, QStringLiteral("mnuGetMst01"), QStringLiteral("銘柄マスタ取得"));
    mnuHosyu->addSeparator();
    ui::addMenuItem(mnuHosyu, QStringLiteral("mnuDelTran"), QStringLiteral("履歴削除"));
    QMenu *maintenance = ui::addMenu(this, mnuHosyu, QStringLiteral("mnuSystem"), QStringLiteral("ｼｽﾃﾑ"));
    ui::addMenuItem(maintenance, QStringLiteral("mnuYakuzyouSet"), QStringLiteral("約定通知個別登録"));
    mnuHosyu->addSeparator();
    ui::addMenuItem(mnuHosyu, QStringLiteral("mnuSendLogFile"), QStringLiteral("ログファイル送信"));

    QMenu *help = ui::addMenu(this, nullptr, QStringLiteral("mnuHelp"), QStringLiteral("ﾍﾙﾌﾟ"));
    bar->addMenu(help);
    ui::addMenuItem(help, QStringLiteral("mnuManual2"), QStringLiteral("オンライン説明書"));
    ui::addMenuItem(help, QStringLiteral("mnuManual"), QStringLiteral("サポートサイト"));

    // The four popups of the lists: menus of the window that the menu bar does not show.
    mnuSelect = addPopup(this, QStringLiteral("mnuSelect"), QStringLiteral("選択"), QStringLiteral("mnuInfo"),
                         QStringLiteral("mnuInfoYahoo"));
    mnuSelect->addSeparator();
    QMenu *mente2 = ui::addMenu(this, mnuSelect, QStringLiteral("mnuMente2"), QStringLiteral("ﾒﾝﾃﾅﾝｽ"));
    ui::addMenuItem(mente2, QStringLiteral("mnuDeleteRireki2"), QStringLiteral("個別履歴削除"));

    mnuSelect2 = addPopup(this, QStringLiteral("mnuSelect2"), QStringLiteral("選択2"), QStringLiteral("mnuDummy5"),
                          QStringLiteral("mnuInfoYahoo2"));
    mnuSelect2->addSeparator();
    ui::addMenuItem(mnuSelect2, QStringLiteral("mnuDelete"), QStringLiteral("削除"));

    mnuSelect3 = addPopup(this, QStringLiteral("mnuSelect3"), QStringLiteral("選択3"), QStringLiteral("mnuInfo3"),
                          QStringLiteral("mnuInfoYahoo3"));
    mnuSelect3->addSeparator();
    ui::addMenuItem(mnuSelect3, QStringLiteral("mnuKyouseiOrder"), QStringLiteral("決済"));
    mnuSelect3->addSeparator();
    ui::addMenuItem(mnuSelect3, QStringLiteral("mnuCancel"), QStringLiteral("ｷｬﾝｾﾙ"));
    mnuSelect3->addSeparator();
    QMenu *mente = ui::addMenu(this, mnuSelect3, QStringLiteral("mnuMente"), QStringLiteral("ﾒﾝﾃﾅﾝｽ"));
    ui::addMenuItem(mente, QStringLiteral("mnuDeleteRireki"), QStringLiteral("個別履歴削除"));

    mnuSelect4 = addPopup(this, QStringLiteral("mnuSelect4"), QStringLiteral("選択4"), QStringLiteral("mnuInfo4"),
                          QStringLiteral("mnuInfoYahoo4"));
}
