#include "platform/ui/MsgBox.h"

#include "platform/sys/ProgramDir.h"
#include "platform/sys/Yield.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {
MsgBoxHook &hook()
{
    static MsgBoxHook value;
    return value;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

void setMsgBoxHook(MsgBoxHook value)
{
    hook() = std::move(value);
}

int msgBox(const QString &text, int style, const QString &title)
{
    if (hook())
        return hook()(MsgBoxCall{text, style, title});

    QMessageBox box(iconFor(style), title.isEmpty() ? sys::exeName() : title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const bool defaultSecond = (style & vbDefaultButton2) != 0;
    // A pair of buttons: Escape gives the second, the style chooses the default.
    const auto addPair = [&](const QString &first, QMessageBox::ButtonRole firstRole, const QString &second,
                             QMessageBox::ButtonRole secondRole) {
        QPushButton *firstButton = box.addButton(first, firstRole);
        QPushButton *secondButton = box.addButton(second, secondRole);
        box.setEscapeButton(secondButton);
        return defaultSecond ? secondButton : firstButton;
    };
    QPushButton *defaultButton = nullptr;
    switch (style & 0x7) {
    case vbYesNo:
        defaultButton = addPair(QStringLiteral("はい(&Y)"), QMessageBox::YesRole, QStringLiteral("いいえ(&N)"),
                                QMessageBox::NoRole);
        break;
    case vbOKCancel:
        defaultButton = addPair(QStringLiteral("OK"), QMessageBox::AcceptRole, QStringLiteral("キャンセル"),
                                QMessageBox::RejectRole);
        break;
    default:
        defaultButton = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setEscapeButton(defaultButton);
        break;
    }
    box.setDefaultButton(defaultButton);
    {
        const sys::YieldScope yielding; // timers tick while the box is open
        box.exec();
    }

    const QAbstractButton *clicked = box.clickedButton();
    switch (box.buttonRole(const_cast<QAbstractButton *>(clicked))) {
    case QMessageBox::YesRole:
        return vbYes;
    case QMessageBox::NoRole:
        return vbNo;
    case QMessageBox::RejectRole:
        return vbCancel;
    default:
        return vbOK;
    }
}

} // namespace ui
