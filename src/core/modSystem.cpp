#include "core/modSystem.h"

#include <QLineEdit>

void selectAllText(QLineEdit *box)
{
    box->setSelection(0, box->maxLength());
}
