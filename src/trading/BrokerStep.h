#pragma once

#include <QString>

namespace browser {
class Browser;
}

// What the page steps share inside the broker driver.
namespace broker {

// Ends the step with `code`. Once the order form was sent, only an accepted order (0) or a
// recognised refusal (2..5) is a known outcome: every other end becomes 90.
void endStep(int code);
// Notes that the page now shown has been acted on (clicked, submitted, left): the next
// page step needs a page that completes after this.
void markPageActedOn(const browser::Browser &webOrder);

} // namespace broker
