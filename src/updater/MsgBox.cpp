#include "updater/MsgBox.h"

#include <QApplication>
#include <QMessageBox>

namespace updater {
namespace {
MsgBoxHook &hook()
{
    static MsgBoxHook value;
    return value;
}
} // namespace

void setMsgBoxHook(MsgBoxHook value)
{
    hook() = std::move(value);
}

void msgBox(const QString &text)
{
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Updater"), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    box.exec();
}

} // namespace updater
