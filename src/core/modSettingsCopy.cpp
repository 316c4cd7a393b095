#include "core/modSettingsCopy.h"

#include "core/CalcPeriodBoxes.h"
#include "core/SettingsField.h"
#include "core/SettingsRecords.h"
#include "core/SettingsText.h"
#include "core/modUtil.h"
#include "platform/text/VbText.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TypingLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <array>
#include <stdexcept>

namespace {

// How a control holds its field: a text box (text, number or date by the field's kind),
// a check box (0 or 1), an option group (the selected button's index) or a drop-down list
// (the number its text begins with).
enum class Control { Box, Check, Option, Combo };

template <typename Record>
struct ControlField {
    const char16_t *name;
    RecordMember<Record> member;
    Control control = Control::Box;
    // An option group gives the index of its selected button when that is 1 or 2, else this.
    int optionOtherwise = 0;
};

template <typename Widget>
Widget *findControl(const QWidget *window, const char16_t *name)
{
    auto *widget = window->findChild<Widget *>(QString::fromUtf16(name));
    if (!widget)
        throw std::logic_error("settings dialog without the control " + QString::fromUtf16(name).toStdString());
    return widget;
}

QString fieldCaption(const QLineEdit *box)
{
    return box->accessibleName().isEmpty() ? box->objectName() : box->accessibleName();
}

// Reads controls and remembers the first box whose text is no valid value.
class ControlReader {
public:
    explicit ControlReader(const QWidget *window) : m_window(window) {}

    QString text(const char16_t *name) const { return findControl<QLineEdit>(m_window, name)->text(); }

    int whole(const char16_t *name)
    {
        QLineEdit *box = findControl<QLineEdit>(m_window, name);
        if (const std::optional<int> value = parseWholeNumber(box->text()))
            return *value;
        refuse(box, parseRealNumber(box->text()) ? QStringLiteral("」の値が範囲を超えています。")
                                                 : QStringLiteral("」には数値を入力してください。"));
        return 0;
    }

    double real(const char16_t *name)
    {
        QLineEdit *box = findControl<QLineEdit>(m_window, name);
        if (const std::optional<double> value = parseRealNumber(box->text()))
            return *value;
        refuse(box, QStringLiteral("」には数値を入力してください。"));
        return 0;
    }

    QDateTime date(const char16_t *name)
    {
        QLineEdit *box = findControl<QLineEdit>(m_window, name);
        if (const std::optional<QDateTime> value = parseSettingDate(box->text()))
            return *value;
        refuse(box, QStringLiteral("」には日付を yyyy/mm/dd の形で入力してください。"));
        return kZeroDate;
    }

    int check(const char16_t *name) const { return findControl<QCheckBox>(m_window, name)->isChecked() ? 1 : 0; }

    int option(const char16_t *name, int otherwise) const
    {
        for (const QRadioButton *button : m_window->findChildren<QRadioButton *>(QString::fromUtf16(name))) {
            const int index = ui::controlIndex(button);
            if (button->isChecked() && (index == 1 || index == 2))
                return index;
        }
        return otherwise;
    }

    int combo(const char16_t *name) const
    {
        return leadingWholeNumber(findControl<QComboBox>(m_window, name)->currentText()).value_or(0);
    }

    // True when every box was valid; otherwise tells the user about the first bad one.
    bool accepted() const
    {
        if (!m_refused)
            return true;
        ui::msgBox(m_message, ui::vbExclamation);
        m_refused->setFocus();
        m_refused->selectAll();
        return false;
    }

private:
    void refuse(QLineEdit *box, const QString &reason)
    {
        if (m_refused)
            return;
        m_refused = box;
        m_message = u'「' + fieldCaption(box) + reason;
    }

    const QWidget *m_window;
    QLineEdit *m_refused = nullptr;
    QString m_message;
};

class ControlWriter {
public:
    explicit ControlWriter(const QWidget *window) : m_window(window) {}

    void text(const char16_t *name, const QString &value) const
    {
        ui::setTextWhole(findControl<QLineEdit>(m_window, name), value);
    }
    void check(const char16_t *name, int value) const
    {
        findControl<QCheckBox>(m_window, name)->setChecked(value == 1);
    }

    // A value that names no button cannot be shown; the group stays as it is.
    void option(const char16_t *name, int value) const
    {
        if (QRadioButton *button = ui::controlAt<QRadioButton>(m_window, QString::fromUtf16(name), value))
            button->setChecked(true);
    }

