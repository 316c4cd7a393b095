#include "screening/frmSimu.h"

#include "core/BusyGuard.h"
#include "core/BusyWindow.h"
#include "core/FileMenu.h"
#include "core/frmBrandSelect.h"
#include "core/frmConfBase.h"
#include "core/frmOrder.h"
#include "core/modGlobal.h"
#include "core/modUtil.h"
#include "marketdata/frmCalc.h"
#include "platform/text/Format.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/WindowBuilder.h"
#include "screening/SimulationRun.h"
#include "screening/modPrint.h"
#include "trading/modReservation.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 11400;
constexpr int kClientHeight = 7320;

QListWidget *addResultList(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setFont(QFont(QStringLiteral("ＭＳ ゴシック")));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    return list;
}

} // namespace

frmSimu::frmSimu(ui::PrintDialog &printDialog, QWidget *parent) : QDialog(parent), m_printDialog(printDialog)
{
    ui::setupFixedDialog(this, QStringLiteral("frmSimu"), QStringLiteral("一括シミュレーション"), kClientWidth,
                         kClientHeight);
    const ui::FileMenu fileMenu = ui::addFileMenu(this);
    connect(fileMenu.mnuClose, &QAction::triggered, this, &QDialog::close);

    auto *menuBar = findChild<QMenuBar *>(QStringLiteral("menuBar"));
    QMenu *mnuSettings = menuBar->addMenu(QStringLiteral("設定"));
    mnuSettings->setObjectName(QStringLiteral("mnuSettings"));
    const auto addItem = [&](const char *name, const QString &caption, auto open) {
        QAction *item = ui::addMenuItem(mnuSettings, QLatin1String(name), caption);
        connect(item, &QAction::triggered, this, open);
        m_settingsItems << item;
    };
    addItem("mnuConfSelect", QStringLiteral("検索設定"), [this] {
        frmBrandSelect dialog(this);
        openSettings(dialog, true);
    });
    addItem("mnuConfOrder", QStringLiteral("注文設定"), [this] {
        frmOrder dialog(this);
        openSettings(dialog, true);
    });
    addItem("mnuCalc", QStringLiteral("計算設定"), [this] {
        frmCalc dialog(this);
        openSettings(dialog, false);
    });
    addItem("mnuConfBase", QStringLiteral("基本設定"), [this] {
        frmConfBase dialog(this);
        openSettings(dialog, true);
    });

    QWidget *client = fileMenu.client;
    ui::addLabel(client, QStringLiteral("対象日付"), 120, 165, QStringLiteral("Label1"));
    auto *picDateST = new QWidget(client);
    picDateST->setObjectName(QStringLiteral("picDateST"));
    picDateST->setGeometry(ui::twipsRect(1080, 120, 2400, 330));
    ui::addLabel(client, QStringLiteral("-"), 3570, 165, QStringLiteral("Label3"));
    auto *picDateED = new QWidget(client);
    picDateED->setObjectName(QStringLiteral("picDateED"));
    picDateED->setGeometry(ui::twipsRect(3780, 120, 2400, 330));
    lblMaxDate = ui::addLabel(client, QString(), 6360, 165, QStringLiteral("lblMaxDate"));
    lblMaxDate->setGeometry(ui::twipsRect(6360, 165, 2200, 270));

    cmdRun = ui::addButton(client, QStringLiteral("cmdRun"), QStringLiteral("実行"), ui::twipsRect(8640, 90, 825, 405));
    cmdCancel = ui::addButton(client, QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"),
                              ui::twipsRect(8640, 90, 825, 405));
    cmdCancel->hide();
    cmdPrint =
        ui::addButton(client, QStringLiteral("cmdPrint"), QStringLiteral("印刷"), ui::twipsRect(9540, 90, 825, 405));
    cmdClose =
        ui::addButton(client, QStringLiteral("cmdClose"), QStringLiteral("閉じる"), ui::twipsRect(10440, 90, 825, 405));
    lblMsg = ui::addLabel(client, QString(), 120, 600, QStringLiteral("lblMsg"));
    lblMsg->setGeometry(ui::twipsRect(120, 600, 11160, 270));
    lstResultData = addResultList(client, QStringLiteral("lstResultData"), ui::twipsRect(120, 930, 11160, 4365));
    lstSelectData = addResultList(client, QStringLiteral("lstSelectData"), ui::twipsRect(120, 5400, 11160, 1800));

    connect(cmdRun, &QPushButton::clicked, this, &frmSimu::cmdRun_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSimu::cmdCancel_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmSimu::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    dtpDateST.setPictureBox(picDateST);
    dtpDateED.setPictureBox(picDateED);
    Form_Load();
}

frmSimu::~frmSimu() = default;

void frmSimu::Form_Load()
{
    lstResultData->clear();
    createDatePicker(dtpDateST, dtpDateST.PictureBox());
    dtpDateST.setValue(QDateTime(gdtLastKabukaDate.addMonths(-3), QTime(0, 0)));
    createDatePicker(dtpDateED, dtpDateED.PictureBox());
    dtpDateED.setValue(QDateTime(gdtLastKabukaDate, QTime(0, 0)));
    lblMaxDate->setText(maxDateCaption());
    cmdPrint->setEnabled(false);
}

void frmSimu::openSettings(QDialog &dialog, bool simulationSet)
{
    if (simulationSet)
        glngSetteiMode = 2;
    dialog.exec();
}

void frmSimu::setRunning(bool running)
{
    m_running = running;
    cmdRun->setVisible(!running);
    cmdCancel->setVisible(running);
    cmdCancel->setEnabled(running);
    cmdPrint->setEnabled(!running);
    for (QAction *item : std::as_const(m_settingsItems))
        item->setEnabled(!running);
}

bool frmSimu::refuseStart(const QDate &start, const QDate &end, const SimulationSettings &settings)
{
    const auto refuse = [](const QString &message) {
        ui::msgBox(message, ui::vbExclamation);
        return true;
    };
    const QDate earliest = settings.firstDay.addDays(settings.smal);
    if (earliest >= start)
        return refuse(QStringLiteral("開始日は") + text::formatYmdSlash(earliest.addDays(1)) +
                      QStringLiteral("から後を指定してください。"));
    if (text::formatYmdSlash(settings.lastDay) < text::formatYmdSlash(end))
        return refuse(QStringLiteral("終了日は") + text::formatYmdSlash(settings.lastDay) +
                      QStringLiteral("から前を指定してください。"));
    if (start > end)
        return refuse(QStringLiteral("終了日は開始日より大きい値を指定してください。"));
    if (settings.base.KounyuTensu < 1)
        return refuse(QStringLiteral("購入点数は1以上を指定してください。"));
    if (settings.base.TousiGanpon <= 0)
        return refuse(QStringLiteral("投資元本は1円以上を指定してください。"));
    return false;
}

void frmSimu::cmdRun_Click()
{
    if (m_running)
        return;
    const BusyGuard busy(QStringLiteral("一括シミュレーション"));
    if (!busy.started())
        return;
    cmdPrint->setEnabled(false);
    const QDate start = dtpDateST.Value().date();
    const QDate end = dtpDateED.Value().date();
    const SimulationSettings settings = currentSimulationSettings();
    if (refuseStart(start, end, settings))
        return;

    m_cancel = std::make_unique<jobs::CancelToken>();
    m_runBase = settings.base;
    lstResultData->clear();
    setRunning(true);
    const auto showEnd = [this] { lstResultData->setCurrentRow(lstResultData->count() - 1); };
    SimulationRun run(settings, *m_cancel,
                      {[this](const QString &line) { lstResultData->addItem(line); },
                       [this](const QString &message) { lblMsg->setText(message); }, showEnd});
    const bool ranWhole = run.run(start, end);
    showEnd();
    // Only a run that went to its end date says it ran; a cancelled one says it stopped.
    if (!ranWhole)
        lblMsg->setText(QStringLiteral("シミュレーションを中止しました。"));
    else if (settings.marketsDefaulted)
        lblMsg->setText(QStringLiteral("シミュレーション対象の市場が設定されていないため、東証1部で実行しました。"));
    setRunning(false);
}

void frmSimu::cmdCancel_Click()
{
    if (m_cancel)
        m_cancel->cancel();
    cmdCancel->setEnabled(false);
}

void frmSimu::cmdPrint_Click()
{
    printSimuResult(m_printDialog, *lstResultData, m_runBase);
}

void frmSimu::reject()
{
    if (ui::refuseClosingWhileBusy(m_running))
        return;
    QDialog::reject();
}

void frmSimu::closeEvent(QCloseEvent *event)
{
    if (ui::refuseClosingWhileBusy(m_running)) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmSimu::setList(QListWidget &list)
{
    list.clear();
    const QString tab(QLatin1Char('\t'));
    list.addItem(padByte(2, QStringLiteral("予約番号"), 8) + tab + QStringLiteral("コード") + tab +
                 padByte(1, QStringLiteral("会社名"), 40) + tab + padByte(2, QStringLiteral("株数"), 15) + tab +
                 padByte(1, QStringLiteral("状態"), 12));
    m_listSql = QStringLiteral("select a.予約番号, a.銘柄コード, b.会社名, a.株数, a.処理区分"
                               " from ttresevation a,tmbond b"
                               " where 処理区分 < 9"
                               " and a.銘柄コード = b.銘柄コード"
                               " and a.市場コード = b.市場コード"
                               " order by a.更新日付 desc,a.処理区分");
    db::Statement rows = gcnDB.prepare(m_listSql);
    while (rows.step())
        list.addItem(padByte(2, QString::number(rows.int64(0)), 8) + tab + rows.text(1) + tab +
                     padByte(1, rows.text(2), 40) + tab + padByte(2, text::formatThousands(double(rows.int64(3))), 15) +
                     tab + padByte(1, getSyoriKubunName(int(rows.int64(4))), 12));
}
