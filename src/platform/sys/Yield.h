#pragma once

// Counts the places where the one application thread is handing control to the event loop
// in the middle of a piece of work (a doEvents, a message box, the wait for a transfer), so
// that code run by a timer can tell it was started inside such a yield.
namespace sys {

class YieldScope {
public:
    YieldScope();
    ~YieldScope();
    YieldScope(const YieldScope &) = delete;
    YieldScope &operator=(const YieldScope &) = delete;
};

// How many yields are in progress on the stack.
int yieldDepth();

} // namespace sys
