#include "core/frmOrder.h"

#include "core/SettingsRecords.h"
#include "core/modRegistrySet.h"
#include "core/modSettingsCopy.h"
#include "core/modSystem.h"
#include "platform/ui/TypingLimit.h"
#include "platform/ui/WindowBuilder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

constexpr int kRowHeight = 300;

QWidget *addPanel(QWidget *parent, const QString &name, const QRect &twips)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setGeometry(twips);
    return panel;
}

// One visible row: caption, then the buttons 0 "無し" and 1 "有り" in a panel of their own.
void addAutoTypeRow(QWidget *panel, const QString &labelName, const QString &caption, const QString &groupPanel,
                    const QString &optionName, int top)
{
    ui::addLabel(panel, caption, 120, top + 60, labelName);
    QWidget *buttons = addPanel(panel, groupPanel, ui::twipsRect(1440, top, 1560, 420));
    auto *group = new QButtonGroup(buttons);
    ui::addOption(group, buttons, optionName, 0, QStringLiteral("無し"), ui::twipsRect(0, 60, 720, kRowHeight));
    ui::addOption(group, buttons, optionName, 1, QStringLiteral("有り"), ui::twipsRect(780, 60, 720, kRowHeight));
}

QLineEdit *addBox(QWidget *parent, const QString &name, const QString &value, int maxLength, int left, int top,
                  const QString &caption, bool hidden = false)
{
    QLineEdit *box = ui::addTextBox(parent, name, maxLength, ui::twipsRect(left, top, 720, kRowHeight));
    ui::setTextWhole(box, value);
    box->setAccessibleName(caption);
    box->setHidden(hidden);
    return box;
}

// A group of option buttons given as (index, caption, selected, hidden).
struct Option {
    int index;
    const char16_t *caption;
    bool selected;
    bool hidden;
};

void addOptions(QWidget *parent, const QString &name, int left, int top, std::initializer_list<Option> options)
{
    auto *group = new QButtonGroup(parent);
    for (const Option &option : options) {
        QRadioButton *button = ui::addOption(group, parent, name, option.index, QString::fromUtf16(option.caption),
                                             ui::twipsRect(left, top, 1200, kRowHeight));
        button->setChecked(option.selected);
        button->setHidden(option.hidden);
        left += 1260;
    }
}

// The order kind of a buy, sell or covering-buy rule, limit (hidden) or market (chosen),
// and its limit price, hidden.
void addOrderKind(QWidget *rule, const QString &optionName, const QString &priceName, const QString &priceCaption)
{
    addOptions(rule, optionName, 120, 300, {{1, u"指値", false, true}, {2, u"成行", true, false}});
    addBox(rule, priceName, QStringLiteral("0"), 0, 2760, 300, priceCaption, true);
}

// The stop-loss choices of a sell or covering-buy rule: by rate, by holding days (chosen), both.
void addStopLossOptions(QWidget *parent, const QString &name, int top)
{
    addOptions(parent, name, 120, top,
               {{1, u"割合で損切", false, false}, {2, u"期間で損切", true, false}, {0, u"両方", false, false}});
}

} // namespace

