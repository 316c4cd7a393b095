#include "trading/frmSetYakuzyouData.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "core/modSystem.h"
#include "core/modUtil.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/WindowBuilder.h"
#include "trading/NoticeBooking.h"
#include "trading/YakuzyouNotice.h"
#include "trading/modOrderGrid.h"
#include "trading/modReservation.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>

namespace {

constexpr int kMenuHeight = 300;
// The side row above the others.
constexpr int kSideRow = 420;

void refuse(const QString &label)
{
    ui::msgBox(label + QStringLiteral("を正しく入力してください。"), ui::vbOKOnly + ui::vbExclamation);
}

bool reservationExists(qint64 number)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select 1 from ttresevation where 予約番号 = ?"));
    st.bind(1, number);
    return st.step();
}

bool ofMarket(qint64 number, const QString &market)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 1 from ttresevation where 予約番号 = ? and 市場コード = ?"));
    st.bindAll(number, market);
    return st.step();
}

// The time an execution entered for `day` carries: the moment of entry for today, so that
// it counts among today's executions (the realised profit since the balance was read), the
// start of the day otherwise.
QDateTime executionTime(const QDate &day)
{
    const QDateTime now = sys::now();
    return day == now.date() ? QDateTime(day, QTime(now.time().hour(), now.time().minute(), now.time().second()))
                             : QDateTime(day, QTime(0, 0));
}

} // namespace

