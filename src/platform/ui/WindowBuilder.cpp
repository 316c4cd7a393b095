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
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace ui {
namespace {

// Qt reads "&" in a caption as the mark of a shortcut letter; doubled it shows as written.
QString menuCaption(const QString &caption)
{
    return QString(caption).replace(u'&', QStringLiteral("&&"));
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

QLabel *addLabel(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    return placeControl(new QLabel(caption, parent), name, twips);
}

QLineEdit *addTextBox(QWidget *parent, const QString &name, int maxLength, const QRect &twips)
{
    auto *box = placeControl(new QLineEdit(parent), name, twips);
    if (maxLength > 0)
        setTypingLimit(box, maxLength);
    return box;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    auto *button = placeControl(new QPushButton(caption, parent), name, twips);
    button->setAutoDefault(false);
    return button;
}

QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    return placeControl(new QCheckBox(caption, parent), name, twips);
}

QComboBox *addComboBox(QWidget *parent, const QString &name, const QRect &twips)
{
    auto *combo = placeControl(new QComboBox(parent), name, twips);
    combo->setEditable(false);
    return combo;
}

QGroupBox *addFrame(QWidget *parent, const QString &name, const QString &caption, const QRect &twips)
{
    return placeControl(new QGroupBox(caption, parent), name, twips);
}

QFrame *addPanel(QWidget *parent, const QString &name, const QRect &twips, QFrame::Shape shape)
{
    auto *panel = placeControl(new QFrame(parent), name, twips);
    panel->setFrameShape(shape);
    return panel;
}

QRadioButton *addOption(QButtonGroup *group, QWidget *parent, const QString &name, int index, const QString &caption,
                        const QRect &twips)
{
    auto *button = placeControl(new QRadioButton(caption, parent), name, twips);
    setControlIndex(button, index);
    group->addButton(button, index);
    return button;
}

QMenu *addMenu(QWidget *owner, QMenu *parent, const QString &name, const QString &caption)
{
    auto *menu = named(new QMenu(menuCaption(caption), owner), name);
    menu->menuAction()->setObjectName(name);
    if (parent)
        parent->addMenu(menu);
    return menu;
}

QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption)
{
    return named(menu->addAction(menuCaption(caption)), name);
}

} // namespace ui
