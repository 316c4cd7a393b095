#include "marketdata/DateRangeFields.h"

#include "core/modUtil.h"
#include "platform/ui/WindowBuilder.h"

namespace {

QWidget *addHost(QWidget *frame, const QString &name, const QRect &r)
{
    auto *host = new QWidget(frame);
    host->setObjectName(name);
    host->setGeometry(ui::twipsRect(r.x(), r.y(), r.width(), r.height()));
    return host;
}

} // namespace

DateRangeFields::DateRangeFields(QWidget *frame, const Places &places)
{
    ui::addLabel(frame, QStringLiteral("対象日付"), places.caption.x(), places.caption.y(), QStringLiteral("Label10"));
    picDateST = addHost(frame, QStringLiteral("picDateST"), places.first);
    ui::addLabel(frame, QStringLiteral("-"), places.dash.x(), places.dash.y(), QStringLiteral("Label11"));
    picDateED = addHost(frame, QStringLiteral("picDateED"), places.last);
}

void DateRangeFields::createPickers(const QDate &day)
{
    createDatePicker(dtpDateST, picDateST);
    createDatePicker(dtpDateED, picDateED);
    const QDateTime midnight(day, QTime(0, 0));
    dtpDateST.setValue(midnight);
    dtpDateED.setValue(midnight);
}
