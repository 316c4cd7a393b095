// The main window's lists: presses, popups, the views and the small handlers.
#include "mainwindow/frmMain.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "mainwindow/Header.h"
#include "mainwindow/ListMouse.h"
#include "mainwindow/MenuCommands.h"
#include "mainwindow/PriceChart.h"
#include "mainwindow/ProfitChart.h"
#include "mainwindow/ResultLists.h"
#include "mainwindow/Views.h"
#include "marketdata/modinfoseek.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ModalDialog.h"
#include "trading/frmOrderMini.h"
#include "trading/frmSetYakuzyouData.h"
#include "trading/modOrderDue.h"
#include "trading/modOrderGrid.h"
#include "trading/modYakuzyouMail.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

namespace {

constexpr int kOrderStateTextColumn = 7;

QAction *namedAction(const QWidget &owner, const char *name)
{
    return owner.findChild<QAction *>(QString::fromLatin1(name));
}

// Runs `handler` on a left or right press of a picture or caption.
template <typename Handler>
void onPress(QWidget *widget, QObject *context, Handler handler)
{
    struct PressFilter : QObject {
        PressFilter(QObject *parent, Handler h) : QObject(parent), run(std::move(h)) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::MouseButtonPress) {
                run();
                return true;
            }
            return false;
        }
        Handler run;
    };
    widget->installEventFilter(new PressFilter(context, std::move(handler)));
}

} // namespace

void frmMain::setHeader()
{
    ::setHeader({lblKounyuKanouGaku, lblMotikabu, lblGoukei, lblRiekiritu, lblNissu});
}

void frmMain::showChartInfo(int mode, const QString &code, const QString &market, qint64 reservationNo)
{
    ::showChartInfo({lblBrandName, lblGenzaiti, lblZenzituHi, lblTakaYasu, lblBuyTanka, lblSelTanka, lblKounyu,
                     lblRieki, linKounyu, linRieki},
                    *Inet1, mode, code, market, reservationNo);
}

void frmMain::enterExecutionByHand()
{
    frmSetYakuzyouData dialog(*msfgOrder, this);
    if (ui::showModal(dialog) == QDialog::Accepted)
        endPriceRetests();
}

void frmMain::changeView(int view)
{
    ::changeView({fraChart, fraSyusi, fraSyusi2, fraOrder, msfgOrder}, view);
}

void frmMain::refreshChartInfo()
{
    if (text::trimSpaces(m_stock.mstrBrandCode).isEmpty() || text::trimSpaces(m_stock.mstrSizyouCode).isEmpty() ||
        picFrame3->isHidden())
        return;
    showSelectedChartInfo();
}

void frmMain::showSelectedChartInfo()
{
    showChartInfo(1, m_stock.mstrBrandCode, m_stock.mstrSizyouCode, m_stock.mlngYoyakuNo);
}

void frmMain::selectStock(const ListRow &pressed)
{
    m_stock = pressed.stock;
    drawSelectedStockChart(m_stock, *cht2Gra);
    showSelectedChartInfo();
    fraChartInfo->hide();
}

void frmMain::popUp(QMenu &menu)
{
    menu.exec(QCursor::pos());
}

void frmMain::msfgOrder_MouseDown(int button)
{
    // Everything the press acts on is read now: selecting the stock below waits for its quote,
    // and an order tick may rebuild the list meanwhile.
    const QDateTime now = sys::now();
    const int column = msfgOrder->Col();
    const ListRow pressed = readListRow(*msfgOrder, kOrderListColumns);
    const int state = int(text::leadingNumber(pressed.stateCell));
    if (button == ui::flexRightButton && !text::trimSpaces(pressed.stateCell).isEmpty()) {
        setOrderPopupItems(*namedAction(*this, "mnuKyouseiOrder"), *namedAction(*this, "mnuCancel"),
                           *namedAction(*this, "mnuMente"), state, mnuSettings->menuAction()->isEnabled());
        m_pressed = pressed;
        popUp(*mnuSelect3);
    } else if (button == ui::flexLeftButton) {
        selectStock(pressed);
        switch (orderCellAction(column, state, pressed.actionCell, now, glngStartMinute)) {
        case OrderCellAction::Settle:
            if (requestSettle(this, lblRunStatus->text(), pressed.stock))
                setOrderGrid(*msfgOrder);
            break;
        case OrderCellAction::DeleteHistory:
            deleteWaitingHistory(pressed, *msfgOrder, *msfgZisseki);
            break;
        case OrderCellAction::SelectOnly:
            break;
        }
    }
    msfgOrder->setColSel(kOrderStateTextColumn);
}

