#include "core/BusyGuard.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/sys/Yield.h"

#include <vector>

namespace {

struct RunningJob {
    QString name;
    int yieldDepth; // the depth at which it started
};

std::vector<RunningJob> runningJobs;
std::uint64_t outerJobs = 0;

} // namespace

BusyGuard::BusyGuard(const QString &job)
    : m_started(runningJobs.empty() || sys::yieldDepth() <= runningJobs.back().yieldDepth)
{
    if (m_started) {
        if (runningJobs.empty())
            ++outerJobs;
        runningJobs.push_back({job, sys::yieldDepth()});
    } else
        writeLog(glngLogFileNo,
                 runningJobs.back().name + QStringLiteral("の実行中のため、") + job + QStringLiteral("は行いません"));
}

BusyGuard::~BusyGuard()
{
    if (m_started)
        runningJobs.pop_back();
}

bool BusyGuard::isBusy()
{
    return !runningJobs.empty();
}

std::uint64_t BusyGuard::outerJobsStarted()
{
    return outerJobs;
}