    void combo(const char16_t *name, int value) const
    {
        setComboText(findControl<QComboBox>(m_window, name), QString::number(value));
    }

private:
    const QWidget *m_window;
};

template <typename Record>
void readControl(ControlReader &read, const ControlField<Record> &field, Record &record)
{
    std::visit(Overloaded{
                   [&](QString Record::*member) { record.*member = read.text(field.name); },
                   [&](double Record::*member) { record.*member = read.real(field.name); },
                   [&](QDateTime Record::*member) { record.*member = read.date(field.name); },
                   [&](int Record::*member) {
                       switch (field.control) {
                       case Control::Box:
                           record.*member = read.whole(field.name);
                           break;
                       case Control::Check:
                           record.*member = read.check(field.name);
                           break;
                       case Control::Option:
                           record.*member = read.option(field.name, field.optionOtherwise);
                           break;
                       case Control::Combo:
                           record.*member = read.combo(field.name);
                           break;
                       }
                   },
               },
               field.member);
}

template <typename Record>
void writeControl(const ControlWriter &write, const ControlField<Record> &field, const Record &record)
{
    std::visit(Overloaded{
                   [&](QString Record::*member) { write.text(field.name, record.*member); },
                   [&](double Record::*member) { write.text(field.name, settingNumberText(record.*member)); },
                   [&](QDateTime Record::*member) { write.text(field.name, settingDateText(record.*member)); },
                   [&](int Record::*member) {
                       switch (field.control) {
                       case Control::Box:
                           write.text(field.name, QString::number(record.*member));
                           break;
                       case Control::Check:
                           write.check(field.name, record.*member);
                           break;
                       case Control::Option:
                           write.option(field.name, record.*member);
                           break;
                       case Control::Combo:
                           write.combo(field.name, record.*member);
                           break;
                       }
                   },
               },
               field.member);
}

// Builds a new record from the controls; std::nullopt (message shown) when a box is bad.
template <typename Record, std::size_t N>
std::optional<Record> readRecord(const QWidget *window, const ControlField<Record> (&fields)[N])
{
    ControlReader read(window);
    Record record;
    for (const ControlField<Record> &field : fields)
        readControl(read, field, record);
    if (!read.accepted())
        return std::nullopt;
    return record;
}

template <typename Record, std::size_t N>
void writeRecord(const QWidget *window, const ControlField<Record> (&fields)[N], const Record &record)
{
    const ControlWriter write(window);
    for (const ControlField<Record> &field : fields)
        writeControl(write, field, record);
}

const ControlField<SL> kSelectConditionControls[] = {
    {u"txtBaibaiDaikin", &SL::SLBaibaidaikin},
    {u"chkSelMACD", &SL::SLSelMACD, Control::Check},
    {u"txtMACDSpanS", &SL::SLMACDSpanS},
    {u"txtMACDSpanE", &SL::SLMACDSpanE},
    {u"chkSelDekidakaKyutou", &SL::SLSelDekidakaKyutou, Control::Check},
    {u"txtDekidakaKyutou", &SL::SLDekidakaKyutou},
    {u"chkSelRCI", &SL::SLSelRCI, Control::Check},
    {u"txtRCISS", &SL::SLRCISS},
    {u"txtRCISE", &SL::SLRCISE},
    {u"txtRCIMS", &SL::SLRCIMS},
    {u"txtRCIME", &SL::SLRCIME},
    {u"chkSelRSI", &SL::SLSelRSI, Control::Check},
    {u"txtRSIS", &SL::SLRSIS},
    {u"txtRSIE", &SL::SLRSIE},
    {u"chkSelTakaYasu", &SL::SLSelTakayasu, Control::Check},
    {u"txtWariaiS", &SL::SLWariaiS},
    {u"txtWariaiE", &SL::SLWariaiE},
    {u"chkSelIdouheikinKairirituKai", &SL::SLSelIdouHeikinKairirituKai, Control::Check},
    {u"txtSMASWariKaiS", &SL::SLSMASWariKaiS},
    {u"txtSMASWariKaiE", &SL::SLSMASWariKaiE},
    {u"txtSMAMWariKaiS", &SL::SLSMAMWariKaiS},
    {u"txtSMAMWariKaiE", &SL::SLSMAMWariKaiE},
    {u"txtSMALWariKaiS", &SL::SLSMALWariKaiS},
    {u"txtSMALWariKaiE", &SL::SLSMALWariKaiE},
    {u"chkSelTrend", &SL::SLSelTrend, Control::Check},
    {u"optTrendType", &SL::TrendType, Control::Option, 1},
    {u"txtTrendInterval", &SL::TrendInterval},
    {u"chkSelNensyorai", &SL::SLSelNensyorai, Control::Check},
    {u"optNenSyoraiType", &SL::SLNensyoraiType, Control::Option, 1},
};

const ControlField<BS> kBaseSettingControls[] = {
    {u"optRunType", &BS::RunType, Control::Option, 0},
    {u"txtTousiGanpon", &BS::TousiGanpon},
    {u"txtKounyuTensu", &BS::KounyuTensu},
    {u"chkSelZituKounyu", &BS::SelZituKounyu, Control::Check},
    {u"chkSelHukuri", &BS::SelHukuri, Control::Check},
    {u"txtStartDate", &BS::StartDate},
    {u"cmbTousiWariai", &BS::TousiWariai, Control::Combo},
};

const ControlField<OD> kOrderAutoTypeControls[] = {
    {u"optRiekiAutoType", &OD::ODRiekiAutoType, Control::Option, 0},
    {u"optSongiriAutoType", &OD::ODSongiriAutoType, Control::Option, 0},
};

const ControlField<OD> kOrderSettingControls[] = {
    {u"optOrderType", &OD::ODOrderType, Control::Option, 2},
    {u"txtBrand", &OD::ODBrand},
    {u"txtKabuSu", &OD::ODKabusu},
    {u"optSasiNariKai1", &OD::ODSasiNariKai1, Control::Option, 3},
    {u"txtKaine11", &OD::ODKaine11},
    {u"optSasiNariUri1", &OD::ODSasiNariUri1, Control::Option, 3},
    {u"txtUrine11", &OD::ODUrine11},
    {u"txtRiekiWariaiUri1", &OD::ODRiekiWariaiUri1},
    {u"optSongiriTypeUri1", &OD::ODSongiriTypeUri1, Control::Option, 0},
    {u"txtSongiriWariaiUri1", &OD::ODSongiriWariaiUri1},
    {u"txtSongiriDUri1", &OD::ODSongiriDUri1},
    {u"optSasiNariKai2", &OD::ODSasiNariKai2, Control::Option, 2},
    {u"txtKaine21", &OD::ODKaine21},
    {u"txtRiekiWariaiKai2", &OD::ODRiekiWariaiKai2},
    // Coded like the first sell rule's group (button 0 "両方" gives 0); nothing reads it.
    {u"optSongiriTypeKai2", &OD::ODSongiriTypeKai2, Control::Option, 0},
    {u"txtSongiriWAriaiKai2", &OD::ODSongiriWariaiKai2},
    {u"txtSongiriDKai2", &OD::ODSongiriDKai2},
    {u"txtKurikaesiKai", &OD::ODKurikaesiKai},
    {u"chkNanpin", &OD::ODNanpin, Control::Check},
    {u"cmbNanpinKai", &OD::ODNanpinKai, Control::Combo},
    {u"chkKarauri", &OD::ODKarauri, Control::Check},
    kOrderAutoTypeControls[0],
    kOrderAutoTypeControls[1],
};

} // namespace

