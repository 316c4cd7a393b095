#pragma once

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <array>

#include <QDateTimeEdit>

// A date-time field that lives inside a host box of a window and fills it. Positions and
// sizes are in twips (15 to a pixel); colours in the 0x00BBGGRR form the windows use.
// Calling order: Style (optional), then setPictureBox, then create, then anything else.
class cDateTimePicker {
public:
    // Display styles: 0 long date with drop-down calendar, 1 short date with calendar,
    // 2 long date with up-down buttons, 3 short date with up-down buttons, 4 time.
    int Style() const { return m_style; }
    void setStyle(int style) { m_style = style; } // takes effect at the next create()

    QWidget *PictureBox() const { return m_host; }
    // Takes the host box and makes it one text line plus 8 pixels high.
    void setPictureBox(QWidget *host);

    // Makes the field inside the host box, replacing an earlier one. A style outside 0 to 4
    // makes none.
    void create();
    QDateTimeEdit *editor() const { return m_edit; }

    QDateTime Value() const;
    void setValue(const QDateTime &value);

    int Left() const;
    void setLeft(int twips);
    int Top() const;
    void setTop(int twips);
    int Width() const;
    void setWidth(int twips);
    int Height() const;
    void setHeight(int twips);

    void GotFocus();

    QDateTime Max() const;
    void setMax(const QDateTime &value);
    QDateTime Min() const;
    void setMin(const QDateTime &value);

    // Calendar colours; 0 before create().
    long CalendarBackColor() const { return colour(MonthBack); }
    void setCalendarBackColor(long c) { setColour(MonthBack, c); }
    long CalendarForeColor() const { return colour(Text); }
    void setCalendarForeColor(long c) { setColour(Text, c); }
    long CalendarTrailingColor() const { return colour(TrailingText); }
    void setCalendarTrailingColor(long c) { setColour(TrailingText, c); }
    long CalendarTitleBackColor() const { return colour(TitleBack); }
    void setCalendarTitleBackColor(long c) { setColour(TitleBack, c); }
    long CalendarTitleForeColor() const { return colour(TitleText); }
    void setCalendarTitleForeColor(long c) { setColour(TitleText, c); }

private:
    enum CalendarPart { Text, TitleBack, TitleText, MonthBack, TrailingText, PartCount };
    long colour(CalendarPart part) const;
    void setColour(CalendarPart part, long bgr);
    void applyColours();
    void fitToHost();

    QPointer<QWidget> m_host;
    QPointer<QDateTimeEdit> m_edit; // owned by the host box
    int m_style = 0;
    bool m_hasMin = false;
    bool m_hasMax = false;
    std::array<long, PartCount> m_colours{};
};
