#pragma once

#include <optional>

// The random draw of the screening's sort keys: inner 0 to 3, outer 0 to 4, each value
// equally likely, as Int(Rnd × 4) and Int(Rnd × 5) give them. The generator is seeded
// once per run of the program from the system's random source, so two screenings in the
// same second still draw independently.
struct ScreeningKeys {
    int inner = 0;
    int outer = 0;
    bool operator==(const ScreeningKeys &) const = default;
};

class ScreeningRandom {
public:
    static ScreeningKeys draw();

    // Makes every draw give `keys` (tests); std::nullopt returns to random draws.
    static void setFixed(std::optional<ScreeningKeys> keys);
};
