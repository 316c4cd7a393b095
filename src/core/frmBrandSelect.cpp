#include "core/frmBrandSelect.h"

#include "core/FileMenu.h"
#include "core/SettingsRecords.h"
#include "core/modRegistrySet.h"
#include "core/modSettingsCopy.h"
#include "core/modSystem.h"
#include "core/modUtil.h"
#include "platform/ui/WindowBuilder.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kClientWidth = 8490;
constexpr int kClientHeight = 8625;

// Layout of the condition rows inside the frame, in twips.
constexpr int kCheckLeft = 240;
constexpr int kCheckWidth = 3000;
constexpr int kContentLeft = 3360;
constexpr int kRowHeight = 300;

QLineEdit *addBox(QWidget *frame, const QString &name, int maxLength, int left, int top, int width,
                  const QString &caption)
{
    QLineEdit *box = ui::addTextBox(frame, name, maxLength, ui::twipsRect(left, top, width, kRowHeight));
    box->setAccessibleName(caption);
    return box;
}

// "short box － box unit" at one line: the lower and the upper bound of a range.
void addRange(QWidget *frame, const QString &lowerName, const QString &upperName, int left, int top,
              const QString &caption, const QString &unit)
{
    addBox(frame, lowerName, 4, left, top, 720, caption + QStringLiteral("(下限)"));
    ui::addLabel(frame, QStringLiteral("－"), left + 780, top + 30);
    addBox(frame, upperName, 4, left + 1020, top, 720, caption + QStringLiteral("(上限)"));
    ui::addLabel(frame, unit, left + 1800, top + 30);
}

void addCheck(QWidget *frame, const QString &name, const QString &caption, int top)
{
    ui::addCheckBox(frame, name, caption, ui::twipsRect(kCheckLeft, top, kCheckWidth, kRowHeight));
}

// Two option buttons of one choice, indexes 1 and 2, `width` wide, the second at `secondLeft`.
void addChoice(QWidget *frame, const QString &name, const QString &first, const QString &second, int top, int width,
               int secondLeft)
{
    auto *group = new QButtonGroup(frame);
    ui::addOption(group, frame, name, 1, first, ui::twipsRect(kContentLeft, top, width, kRowHeight));
    ui::addOption(group, frame, name, 2, second, ui::twipsRect(secondLeft, top, width, kRowHeight));
}

} // namespace

