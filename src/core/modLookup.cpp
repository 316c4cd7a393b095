#include "core/modLookup.h"

int getDefaultTwo(const BS &, int)
{
    return 2;
}
