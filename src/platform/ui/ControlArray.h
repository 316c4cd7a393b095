#pragma once

#include <QObject>
#include <QString>

// A control array of the window designs: several controls share one name (the object name)
// and are told apart by their index, kept as the property "index".
namespace ui {

void setControlIndex(QObject *control, int index);

// The control's index; -1 for a control outside an array.
int controlIndex(const QObject *control);

// The control of the array `name` with the given index under `parent`, or nullptr.
template <typename Control>
Control *controlAt(const QObject *parent, const QString &name, int index)
{
    for (Control *control : parent->findChildren<Control *>(name)) {
        if (controlIndex(control) == index)
            return control;
    }
    return nullptr;
}

} // namespace ui
