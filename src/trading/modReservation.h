#pragma once

#include <QDateTime>

// The roll-over of a new day: prices older than 200 days are purged; reservations last
// changed before today fall back — a partly bought order becomes a held position of the
// bought size, an order that bought nothing is finished, an open sell order is held again.
// One transaction: either the whole day change happens or none of it.
void dayChangeReservation(const QDateTime &now);

// Counts reservations: mode 1 the held positions (state 2), mode 2 the active ones (state
// below 9), mode 3 those registered on `day` (00:00:00 to 23:59:59), any other mode all.
int getOrderCount(int mode, const QDate &day);
