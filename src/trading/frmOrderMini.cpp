#include "trading/frmOrderMini.h"

#include "core/modGlobal.h"
#include "core/modLookup.h"
#include "core/modSystem.h"
#include "platform/text/VbText.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/WindowBuilder.h"
#include "trading/modBrandGrid.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kRefusal = QStringLiteral("その銘柄は指定できません。");

} // namespace

frmOrderMini::frmOrderMini(ui::FlexGrid &msfgSelect, QWidget *parent) : QDialog(parent), m_msfgSelect(msfgSelect)
{
    ui::setupFixedDialog(this, QStringLiteral("frmOrderMini"), QStringLiteral("個別銘柄指定"), 4560, 2460);
    ui::addLabel(this, QStringLiteral("市場"), 240, 180);
    m_cmbSizyouCode = ui::addComboBox(this, QStringLiteral("cmbSizyouCode"), ui::twipsRect(1320, 120, 1500, 300));
    ui::addLabel(this, QStringLiteral("銘柄コード"), 240, 600);
    m_txtBrandCode = ui::addTextBox(this, QStringLiteral("txtBrandCode"), 4, ui::twipsRect(1320, 540, 1000, 300));
    m_lblBrandName = new QLabel(this);
    m_lblBrandName->setObjectName(QStringLiteral("lblBrandName"));
    m_lblBrandName->setGeometry(ui::twipsRect(1320, 900, 3120, 300));
    ui::addLabel(this, QStringLiteral("株数"), 240, 1380);
    m_txtKabuSu = ui::addTextBox(this, QStringLiteral("txtKabuSu"), 9, ui::twipsRect(1320, 1320, 1000, 300));
    QPushButton *cmdSet =
        ui::addButton(this, QStringLiteral("cmdSet"), QStringLiteral("決定"), ui::twipsRect(1920, 1860, 1215, 375));
    QPushButton *cmdCancel = ui::addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"),
                                           ui::twipsRect(3240, 1860, 1215, 375));
    setSizyouCombo(m_cmbSizyouCode);
    selectAllTextOnFocus(m_txtBrandCode);
    selectAllTextOnFocus(m_txtKabuSu);
    m_txtBrandCode->installEventFilter(this);
    m_cmbSizyouCode->installEventFilter(this);
    connect(cmdSet, &QPushButton::clicked, this, &frmOrderMini::cmdSet_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmOrderMini::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && (watched == m_txtBrandCode || watched == m_cmbSizyouCode))
        validateBrand();
    return QDialog::eventFilter(watched, event);
}

QString frmOrderMini::brandCode() const
{
    return text::trimSpaces(m_txtBrandCode->text());
}

void frmOrderMini::validateBrand()
{
    // The refusal's message box takes the focus away again; one check at a time.
    if (m_validating)
        return;
    const QString code = brandCode();
    const QString market = getSizyouCode(m_cmbSizyouCode->currentText());
    if (code.isEmpty() || market.isEmpty())
        return;
    m_validating = true;
    KabukaInfo2 info;
    getKabukaInfo2(code, market, gdtLastKabukaDate, info);
    if (info.marketName.isEmpty()) {
        ui::msgBox(kRefusal, ui::vbOKOnly);
        m_lblBrandName->clear();
    } else {
        m_lblBrandName->setText(info.companyName + u'(' + info.marketName + u')');
        m_txtKabuSu->setText(QString::number(info.unitShares));
    }
    m_validating = false;
}

void frmOrderMini::cmdSet_Click()
{
    const QString code = brandCode();
    const QString market = getSizyouCode(m_cmbSizyouCode->currentText());
    if (code.isEmpty() || market.isEmpty()) {
        ui::msgBox(kRefusal, ui::vbOKOnly);
        return;
    }
    addBrandGridRow(m_msfgSelect, code, market);
    accept();
}
