#include "platform/ui/TypingLimit.h"

#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace ui {

namespace {

constexpr char kLimitProperty[] = "typingLimit";

int typingLimit(const QLineEdit *box)
{
    const QVariant limit = box->property(kLimitProperty);
    return limit.isValid() ? limit.toInt() : box->maxLength();
}

// QLineEdit applies its limit to every text, set or typed; raising it to the length of
// the text in the box keeps that text whole while typing cannot add to it.
void fitLimit(QLineEdit *box, qsizetype length)
{
    box->setMaxLength(int(std::max<qsizetype>(typingLimit(box), length)));
}

} // namespace

void setTypingLimit(QLineEdit *box, int limit)
{
    box->setProperty(kLimitProperty, limit);
    box->setMaxLength(limit);
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString &text) { fitLimit(box, text.size()); });
}

void setTextWhole(QLineEdit *box, const QString &text)
{
    fitLimit(box, text.size());
    box->setText(text);
}

} // namespace ui
