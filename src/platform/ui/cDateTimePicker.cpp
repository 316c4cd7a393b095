#include "platform/ui/cDateTimePicker.h"

#include "platform/ui/Twips.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QFrame>

#include <cmath>

void cDateTimePicker::setPictureBox(QWidget *host)
{
    m_host = host;
    if (!host)
        return;
    if (auto *frame = qobject_cast<QFrame *>(host))
        frame->setFrameShape(QFrame::NoFrame);
    host->setFixedHeight(QFontMetrics(host->font()).height() + 8);
}

void cDateTimePicker::create()
{
    if (!m_host)
        return;
    delete m_edit; // the host owns it; replacing the field releases the old one
    if (m_style < 0 || m_style > 4)
        return;
    auto *edit = new QDateTimeEdit(m_host);
    switch (m_style) {
    case 0:
    case 2:
        edit->setDisplayFormat(QStringLiteral("yyyy'年'M'月'd'日'"));
        break;
    case 1:
    case 3:
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        break;
    case 4:
        edit->setDisplayFormat(QStringLiteral("H:mm:ss"));
        break;
    }
    edit->setCalendarPopup(m_style == 0 || m_style == 1);
    edit->setMinimumDateTime(QDateTime(QDate(1752, 9, 14), QTime(0, 0)));
    edit->setMaximumDateTime(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
    m_edit = edit;
    m_hasMin = m_hasMax = false;
    fitToHost();
    applyColours();
    edit->show();
}

QDateTime cDateTimePicker::Value() const
{
    if (!m_edit)
        return {};
    const QDateTime v = m_edit->dateTime();
    return QDateTime(v.date(), QTime(v.time().hour(), v.time().minute(), v.time().second()));
}

void cDateTimePicker::setValue(const QDateTime &value)
{
    if (m_edit && value.isValid())
        m_edit->setDateTime(
            QDateTime(value.date(), QTime(value.time().hour(), value.time().minute(), value.time().second())));
}

int cDateTimePicker::Left() const
{
    return m_host ? ui::pixelsToTwips(m_host->x()) : 0;
}
int cDateTimePicker::Top() const
{
    return m_host ? ui::pixelsToTwips(m_host->y()) : 0;
}
int cDateTimePicker::Width() const
{
    return m_host ? ui::pixelsToTwips(m_host->width()) : 0;
}
int cDateTimePicker::Height() const
{
    return m_host ? ui::pixelsToTwips(m_host->height()) : 0;
}

void cDateTimePicker::setLeft(int twips)
{
    if (m_host)
        m_host->move(ui::twipsToPixels(twips), m_host->y());
}

void cDateTimePicker::setTop(int twips)
{
    if (m_host)
        m_host->move(m_host->x(), ui::twipsToPixels(twips));
}

void cDateTimePicker::setWidth(int twips)
{
    if (!m_host)
        return;
    m_host->setFixedWidth(ui::twipsToPixels(twips));
    fitToHost();
}

void cDateTimePicker::setHeight(int twips)
{
    if (!m_host)
        return;
    m_host->setFixedHeight(ui::twipsToPixels(twips));
    fitToHost();
}

void cDateTimePicker::fitToHost()
{
    if (m_edit && m_host)
        m_edit->setGeometry(0, 0, m_host->width(), m_host->height());
}

void cDateTimePicker::GotFocus()
{
    if (m_edit)
        m_edit->setFocus();
}

QDateTime cDateTimePicker::Max() const
{
    return m_edit && m_hasMax ? m_edit->maximumDateTime() : QDateTime();
}

QDateTime cDateTimePicker::Min() const
{
    return m_edit && m_hasMin ? m_edit->minimumDateTime() : QDateTime();
}

void cDateTimePicker::setMax(const QDateTime &value)
{
    if (!m_edit || !value.isValid())
        return;
    m_edit->setMaximumDateTime(value);
    m_hasMax = true;
}

void cDateTimePicker::setMin(const QDateTime &value)
{
    if (!m_edit || !value.isValid())
        return;
    m_edit->setMinimumDateTime(value);
    m_hasMin = true;
}

long cDateTimePicker::colour(CalendarPart part) const
{
    return m_edit ? m_colours[part] : 0;
}

void cDateTimePicker::setColour(CalendarPart part, long bgr)
{
    if (!m_edit)
        return;
    m_colours[part] = bgr;
    applyColours();
}

void cDateTimePicker::applyColours()
{
    if (!m_edit || !m_edit->calendarWidget())
        return;
    QCalendarWidget *calendar = m_edit->calendarWidget();
    QPalette palette = calendar->palette();
    const auto apply = [&](CalendarPart part, QPalette::ColorRole role) {
        if (m_colours[part] != 0)
            palette.setColor(role, ui::colorFromBgr(m_colours[part]));
    };
    apply(MonthBack, QPalette::Base);
    apply(Text, QPalette::Text);
    apply(TrailingText, QPalette::PlaceholderText);
    apply(TitleBack, QPalette::Highlight);
    apply(TitleText, QPalette::HighlightedText);
    calendar->setPalette(palette);
}
