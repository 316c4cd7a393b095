#include "core/modSystem.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

class SelectOnFocus : public QObject {
public:
    explicit SelectOnFocus(QLineEdit *box) : QObject(box), m_box(box) { box->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The box sets its own caret while it takes the focus; select once it is done.
        if (watched == m_box && event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, m_box, [box = m_box] { selectAllText(box); });
        return false;
    }

private:
    QLineEdit *m_box;
};

} // namespace

void selectAllText(QLineEdit *box)
{
    box->setSelection(0, box->maxLength());
}

void selectAllTextOnFocus(QLineEdit *box)
{
    new SelectOnFocus(box);
}