bool getSelectCondition(QWidget *window, int kind)
{
    const std::optional<SL> record = readRecord(window, kSelectConditionControls);
    if (record)
        slOfKind(kind) = *record;
    return record.has_value();
}

void setSelectCondition(QWidget *window, int kind)
{
    writeRecord(window, kSelectConditionControls, SL(slOfKind(kind)));
}

bool getBaseSetting(QWidget *window, int kind)
{
    const std::optional<BS> record = readRecord(window, kBaseSettingControls);
    if (record)
        bsOfKind(kind) = *record;
    return record.has_value();
}

void setBaseSetting(QWidget *window, int kind)
{
    writeRecord(window, kBaseSettingControls, BS(bsOfKind(kind)));
}

bool getCalcParam(QWidget *window)
{
    ControlReader read(window);
    // The indicator periods are single values, not a record: all are read before any is set.
    const auto &boxes = calcPeriodBoxes();
    std::array<int, std::tuple_size_v<std::decay_t<decltype(boxes)>>> periods{};
    for (std::size_t i = 0; i < periods.size(); ++i)
        periods[i] = read.whole(boxes[i].name);
    if (!read.accepted())
        return false;
    for (std::size_t i = 0; i < periods.size(); ++i)
        *boxes[i].period = periods[i];
    return true;
}

void setCalcParam(QWidget *window)
{
    const ControlWriter write(window);
    for (const CalcPeriodBox &box : calcPeriodBoxes())
        write.text(box.name, QString::number(*box.period));
}

bool getOrderSetting(QWidget *window, int kind)
{
    const std::optional<OD> record = readRecord(window, kOrderSettingControls);
    if (record)
        odOfKind(kind) = *record;
    return record.has_value();
}

void setOrderAutoType(QWidget *window, int kind)
{
    writeRecord(window, kOrderAutoTypeControls, OD(odOfKind(kind)));
}
