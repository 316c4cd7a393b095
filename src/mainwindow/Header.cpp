#include "mainwindow/Header.h"

#include "mainwindow/Design.h"

#include "core/Colours.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLookup.h"
#include "marketdata/modTimeStocks.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "trading/modSizing.h"

#include <QLabel>

#include <cmath>

namespace {

const QString kIdeographicSpace = QStringLiteral("\u3000");

// `part` as a whole percentage of `whole`, rounded down, in whole numbers: a quotient in
// floating point falls just below many exact percentages (1.15 * 100 is 114.999...).
qint64 percentRoundedDown(qint64 part, qint64 whole)
{
    const qint64 scaled = part * 100;
    const qint64 quotient = scaled / whole;
    return scaled % whole != 0 && (scaled < 0) != (whole < 0) ? quotient - 1 : quotient;
}

QString yen(qint64 amount)
{
    return text::formatThousands(double(amount)) + QStringLiteral("円");
}

// "前日比 +12　1.23%" for a rise (yellow), "前日比 -12　-1.23%" or a 0 change (red);
// empty when either price is missing.
void showChange(QLabel *label, double price, double previousClose)
{
    if (price <= 0 || previousClose <= 0) {
        label->setText(QString());
        return;
    }
    const double change = price - previousClose;
    const double percent = change / previousClose * 100;
    const QString figures =
        text::formatThousands(change) + kIdeographicSpace + text::formatThousands2(percent) + QStringLiteral("%");
    if (change > 0) {
        setForeColour(*label, colours::kYellow);
        label->setText(QStringLiteral("前日比 +") + figures);
    } else {
        setForeColour(*label, colours::kRed);
        label->setText(QStringLiteral("前日比 ") + figures);
    }
}

QString bracketedPrice(int price)
{
    return price > 0 ? QStringLiteral("(") + text::formatThousands(price) + QStringLiteral(")") : QString();
}

void setMarksVisible(const ChartInfoPanel &panel, bool visible)
{
    panel.linRieki->setVisible(visible);
    panel.linKounyu->setVisible(visible);
    panel.rieki->setVisible(visible);
    panel.kounyu->setVisible(visible);
}

} // namespace

QString positionGain(double price, int buyPrice)
{
    if (price <= 0)
        return QString();
    // In hundredths of a yen a quoted price (ticks of 0.1 yen at the finest) is a whole
    // number, so the percentage is cut in whole numbers as the header's rate is.
    const qint64 gain = buyPrice != 0 ? percentRoundedDown(std::llround(price * 100), qint64(buyPrice) * 100) - 100 : 0;
    return kIdeographicSpace + (gain < 0 ? QString() : QStringLiteral("+")) + QString::number(gain) +
           QStringLiteral("%");
}

HeaderFigures headerFigures(qint64 capital, qint64 held, qint64 realised, bool paperMode, const QDate &startDate,
                            const QDate &today)
{
    HeaderFigures f;
    f.held = held;
    f.available = paperMode ? capital - held + realised : capital - held;
    f.total = f.available + f.held;
    // In real mode the capital is the broker's balance, which already holds the realised
    // profit; in paper mode the capital stays as set and the total holds the profit.
    if (paperMode && capital != 0)
        f.rate = percentRoundedDown(f.total, capital);
    else if (!paperMode && capital != 0 && capital != realised)
        f.rate = percentRoundedDown(capital, capital - realised);
    if (startDate.isValid() && startDate != kZeroDate.date())
        f.days = startDate.daysTo(today);
    return f;
}

void setHeader(const HeaderLabels &labels)
{
    const qint64 held = getHoyuuKingaku(sysBS.StartDate);
    const qint64 realised = getKakuteiSoneki(sysBS.StartDate);
    const HeaderFigures f =
        headerFigures(sysBS.TousiGanpon, held, realised, sysBS.paperMode(), sysBS.StartDate.date(), sys::now().date());
    labels.kounyuKanouGaku->setText(yen(f.available));
    labels.motikabu->setText(yen(f.held));
    labels.goukei->setText(yen(f.total));
    labels.riekiritu->setText(QString::number(f.rate) + QStringLiteral("%"));
    labels.nissu->setText(QString::number(f.days) + QStringLiteral("日"));
    setKounyuTensu(sysBS.TousiGanpon, sysBS);
}

void showChartInfo(const ChartInfoPanel &panel, net::Inet &quotes, int mode, const QString &code, const QString &market,
                   qint64 reservationNo)
{
    if (mode != 1) {
        panel.brandName->setText(QStringLiteral("売買実績"));
        for (QLabel *label : {panel.zenzituHi, panel.genzaiti, panel.takaYasu, panel.buyTanka, panel.selTanka})
            label->setText(QString());
        setMarksVisible(panel, false);
        return;
    }
    KabukaInfo day;
    getKabukaInfo(code, market, gdtLastKabukaDate, day);
    double high = day.high;
    double low = day.low;
    // A row without a stock (an empty last row, a profit row) asks the quote site nothing.
    const GenzaitiQuote quote = text::trimSpaces(code).isEmpty() ? GenzaitiQuote{} : getGenzaiti(quotes, code, market);
    if (quote.high > 0)
        high = quote.high;
    if (quote.low > 0)
        low = quote.low;
    ReservationInfo reservation;
    getReservationInfo(reservationNo, reservation);

    panel.brandName->setText(day.companyName + QStringLiteral(" : ") + code + QStringLiteral(" : ") + day.marketName);
    showChange(panel.zenzituHi, quote.price, day.close);

    panel.genzaiti->setText(QStringLiteral("現在値 ") + text::formatThousands(quote.price) + QStringLiteral(" (") +
                            text::formatZeroPadded(quote.hour, 2) + QStringLiteral(":") +
                            text::formatZeroPadded(quote.minute, 2) + QStringLiteral(")") +
                            positionGain(quote.price, reservation.buyPrice));
    panel.takaYasu->setText(QStringLiteral("高値 ") + text::formatThousands(high) + QStringLiteral(" 安値 ") +
                            text::formatThousands(low));
    // A price of 0 empties its line, so the previous stock's price does not stay on show.
    panel.buyTanka->setText(bracketedPrice(reservation.buyPrice));
    panel.selTanka->setText(bracketedPrice(reservation.sellPrice));
    setMarksVisible(panel, true);
}
