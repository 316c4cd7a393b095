#pragma once

class QLabel;

namespace browser {
class Browser;
}

// How one turn of the order cycle ended, and so which timer runs next.
enum class OrderCycleOutcome {
    Skipped,     // nothing to send now: the caller re-arms the order timer
    StepStarted, // a broker step is open with etrRunningMode 1: the caller leaves the order
                 // timer off and runs the web timer every kWebTimerInterval ms
};

inline constexpr int kWebTimerInterval = 10000;

// One turn of the order cycle, run as the last step of each order-timer tick: unless a gate
// holds it back (logged with its reason), takes the due reservation changed longest ago,
// fills etrOrder from it, shows it in `lblMsg` and opens a broker step that logs in on
// `webOrder`. At most one order per turn.
OrderCycleOutcome doOrderCycle(QLabel &lblMsg, browser::Browser &webOrder);

// Opens a broker step of the given kind (1 order etrOrder, 2 read the balance) on the
// login of the settings and sends `webOrder` to the login page; etrRunningMode is 1, or 3
// when the driver ended the step at once (paper mode, no broker address).
void openBrokerStep(browser::Browser &webOrder, int requestMode);
