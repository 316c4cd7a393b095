#include "core/frmConfBase.h"

#include "core/HeaderRefresh.h"
#include "core/SettingsRecords.h"
#include "core/modLookup.h"
#include "core/modRegistrySet.h"
#include "core/modSettingsCopy.h"
#include "core/modSystem.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/WindowBuilder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr double kMaxPrincipal = 5000000;

} // namespace

frmConfBase::frmConfBase(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmConfBase"), QStringLiteral("基本設定"), 4890, 1605);

    ui::addLabel(this, QStringLiteral("投資可能最大金額"), 120, 240, QStringLiteral("Label2"));
    txtTousiGanpon = ui::addTextBox(this, QStringLiteral("txtTousiGanpon"), 9, ui::twipsRect(2220, 180, 1575, 270));
    txtTousiGanpon->setAccessibleName(QStringLiteral("投資可能最大金額"));

    // Not shown: they carry the record's other fields from loading to "決定".
    QWidget *hidden = new QWidget(this);
    hidden->hide();
    chkSelZituKounyu = ui::addCheckBox(hidden, QStringLiteral("chkSelZituKounyu"), QStringLiteral("実購入せずに動作"),
                                       ui::twipsRect(120, 0, 2400, 300));
    auto *runType = new QButtonGroup(hidden);
    ui::addOption(runType, hidden, QStringLiteral("optRunType"), 1, QStringLiteral("こつこつコース"),
                  ui::twipsRect(120, 360, 1800, 300));
    ui::addOption(runType, hidden, QStringLiteral("optRunType"), 2, QStringLiteral("ギャンブルコース"),
                  ui::twipsRect(2040, 360, 1800, 300));
    ui::addLabel(hidden, QStringLiteral("購入点数"), 120, 750);
    txtKounyuTensu = ui::addTextBox(hidden, QStringLiteral("txtKounyuTensu"), 9, ui::twipsRect(1200, 720, 900, 300));
    txtKounyuTensu->setAccessibleName(QStringLiteral("購入点数"));
    ui::addCheckBox(hidden, QStringLiteral("chkSelHukuri"), QString(), ui::twipsRect(2400, 720, 300, 300));
    QLineEdit *txtStartDate =
        ui::addTextBox(hidden, QStringLiteral("txtStartDate"), 10, ui::twipsRect(2880, 720, 1200, 300));
    txtStartDate->setAccessibleName(QStringLiteral("開始日"));
    ui::addLabel(hidden, QStringLiteral("1銘柄あたりの割合"), 120, 1110);
    cmbTousiWariai = ui::addComboBox(hidden, QStringLiteral("cmbTousiWariai"), ui::twipsRect(1800, 1080, 720, 300));
    ui::addLabel(hidden, QStringLiteral("分の1"), 2580, 1110);
    ui::addLabel(hidden, QStringLiteral("(ナンピンのみ)"), 3180, 1110);

    QPushButton *Cmd_Exec =
        ui::addButton(this, QStringLiteral("Cmd_Exec"), QStringLiteral("決定"), ui::twipsRect(2760, 1200, 975, 315));
    QPushButton *Cmd_Cancel =
        ui::addButton(this, QStringLiteral("Cmd_Cancel"), QStringLiteral("ｷｬﾝｾﾙ"), ui::twipsRect(3840, 1200, 975, 315));
    connect(Cmd_Exec, &QPushButton::clicked, this, &frmConfBase::Cmd_Exec_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    selectAllTextOnFocus(txtTousiGanpon);
    selectAllTextOnFocus(txtKounyuTensu);
    Form_Load();
}

void frmConfBase::Form_Load()
{
    cmbTousiWariai->clear();
    cmbTousiWariai->addItem(QStringLiteral("3"));
    for (int share = 5; share <= 50; share += 5)
        cmbTousiWariai->addItem(QString::number(share));
    setBaseSetting(this, glngSetteiMode);
    chkSelZituKounyu->hide();
    txtTousiGanpon->setEnabled(false);
}

void frmConfBase::Cmd_Exec_Click()
{
    const double principal = text::leadingNumber(txtTousiGanpon->text());
    if (principal < 0 || principal > kMaxPrincipal) {
        ui::msgBox(QStringLiteral("投資元本の範囲は") + text::formatThousands(0) + QStringLiteral("円～") +
                       text::formatThousands(kMaxPrincipal) + QStringLiteral("円です。"),
                   ui::vbExclamation);
        return;
    }
    txtKounyuTensu->setText(QString::number(getDefaultTwo(sysBS, int(text::roundHalfEven(principal)))));
    if (!getBaseSetting(this, glngSetteiMode))
        return;
    setRegistryAll();
    ui::refreshHeader();
    accept();
}
