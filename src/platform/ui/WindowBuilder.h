#pragma once

#include <QFrame>
#include <QRect>
#include <QString>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QWidget;

// Builds the fixed windows of the window designs: controls named as designed (the object
// name is the control name) and placed in twips, relative to their parent. The places
// (`twips`) are given as twipsRect makes them.
namespace ui {

// A rectangle given in twips, in pixels.
QRect twipsRect(int left, int top, int width, int height);

// A modal, fixed-size tool window without minimise and maximise buttons whose client
// area is the given size in twips.
void setupFixedDialog(QDialog *dialog, const QString &name, const QString &caption, int clientWidth, int clientHeight);

// Gives a control without a place (a timer, a connection, the client area) its name.
template <typename Control>
Control *named(Control *control, const QString &name)
{
    control->setObjectName(name);
    return control;
}

// Names and places a control made with its parent: for the kinds that have no adder below
// (lists, charts, page views).
template <typename Control>
Control *placeControl(Control *control, const QString &name, const QRect &twips)
{
    named(control, name)->setGeometry(twips);
    return control;
}

// A label sized to its caption at (left, top).
QLabel *addLabel(QWidget *parent, const QString &caption, int left, int top, const QString &name = {});
// A label of the given place and size.
QLabel *addLabel(QWidget *parent, const QString &name, const QString &caption, const QRect &twips);
// A text box whose maxLength limits typing only (see TypingLimit.h).
QLineEdit *addTextBox(QWidget *parent, const QString &name, int maxLength, const QRect &twips);
QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &twips);
QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &twips);
// A drop-down list (no typing).
QComboBox *addComboBox(QWidget *parent, const QString &name, const QRect &twips);
QGroupBox *addFrame(QWidget *parent, const QString &name, const QString &caption, const QRect &twips);
// A panel without caption: plain (a picture box), or drawn as `shape` (a box, a line).
QFrame *addPanel(QWidget *parent, const QString &name, const QRect &twips, QFrame::Shape shape = QFrame::NoFrame);
// One button of the option group `group`; its control index is `index`.
QRadioButton *addOption(QButtonGroup *group, QWidget *parent, const QString &name, int index, const QString &caption,
                        const QRect &twips);

// A menu of `owner`, added under `parent` when one is given; the menu and its action carry
// `name`. Captions show "&" as written.
QMenu *addMenu(QWidget *owner, QMenu *parent, const QString &name, const QString &caption);
QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption);

} // namespace ui
