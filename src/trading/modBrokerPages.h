#pragma once

#include <QString>

namespace browser {
class Browser;
}

// The last page steps of a broker web step, entered from etrAction only. Each throws
// BrokerPageError (or browser::DomError) when the page is not as expected, which
// etrAction counts as a failed page step; the order form throws db::Error when the store
// cannot record the order, which etrAction lets through.
namespace broker {

// Order form (etrActionMode 5): types etrOrder into the form, records in the store that
// the order is being sent (エラーコード 90) and sends it.
void orderFormPage(browser::Browser &webOrder);
// Acceptance page (order step, etrActionMode 11): the order number, or the refusal code;
// 90 when the page shows the acceptance beside any refusal or error text, or when its
// nesting was cut (`nestingCapped`).
void acceptancePage(const QString &pageText, bool nestingCapped);
// Account page (balance step, etrActionMode 11): cash balance and holdings.
void accountPage(browser::Browser &webOrder);

} // namespace broker
