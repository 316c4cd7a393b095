#pragma once

#include "platform/ui/cDateTimePicker.h"

#include <QDate>
#include <QPoint>
#include <QRect>

// The date range of the data-job windows, in their condition frame: the caption Label10
// "対象日付", the picker hosts picDateST and picDateED with Label11 "-" between them, and
// the pickers dtpDateST and dtpDateED in the hosts.
class DateRangeFields {
public:
    // Places in twips in the frame; a label by its top left corner.
    struct Places {
        QPoint caption;
        QRect first;
        QPoint dash;
        QRect last;
    };

    DateRangeFields(QWidget *frame, const Places &places);

    // Makes the two pickers in their hosts, both set to `day` without time of day.
    void createPickers(const QDate &day);

    QDate first() const { return dtpDateST.Value().date(); }
    QDate last() const { return dtpDateED.Value().date(); }

private:
    QWidget *picDateST;
    QWidget *picDateED;
    cDateTimePicker dtpDateST;
    cDateTimePicker dtpDateED;
};
