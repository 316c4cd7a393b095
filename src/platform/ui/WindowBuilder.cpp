#include "platform/ui/WindowBuilder.h"

#include "platform/ui/ControlArray.h"
#include "platform/ui/Twips.h"
#include "platform/ui/TypingLimit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace ui {
namespace {

template <typename Control>
Control *placed(Control *control, const QString &name, const QRect &twips)
{
    control->setObjectName(name);
    control->setGeometry(twips);
    return control;
}

} // namespace

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void setupFixedDialog(QDialog *dialog, const QString &name, const QString &caption, int clientWidth, int clientHeight)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setModal(true);
    dialog->setFixedSize(twipsToPixels(clientWidth), twipsToPixels(clientHeight));
}

QLabel *addLabel(QWidget *parent, const QString &caption, int left, int top, const QString &name)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(twipsToPixels(left), twipsToPixels(top));
    label->adjustSize();
    return label;
}

QLineEdit *addTextBox(QWidget *parent, const QString &name, int maxLength, const QRect &twips)
{
    auto *box = placed(new QLineEdit(parent), name, twips);
    if (maxLength > 0)
        setTypingLimit(box, maxLength);
    return box;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    auto *button = placed(new QPushButton(caption, parent), name, twips);
    button->setAutoDefault(false);
    return button;
}

QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    return placed(new QCheckBox(caption, parent), name, twips);
}

QComboBox *addComboBox(QWidget *parent, const QString &name, const QRect &twips)
{
    auto *combo = placed(new QComboBox(parent), name, twips);
    combo->setEditable(false);
    return combo;
}

QGroupBox *addFrame(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    return placed(new QGroupBox(caption, parent), name, twips);
}

QRadioButton *addOption(QButtonGroup *group, QWidget *parent, const QString &name, int index, const QString &caption,
                        const QRect &twips)
{
    auto *button = placed(new QRadioButton(caption, parent), name, twips);
    setControlIndex(button, index);
    group->addButton(button, index);
    return button;
}

} // namespace ui
