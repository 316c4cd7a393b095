#include "core/BusyGuard.h"

namespace {
int runningJobs = 0;
}

BusyGuard::BusyGuard()
{
    ++runningJobs;
}

BusyGuard::~BusyGuard()
{
    --runningJobs;
}

bool BusyGuard::isBusy()
{
    return runningJobs > 0;
}
