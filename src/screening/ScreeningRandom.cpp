#include "screening/ScreeningRandom.h"

#include <random>

namespace {

std::optional<ScreeningKeys> &fixedKeys()
{
    static std::optional<ScreeningKeys> keys;
    return keys;
}

std::mt19937 &generator()
{
    static std::mt19937 engine{std::random_device{}()};
    return engine;
}

} // namespace

ScreeningKeys ScreeningRandom::draw()
{
    if (fixedKeys())
        return *fixedKeys();
    std::uniform_int_distribution<int> inner(0, 3);
    std::uniform_int_distribution<int> outer(0, 4);
    ScreeningKeys keys;
    keys.inner = inner(generator());
    keys.outer = outer(generator());
    return keys;
}

void ScreeningRandom::setFixed(std::optional<ScreeningKeys> keys)
{
    fixedKeys() = keys;
}
