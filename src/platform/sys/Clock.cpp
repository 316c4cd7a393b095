#include "platform/sys/Clock.h"

namespace sys {
namespace {
std::optional<QDateTime> &fixedNow()
{
    static std::optional<QDateTime> value;
    return value;
}
} // namespace

QDateTime now()
{
    return fixedNow().value_or(QDateTime::currentDateTime());
}

void setNow(std::optional<QDateTime> fixed)
{
    fixedNow() = std::move(fixed);
}

} // namespace sys
