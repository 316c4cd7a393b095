#include "platform/sys/Yield.h"

namespace sys {

namespace {
int depth = 0;
}

YieldScope::YieldScope()
{
    ++depth;
}

YieldScope::~YieldScope()
{
    --depth;
}

int yieldDepth()
{
    return depth;
}

} // namespace sys