frmOrder::frmOrder(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmOrder"), QStringLiteral("注文設定"), 3315, 1725);

    QWidget *Picture1 = addPanel(this, QStringLiteral("Picture1"), ui::twipsRect(60, 60, 3075, 1035));
    addAutoTypeRow(Picture1, QStringLiteral("Label19"), QStringLiteral("自動利益確定"), QStringLiteral("Picture2"),
                   QStringLiteral("optRiekiAutoType"), 60);
    addAutoTypeRow(Picture1, QStringLiteral("Label21"), QStringLiteral("自動損切確定"), QStringLiteral("Picture3"),
                   QStringLiteral("optSongiriAutoType"), 540);

    QPushButton *cmdOrder =
        ui::addButton(this, QStringLiteral("cmdOrder"), QStringLiteral("決定"), ui::twipsRect(780, 1260, 1095, 375));
    QPushButton *cmdClose = ui::addButton(this, QStringLiteral("cmdClose"), QStringLiteral("キャンセル"),
                                          ui::twipsRect(2100, 1260, 1095, 375));
    connect(cmdOrder, &QPushButton::clicked, this, &frmOrder::cmdOrder_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    buildHiddenRules(this);
    connect(chkNanpin, &QCheckBox::clicked, this, &frmOrder::enableNanpinKai);

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

void frmOrder::buildHiddenRules(QWidget *client)
{
    // Beyond the client width: present and read on "決定", never seen.
    QGroupBox *fraOrder =
        ui::addFrame(client, QStringLiteral("fraOrder"), QString(), ui::twipsRect(3660, 60, 7800, 5400));

    ui::addLabel(fraOrder, QStringLiteral("取引"), 120, 300);
    addOptions(fraOrder, QStringLiteral("optOrderType"), 1200, 240,
               {{1, u"現物", true, false}, {2, u"信用", false, true}});
    ui::addLabel(fraOrder, QStringLiteral("銘柄コード"), 120, 660);
    QLineEdit *txtBrand = addBox(fraOrder, QStringLiteral("txtBrand"), QStringLiteral("7867"), 4, 1200, 600,
                                 QStringLiteral("銘柄コード"), true);
    ui::addLabel(fraOrder, QStringLiteral("株数"), 2160, 660);
    QLineEdit *txtKabuSu = addBox(fraOrder, QStringLiteral("txtKabuSu"), QStringLiteral("100"), 8, 2760, 600,
                                  QStringLiteral("株数"), true);

    QGroupBox *buyRule = ui::addFrame(fraOrder, QStringLiteral("fraKai1"), QStringLiteral("買注文ルール"),
                                      ui::twipsRect(120, 1020, 3720, 900));
    addOrderKind(buyRule, QStringLiteral("optSasiNariKai1"), QStringLiteral("txtKaine11"), QStringLiteral("買指値"));

    QGroupBox *sellRule = ui::addFrame(fraOrder, QStringLiteral("fraUri1"), QStringLiteral("売注文ルール"),
                                       ui::twipsRect(120, 2040, 3720, 2160));
    addOrderKind(sellRule, QStringLiteral("optSasiNariUri1"), QStringLiteral("txtUrine11"), QStringLiteral("売指値"));
    addBox(sellRule, QStringLiteral("txtRiekiWariaiUri1"), QStringLiteral("10"), 3, 120, 720,
           QStringLiteral("利益確定の割合"));
    ui::addLabel(sellRule, QStringLiteral("%以上の利益で注文"), 900, 750);
    addStopLossOptions(sellRule, QStringLiteral("optSongiriTypeUri1"), 1140);
    addBox(sellRule, QStringLiteral("txtSongiriWariaiUri1"), QStringLiteral("10"), 3, 120, 1560,
           QStringLiteral("損切の割合"));
    ui::addLabel(sellRule, QStringLiteral("%以下"), 900, 1590);
    addBox(sellRule, QStringLiteral("txtSongiriDUri1"), QStringLiteral("60"), 3, 1800, 1560,
           QStringLiteral("損切の期間"));
    ui::addLabel(sellRule, QStringLiteral("日間"), 2580, 1590);

    QGroupBox *coverRule = ui::addFrame(fraOrder, QStringLiteral("fraKai2"), QStringLiteral("返済買注文ルール"),
                                        ui::twipsRect(3960, 1020, 3720, 2160));
    addOrderKind(coverRule, QStringLiteral("optSasiNariKai2"), QStringLiteral("txtKaine21"),
                 QStringLiteral("返済買指値"));
    addBox(coverRule, QStringLiteral("txtRiekiWariaiKai2"), QStringLiteral("10"), 3, 120, 720,
           QStringLiteral("返済買の利益確定の割合"));
    addStopLossOptions(coverRule, QStringLiteral("optSongiriTypeKai2"), 1140);
    addBox(coverRule, QStringLiteral("txtSongiriWAriaiKai2"), QStringLiteral("10"), 3, 120, 1560,
           QStringLiteral("返済買の損切の割合"));
    ui::addLabel(coverRule, QStringLiteral("%以上"), 900, 1590);
    addBox(coverRule, QStringLiteral("txtSongiriDKai2"), QStringLiteral("60"), 3, 1800, 1560,
           QStringLiteral("返済買の損切の期間"));

    ui::addLabel(fraOrder, QStringLiteral("繰り返し回数"), 120, 4380);
    QLineEdit *txtKurikaesiKai = addBox(fraOrder, QStringLiteral("txtKurikaesiKai"), QStringLiteral("1"), 3, 1440, 4320,
                                        QStringLiteral("繰り返し回数"), true);
    chkNanpin = ui::addCheckBox(fraOrder, QStringLiteral("chkNanpin"), QStringLiteral("ナンピン"),
                                ui::twipsRect(2400, 4320, 1200, kRowHeight));
    cmbNanpinKai =
        ui::addComboBox(fraOrder, QStringLiteral("cmbNanpinKai"), ui::twipsRect(3660, 4320, 720, kRowHeight));
    chkKarauri = ui::addCheckBox(fraOrder, QStringLiteral("chkKarauri"), QStringLiteral("空売り"),
                                 ui::twipsRect(4560, 4320, 1200, kRowHeight));
    chkKarauri->hide();

    for (QLineEdit *box : {txtBrand, txtKabuSu, txtKurikaesiKai})
        selectAllTextOnFocus(box);
}

void frmOrder::Form_Load()
{
    cmbNanpinKai->clear();
    for (int count = 2; count <= 9; ++count)
        cmbNanpinKai->addItem(QString::number(count));
    cmbNanpinKai->setCurrentIndex(-1);

    setOrderAutoType(this, glngSetteiMode);

    const bool shortSelling = glngSetteiMode == 3 || glngSetteiMode == 4;
    chkKarauri->setVisible(shortSelling);
    if (!shortSelling)
        chkKarauri->setChecked(false);
    enableNanpinKai();
}

void frmOrder::enableNanpinKai()
{
    cmbNanpinKai->setEnabled(chkNanpin->isChecked());
}

void frmOrder::cmdOrder_Click()
{
    if (!getOrderSetting(this, glngSetteiMode))
        return;
    setRegistryAll();
    accept();
}