frmSetYakuzyouData::frmSetYakuzyouData(ui::FlexGrid &msfgOrder, QWidget *parent)
    : QDialog(parent), m_msfgOrder(msfgOrder)
{
    ui::setupFixedDialog(this, QStringLiteral("frmSetYakuzyouData"), QStringLiteral("約定データ設定"), 4800,
                         3600 + kSideRow + kMenuHeight);
    if (const QWidget *mainWindow = ui::topLevelWindow(QStringLiteral("frmMain")))
        setWindowIcon(mainWindow->windowIcon());

    auto *menuBar = new QMenuBar(this);
    menuBar->setGeometry(ui::twipsRect(0, 0, 4800, kMenuHeight));
    QMenu *mnuFile = menuBar->addMenu(QStringLiteral("ファイル"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction *mnuClose = mnuFile->addAction(QStringLiteral("閉じる"));
    mnuClose->setObjectName(QStringLiteral("mnuClose"));
    connect(mnuClose, &QAction::triggered, this, &QDialog::reject);

    ui::addLabel(this, QStringLiteral("市場"), 240, kMenuHeight + 180);
    m_cmbSizyouCode =
        ui::addComboBox(this, QStringLiteral("cmbSizyouCode"), ui::twipsRect(1560, kMenuHeight + 120, 1500, 300));
    ui::addLabel(this, QStringLiteral("売買"), 240, kMenuHeight + 600);
    m_cmbBaibai = ui::addComboBox(this, QStringLiteral("cmbBaibai"), ui::twipsRect(1560, kMenuHeight + 540, 1500, 300));
    m_cmbBaibai->addItems({QStringLiteral("買"), QStringLiteral("売")});
    constexpr int top = kMenuHeight + kSideRow;
    m_txtBrandCode = addRow(QStringLiteral("銘柄コード"), QStringLiteral("txtBrandCode"), 4, top + 540);
    m_txtKabuSu = addRow(QStringLiteral("約定株数"), QStringLiteral("txtKabuSu"), 9, top + 960);
    m_txtKingaku = addRow(QStringLiteral("約定金額"), QStringLiteral("txtKingaku"), 9, top + 1380);
    m_txtYoyakuNo = addRow(QStringLiteral("予約番号"), QStringLiteral("txtYoyakuNo"), 9, top + 1800);
    m_txtTyumonNo = addRow(QStringLiteral("注文番号"), QStringLiteral("txtTyumonNo"), 12, top + 2220);
    ui::addLabel(this, QStringLiteral("約定日"), 240, top + 2700);
    auto *picDateST = new QWidget(this);
    picDateST->setObjectName(QStringLiteral("picDateST"));
    picDateST->setGeometry(ui::twipsRect(1560, top + 2640, 3000, 300));
    QPushButton *cmdSet = ui::addButton(this, QStringLiteral("cmdSet"), QStringLiteral("決定"),
                                        ui::twipsRect(2040, top + 3120, 1215, 375));
    QPushButton *cmdClose = ui::addButton(this, QStringLiteral("cmdClose"), QStringLiteral("閉じる"),
                                          ui::twipsRect(3360, top + 3120, 1215, 375));

    createDatePicker(m_dtpDateST, picDateST);
    m_dtpDateST.editor()->setObjectName(QStringLiteral("dtpDateST"));
    m_dtpDateST.setValue(QDateTime(sys::now().date(), QTime(0, 0)));
    setSizyouCombo(m_cmbSizyouCode);
    connect(cmdSet, &QPushButton::clicked, this, &frmSetYakuzyouData::cmdSet_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit *frmSetYakuzyouData::addRow(const QString &caption, const QString &name, int maxLength, int top)
{
    ui::addLabel(this, caption, 240, top + 60);
    QLineEdit *box = ui::addTextBox(this, name, maxLength, ui::twipsRect(1560, top, 1500, 300));
    selectAllTextOnFocus(box);
    return box;
}

std::optional<qint64> frmSetYakuzyouData::wholeNumber(const QLineEdit *box, const QString &label, qint64 least) const
{
    const QString text = text::trimSpaces(text::toNarrow(box->text()));
    if (text.isEmpty() && least <= 0)
        return 0;
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,15}$"));
    const qint64 value = digits.match(text).hasMatch() ? text.toLongLong() : -1;
    if (value < least) {
        refuse(label);
        return std::nullopt;
    }
    return value;
}

void frmSetYakuzyouData::cmdSet_Click()
{
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    const QString code = text::trimSpaces(text::toNarrow(m_txtBrandCode->text()));
    if (!fourDigits.match(code).hasMatch())
        return refuse(QStringLiteral("銘柄コード"));
    const QString market = getSizyouCode(m_cmbSizyouCode->currentText());
    if (market.isEmpty())
        return refuse(QStringLiteral("市場"));
    const std::optional<qint64> shares = wholeNumber(m_txtKabuSu, QStringLiteral("約定株数"), 1);
    if (!shares)
        return;
    const std::optional<double> price = positivePrice();
    if (!price)
        return;
    std::optional<qint64> number = wholeNumber(m_txtYoyakuNo, QStringLiteral("予約番号"), 0);
    if (!number)
        return;
    const std::optional<qint64> orderNo = wholeNumber(m_txtTyumonNo, QStringLiteral("注文番号"), 0);
    if (!orderNo)
        return;

    if (m_cmbBaibai->currentIndex() == 1) {
        if (bookSale(*number, code, market, *shares, *price, *orderNo)) {
            setOrderGrid(m_msfgOrder);
            accept();
        }
        return;
    }
    if (*number == 0) {
        number = getMaxYoyakuNo() + 1;
        m_txtYoyakuNo->setText(QString::number(*number));
    } else if (reservationExists(*number)) {
        const QString question = QStringLiteral("予約番号") + QString::number(*number) +
                                 QStringLiteral("の予約と約定履歴を置き換えます。よろしいですか?");
        if (ui::msgBox(question, ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2) != ui::vbYes)
            return;
    }

    // A copy of the live order record: the template of this one row only.
    const OD order = reservationOrder(sysOD, code, market, int(*shares));
    qint64 written = *number;
    insertManualExecution(executionTime(m_dtpDateST.Value().date()), written, order, *orderNo, *price, *shares);
    setOrderGrid(m_msfgOrder);
    accept();
}

std::optional<double> frmSetYakuzyouData::positivePrice() const
{
    const QString text = text::trimSpaces(text::toNarrow(m_txtKingaku->text())).remove(u',');
    static const QRegularExpression price(QStringLiteral(R"(^[0-9]{1,12}(\.[0-9]{1,4})?$)"));
    const double value = price.match(text).hasMatch() ? text.toDouble() : 0;
    if (value <= 0) {
        refuse(QStringLiteral("約定金額"));
        return std::nullopt;
    }
    return value;
}

bool frmSetYakuzyouData::bookSale(qint64 number, const QString &code, const QString &market, qint64 shares,
                                  double price, qint64 orderNo)
{
    if (!ofMarket(number, market)) {
        refuse(QStringLiteral("予約番号"));
        return false;
    }
    YakuzyouNotice sale;
    sale.executedAt = executionTime(m_dtpDateST.Value().date());
    sale.orderNo = orderNo;
    sale.buy = false;
    sale.torihikiKubun = 1;
    sale.code = code;
    sale.shares = shares;
    sale.price = price;
    QStringList log;
    db::Transaction transaction(gcnDB);
    const SaleByHand booked = bookSaleByHand(sale, number, sys::now(), log);
    transaction.commit();
    for (const QString &line : std::as_const(log))
        writeLog(glngLogFileNo, line);
    switch (booked) {
    case SaleByHand::Booked:
        return true;
    case SaleByHand::NothingHeld:
        refuse(QStringLiteral("予約番号"));
        return false;
    case SaleByHand::MoreThanHeld:
        refuse(QStringLiteral("約定株数"));
        return false;
    case SaleByHand::OrderNumberNeeded:
        refuse(QStringLiteral("注文番号"));
        return false;
    case SaleByHand::BuyOut:
        ui::msgBox(QStringLiteral("予約番号") + QString::number(number) +
                       QStringLiteral("は買い注文の結果が出ていないため売約定を登録できません。") +
                       QStringLiteral("買い注文の約定を先に登録してください。"),
                   ui::vbOKOnly + ui::vbExclamation);
        return false;
    }
    return false;
}
