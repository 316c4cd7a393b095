#include "core/SettingsTextDialog.h"

#include "core/modRegistrySet.h"
#include "core/modSystem.h"
#include "platform/ui/TypingLimit.h"
#include "platform/ui/WindowBuilder.h"

#include <QLineEdit>
#include <QPushButton>

SettingsTextDialog::SettingsTextDialog(QWidget *parent, const QString &name, const QString &caption, int clientWidth,
                                       int clientHeight)
    : QDialog(parent), m_clientWidth(clientWidth)
{
    ui::setupFixedDialog(this, name, caption, clientWidth, clientHeight);
}

void SettingsTextDialog::addButtons(int top)
{
    QPushButton *Cmd_Exec = ui::addButton(this, QStringLiteral("Cmd_Exec"), QStringLiteral("決定"),
                                          ui::twipsRect(m_clientWidth - 2220, top, 975, 315));
    QPushButton *Cmd_Cancel = ui::addButton(this, QStringLiteral("Cmd_Cancel"), QStringLiteral("ｷｬﾝｾﾙ"),
                                            ui::twipsRect(m_clientWidth - 1080, top, 975, 315));
    connect(Cmd_Exec, &QPushButton::clicked, this, &SettingsTextDialog::Cmd_Exec_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit *SettingsTextDialog::addRow(const QString &caption, const QString &boxName, int maxLength, QString &value,
                                      int top, int boxLeft, int boxWidth, bool secret)
{
    ui::addLabel(this, caption, 120, top + 30);
    QLineEdit *box = ui::addTextBox(this, boxName, maxLength, ui::twipsRect(boxLeft, top, boxWidth, 300));
    if (secret) {
        box->setEchoMode(QLineEdit::Password);
        box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    }
    ui::setTextWhole(box, value);
    selectAllTextOnFocus(box);
    m_rows.push_back({box, &value});
    return box;
}

void SettingsTextDialog::Cmd_Exec_Click()
{
    for (const Row &row : m_rows)
        *row.value = row.box->text();
    storeOtherControls();
    setRegistryAll();
    accept();
}
