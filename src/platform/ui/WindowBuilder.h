#pragma once

#include <QRect>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Builds the fixed windows of the window designs: controls named as designed (the object
// name is the control name) and placed in twips, relative to their parent.
namespace ui {

// A rectangle given in twips, in pixels.
QRect twipsRect(int left, int top, int width, int height);

// A modal, fixed-size tool window without minimise and maximise buttons whose client
// area is the given size in twips.
void setupFixedDialog(QDialog *dialog, const QString &name, const QString &caption, int clientWidth, int clientHeight);

// A label sized to its caption at (left, top).
QLabel *addLabel(QWidget *parent, const QString &caption, int left, int top, const QString &name = {});
// A text box whose maxLength limits typing only (see TypingLimit.h).
QLineEdit *addTextBox(QWidget *parent, const QString &name, int maxLength, const QRect &twips);
QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &twips);
QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &twips);
// A drop-down list (no typing).
QComboBox *addComboBox(QWidget *parent, const QString &name, const QRect &twips);
QGroupBox *addFrame(QWidget *parent, const QString &name, const QString &caption, const QRect &twips);
// One button of the option group `group`; its control index is `index`.
QRadioButton *addOption(QButtonGroup *group, QWidget *parent, const QString &name, int index, const QString &caption,
                        const QRect &twips);

} // namespace ui
