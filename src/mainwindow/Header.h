#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

class QLabel;
class QWidget;

namespace net {
class Inet;
}

// The two figure panels of the main window: the account header and the panel of the
// selected stock.

// The five figure labels of the header.
struct HeaderLabels {
    QLabel *kounyuKanouGaku = nullptr; // available for buying
    QLabel *motikabu = nullptr;        // held
    QLabel *goukei = nullptr;          // total
    QLabel *riekiritu = nullptr;       // rate
    QLabel *nissu = nullptr;           // days since the start date
};

struct HeaderFigures {
    qint64 available = 0;
    qint64 held = 0;
    qint64 total = 0;
    qint64 rate = 0; // the gain as a percentage: 100 means none
    qint64 days = 0;
};

// The header's figures. The rate is the total as a percentage of the capital in paper
// mode, and in real mode the capital as a percentage of the capital before the realised
// profit; it is 0 when it has no divisor (capital 0, or in real mode a realised profit
// equal to the capital). Days are 0 while the start date is unset.
HeaderFigures headerFigures(qint64 capital, qint64 held, qint64 realised, bool paperMode, const QDate &startDate,
                            const QDate &today);

// Fills the header from the live base settings and the stored executions, then sets the
// purchase slots again from the capital.
void setHeader(const HeaderLabels &labels);

// The end of the panel's price line: "　+4%" or "　-5%", the current price as a whole
// percentage of the buy price (rounded down) less 100, "　+0%" without a buy price. Empty
// without a current price: a quote that could not be read is no loss.
QString positionGain(double price, int buyPrice);

// The labels and legend marks of the stock panel.
struct ChartInfoPanel {
    QLabel *brandName = nullptr;
    QLabel *genzaiti = nullptr;
    QLabel *zenzituHi = nullptr;
    QLabel *takaYasu = nullptr;
    QLabel *buyTanka = nullptr;
    QLabel *selTanka = nullptr;
    QLabel *kounyu = nullptr; // caption of the buy-price mark
    QLabel *rieki = nullptr;  // caption of the profit-take mark
    QWidget *linKounyu = nullptr;
    QWidget *linRieki = nullptr;
};

// Mode 1 shows the stock: its stored day, the live quote through `quotes` and the prices of
// the reservation; a price of 0 leaves its line empty, and a current price of 0 (no quote)
// leaves the change line empty and the gain off the price line. Any other mode shows the results
// heading and hides the marks.
void showChartInfo(const ChartInfoPanel &panel, net::Inet &quotes, int mode, const QString &code, const QString &market,
                   qint64 reservationNo);