frmBrandSelect::frmBrandSelect(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmBrandSelect"), QStringLiteral("検索設定"), kClientWidth,
                         kClientHeight);

    const ui::FileMenu menu = ui::addFileMenu(this);
    connect(menu.mnuClose, &QAction::triggered, this, &QDialog::reject);
    QWidget *client = menu.client;

    lblMaxDate = ui::addLabel(client, QStringLiteral("最終データ:yyyy/mm/dd"), 120, 60, QStringLiteral("lblMaxDate"));
    QGroupBox *fraZyouken = ui::addFrame(client, QStringLiteral("fraZyouken"), QStringLiteral("検索条件"),
                                         ui::twipsRect(120, 360, 8235, 8175));
    buildConditionRows(fraZyouken);

    QPushButton *cmdSelect = ui::addButton(fraZyouken, QStringLiteral("cmdSelect"), QStringLiteral("決定"),
                                           ui::twipsRect(5520, 7620, 1215, 435));
    QPushButton *cmdClose = ui::addButton(fraZyouken, QStringLiteral("cmdClose"), QStringLiteral("キャンセル"),
                                          ui::twipsRect(6840, 7620, 1215, 435));
    connect(cmdSelect, &QPushButton::clicked, this, &frmBrandSelect::cmdSelect_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    for (const char16_t *name :
         {u"txtBaibaiDaikin", u"txtDekidakaKyutou", u"txtRSIS", u"txtSMALWariKaiS", u"txtSMASWariKaiS", u"txtWariaiS"})
        selectAllTextOnFocus(findChild<QLineEdit *>(QString::fromUtf16(name)));

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

void frmBrandSelect::buildConditionRows(QWidget *frame)
{
    int top = 360;
    addCheck(frame, QStringLiteral("chkSelBaibaidaikin"), QStringLiteral("当日売買代金(終値換算)"), top);
    addBox(frame, QStringLiteral("txtBaibaiDaikin"), 10, kContentLeft, top, 1200,
           QStringLiteral("当日売買代金(終値換算)"));
    ui::addLabel(frame, QStringLiteral("百万円以上"), kContentLeft + 1260, top + 30);

    top += 480;
    addCheck(frame, QStringLiteral("chkSelMACD"), QStringLiteral("MACD"), top);
    ui::addLabel(frame, QStringLiteral("MACDゴールデンクロス上抜"), kContentLeft, top + 30);
    addBox(frame, QStringLiteral("txtMACDSpanS"), 8, kContentLeft + 2280, top, 900, QStringLiteral("MACD(下限)"));
    ui::addLabel(frame, QStringLiteral("－"), kContentLeft + 3240, top + 30);
    addBox(frame, QStringLiteral("txtMACDSpanE"), 8, kContentLeft + 3480, top, 900, QStringLiteral("MACD(上限)"));

    top += 480;
    addCheck(frame, QStringLiteral("chkSelDekidakaKyutou"), QStringLiteral("出来高急騰(前日比)"), top);
    addBox(frame, QStringLiteral("txtDekidakaKyutou"), 0, kContentLeft, top, 900, QStringLiteral("出来高急騰(前日比)"));
    ui::addLabel(frame, QStringLiteral("倍以上"), kContentLeft + 960, top + 30);

    top += 480;
    addCheck(frame, QStringLiteral("chkSelRCI"), QStringLiteral("RCI"), top);
    ui::addLabel(frame, QStringLiteral("短期"), kContentLeft, top + 30);
    addRange(frame, QStringLiteral("txtRCISS"), QStringLiteral("txtRCISE"), kContentLeft + 480, top,
             QStringLiteral("RCI 短期"), QStringLiteral("%　(-100～100)"));
    ui::addLabel(frame, QStringLiteral("中期"), kContentLeft, top + 420 + 30);
    addRange(frame, QStringLiteral("txtRCIMS"), QStringLiteral("txtRCIME"), kContentLeft + 480, top + 420,
             QStringLiteral("RCI 中期"), QStringLiteral("%　(-100～100)"));

    top += 960;
    addCheck(frame, QStringLiteral("chkSelNensyorai"), QStringLiteral("年初来"), top);
    addChoice(frame, QStringLiteral("optNenSyoraiType"), QStringLiteral("高値更新"), QStringLiteral("安値更新"), top,
              1400, kContentLeft + 1500);

    top += 480;
    addCheck(frame, QStringLiteral("chkSelRSI"), QStringLiteral("RSI"), top);
    addRange(frame, QStringLiteral("txtRSIS"), QStringLiteral("txtRSIE"), kContentLeft, top, QStringLiteral("RSI"),
             QStringLiteral("%　(1～100)"));

    top += 480;
    addCheck(frame, QStringLiteral("chkSelTakaYasu"), QStringLiteral("過去の最安値と最高値の間の位置"), top);
    addRange(frame, QStringLiteral("txtWariaiS"), QStringLiteral("txtWariaiE"), kContentLeft, top,
             QStringLiteral("過去の最安値と最高値の間の位置"), QStringLiteral("%　(1～100)"));

    top += 480;
    addCheck(frame, QStringLiteral("chkSelIdouheikinKairirituKai"), QStringLiteral("移動平均乖離率"), top);
    const struct {
        const char16_t *term;
        const char16_t *lower;
        const char16_t *upper;
    } averages[] = {{u"短期", u"txtSMASWariKaiS", u"txtSMASWariKaiE"},
                    {u"中期", u"txtSMAMWariKaiS", u"txtSMAMWariKaiE"},
                    {u"長期", u"txtSMALWariKaiS", u"txtSMALWariKaiE"}};
    for (const auto &average : averages) {
        const QString term = QString::fromUtf16(average.term);
        ui::addLabel(frame, term, kContentLeft, top + 30);
        addRange(frame, QString::fromUtf16(average.lower), QString::fromUtf16(average.upper), kContentLeft + 480, top,
                 QStringLiteral("移動平均乖離率 ") + term, QStringLiteral("%"));
        top += 420;
    }
    ui::addLabel(frame, QStringLiteral("※.未使用な期は-200～200を指定"), kContentLeft, top + 30);

    top += 480;
    addCheck(frame, QStringLiteral("chkSelTrend"), QStringLiteral("トレンド"), top);
    addChoice(frame, QStringLiteral("optTrendType"), QStringLiteral("上昇"), QStringLiteral("下降"), top, 900,
              kContentLeft + 1020);
    ui::addLabel(frame, QStringLiteral("高値更新間隔"), kContentLeft + 2100, top + 30);
    addBox(frame, QStringLiteral("txtTrendInterval"), 4, kContentLeft + 3360, top, 720, QStringLiteral("高値更新間隔"));
    ui::addLabel(frame, QStringLiteral("日以内"), kContentLeft + 4140, top + 30);
}

void frmBrandSelect::Form_Load()
{
    setSelectCondition(this, glngSetteiMode);
    lblMaxDate->setText(maxDateCaption());
    lblMaxDate->adjustSize();
}

void frmBrandSelect::cmdSelect_Click()
{
    if (!getSelectCondition(this, glngSetteiMode))
        return;
    setRegistryAll();
    accept();
}
