#include "marketdata/frmCalc.h"

#include "core/BusyWindow.h"
#include "core/CalcPeriodBoxes.h"
#include "core/SettingsText.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "core/modSettingsCopy.h"
#include "core/modSystem.h"
#include "marketdata/modCalc.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/WindowBuilder.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string_view>

namespace {

constexpr int kRowHeight = 285;

// The boxes of one frame: a run of boxes with the same group caption.
std::vector<std::vector<const CalcPeriodBox *>> periodGroups()
{
    std::vector<std::vector<const CalcPeriodBox *>> groups;
    for (const CalcPeriodBox &box : calcPeriodBoxes()) {
        if (groups.empty() || std::u16string_view(groups.back().front()->group) != box.group)
            groups.emplace_back();
        groups.back().push_back(&box);
    }
    return groups;
}

} // namespace

frmCalc::frmCalc(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmCalc"), QStringLiteral("計算設定"), 5685, 6240);

    QGroupBox *fraKeisan = ui::addFrame(this, QStringLiteral("fraKeisan"), QString(), ui::twipsRect(0, 0, 5685, 6240));
    QPalette grey = fraKeisan->palette();
    grey.setColor(QPalette::Window, QColor(224, 224, 224));
    fraKeisan->setPalette(grey);
    fraKeisan->setAutoFillBackground(true);

    lblMsg = ui::addLabel(fraKeisan, QString(), 240, 180, QStringLiteral("lblMsg"));
    lblMsg->setGeometry(ui::twipsRect(240, 180, 5205, 270));

    int top = 480;
    for (const std::vector<const CalcPeriodBox *> &group : periodGroups()) {
        const int height = kRowHeight * (int(group.size()) + 1) + 60;
        QGroupBox *frame = ui::addFrame(fraKeisan, QString(), QString::fromUtf16(group.front()->group),
                                        ui::twipsRect(120, top, 5445, height));
        int rowTop = kRowHeight;
        for (const CalcPeriodBox *period : group) {
            ui::addLabel(frame, QString::fromUtf16(period->caption), 240, rowTop + 15);
            QLineEdit *box =
                ui::addTextBox(frame, QString::fromUtf16(period->name), 3, ui::twipsRect(960, rowTop, 570, 255));
            box->setAccessibleName(QString::fromUtf16(period->fieldName));
            if (period->selectsOnFocus)
                selectAllTextOnFocus(box);
            ui::addLabel(frame, QStringLiteral("日平均"), 1620, rowTop + 15);
            rowTop += kRowHeight;
        }
        top += height + 60;
    }

    cmdCalc = ui::addButton(fraKeisan, QStringLiteral("cmdCalc"), QStringLiteral("再計算"),
                            ui::twipsRect(3120, 5700, 1155, 375));
    cmdClose = ui::addButton(fraKeisan, QStringLiteral("cmdClose"), QStringLiteral("閉じる"),
                             ui::twipsRect(4380, 5700, 1155, 375));
    connect(cmdCalc, &QPushButton::clicked, this, &frmCalc::cmdCalc_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    Form_Load();
}

void frmCalc::Form_Load()
{
    setCalcParam(this);
}

bool frmCalc::takePeriods()
{
    for (const CalcPeriodBox &period : calcPeriodBoxes()) {
        auto *box = findChild<QLineEdit *>(QString::fromUtf16(period.name));
        const std::optional<int> days = parseWholeNumber(box->text());
        // Boxes that hold no number at all are reported by getCalcParam.
        if (days && *days < period.minimum) {
            ui::msgBox(u'「' + box->accessibleName() + QStringLiteral("」には") + QString::number(period.minimum) +
                           QStringLiteral("以上の日数を入力してください。"),
                       ui::vbExclamation);
            box->setFocus();
            box->selectAll();
            return false;
        }
    }
    return getCalcParam(this);
}

void frmCalc::cmdCalc_Click()
{
    if (ui::msgBox(QStringLiteral("再計算を行います。よろしいですか?"),
                   ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2) != ui::vbYes)
        return;
    m_stopRequested = false;
    cmdCalc->setEnabled(false);
    cmdClose->setEnabled(false);
    lblMsg->setText(QString());
    ui::doEvents();
    if (takePeriods()) {
        const bool ran = calcKabuka(0, gdtFirstKabukaDate, gdtLastKabukaDate, QString(), QString(), lblMsg,
                                    [this] { return m_stopRequested; });
        lblMsg->setText(!ran ? QStringLiteral("計算を行えませんでした。理由はログに記録しました。")
                        : m_stopRequested ? QStringLiteral("処理を中止しました。")
                                          : QStringLiteral("処理を完了しました。"));
        ui::doEvents();
    }
    cmdCalc->setEnabled(true);
    cmdClose->setEnabled(true);
}

void frmCalc::stopJob()
{
    if (!jobRunning() || m_stopRequested)
        return;
    m_stopRequested = true;
    writeLog(glngLogFileNo, QStringLiteral("株価情報の再計算の中止が指示されました"));
}

bool frmCalc::jobRunning() const
{
    return !cmdClose->isEnabled();
}

bool frmCalc::Form_Unload()
{
    if (ui::refuseClosingWhileBusy(!cmdClose->isEnabled()))
        return false;
    if (!takePeriods())
        return false;
    setRegistryAll();
    return true;
}

void frmCalc::reject()
{
    if (Form_Unload())
        QDialog::reject();
}