void frmMain::listMouseDown(ui::FlexGrid &grid, const ListColumns &columns, QMenu &popup, int button, int lastColumn)
{
    const ListRow pressed = readListRow(grid, columns);
    if (button == ui::flexRightButton && popupAllowed(pressed, popup)) {
        m_pressed = pressed;
        popUp(popup);
    } else if (button == ui::flexLeftButton) {
        selectStock(pressed);
    }
    grid.setColSel(lastColumn);
}

void frmMain::imgSyusi_MouseDown()
{
    ui::doEvents();
    const int view = nextView(currentView({fraChart, fraSyusi, fraSyusi2, fraOrder, msfgOrder}));
    changeView(view);
    if (view != 2 && view != 3)
        return;
    if (view == 2)
        setYakuzyouList(*msfgZisseki);
    else
        setYakuzyouList2(*msfgZisseki2);
    writeLog(glngLogFileNo,
             QStringLiteral("収支チャート描画: ") + sysBS.StartDate.toString(QStringLiteral("yyyy/MM/dd")));
    drawSyusiChart(1, sysBS.StartDate.date(), sys::now().date(), *cht2Gra);
    showChartInfo(0, QString(), QString(), 0);
    fraChartInfo->hide();
}

void frmMain::connectLists()
{
    connect(msfgOrder, &ui::FlexGrid::MouseDown, this,
            [this](int button, int, int, int) { msfgOrder_MouseDown(button); });
    connect(msfgSelect, &ui::FlexGrid::MouseDown, this, [this](int button, int, int, int) {
        listMouseDown(*msfgSelect, kCandidateListColumns, *mnuSelect2, button, 4);
    });
    connect(msfgZisseki, &ui::FlexGrid::MouseDown, this, [this](int button, int, int, int) {
        listMouseDown(*msfgZisseki, kResultListColumns, *mnuSelect, button, 6);
    });
    connect(msfgZisseki2, &ui::FlexGrid::MouseDown, this, [this](int button, int, int, int) {
        listMouseDown(*msfgZisseki2, kResultListColumns, *mnuSelect4, button, 6);
    });

    onPress(imgSyusi, this, [this] { imgSyusi_MouseDown(); });
    onPress(imgChart, this, [this] {
        imgChart_MouseDown(m_stock, *cht2Gra);
        showSelectedChartInfo();
        fraChartInfo->hide();
    });
    // A run locks the settings menu; its picture button is locked with it, and drawn so.
    connect(mnuSettings->menuAction(), &QAction::enabledChanged, imgSetting, &QWidget::setEnabled);
    onPress(imgSetting, this, [this] {
        ui::doEvents();
        if (mnuSettings->menuAction()->isEnabled())
            popUp(*mnuSettings);
        ui::doEvents();
    });
    onPress(imgSupport, this, [] { openSupportPage(); });
    onPress(lblSupport, this, [] { openSupportPage(); });
    onPress(lblInfo, this, [this] { lblInfo_Click(*m_run); });
    connect(cmdAddBrand, &QPushButton::clicked, this, [this] {
        frmOrderMini dialog(*msfgSelect, this);
        ui::showModal(dialog);
    });
    // Manual execution entry, window-wide whatever has the focus; Ctrl+Shift+Alt+M is another key.
    auto *entryKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_M), this);
    connect(entryKey, &QShortcut::activated, this, [this] {
        if (lblRunStatus->text() != kStopped)
            return;
        enterExecutionByHand();
    });
    connect(Inet1, &net::Inet::StateChanged, this, [this](int state) { iskAction(*Inet1, state); });
}
