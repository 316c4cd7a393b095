#include "core/HeaderRefresh.h"

namespace ui {
namespace {

std::function<void()> &registered()
{
    static std::function<void()> refresh;
    return refresh;
}

} // namespace

void setHeaderRefresh(std::function<void()> refresh)
{
    registered() = std::move(refresh);
}

void refreshHeader()
{
    if (registered())
        registered()();
}

} // namespace ui
