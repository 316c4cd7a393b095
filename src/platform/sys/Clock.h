#pragma once

#include <QDateTime>

#include <optional>

namespace sys {

// The present moment as the program sees it. Code never reads the wall clock directly,
// so tests can put the program on any day and time.
QDateTime now();

// Fixes the present moment (tests); std::nullopt returns to the wall clock.
void setNow(std::optional<QDateTime> fixed);

} // namespace sys
