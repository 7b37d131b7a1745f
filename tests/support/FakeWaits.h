#pragma once

#include "zorvane_core/Waits.h"

#include <functional>

namespace testsupport
{

/** Waits that return at once and only count: a protocol time-out costs nothing.
    onWait, when set, runs at every wait (a test can make a device answer there).
*/
class FakeWaits final : public zorvane::Waits
{
public:
    void sleep (int milliseconds) override
    {
        sleptMs += milliseconds;
        ++numSleeps;
        if (onWait) onWait();
    }

    void runMessageLoop (int milliseconds) override
    {
        loopMs += milliseconds;
        ++numLoops;
        if (onWait) onWait();
    }

    long long totalMs() const { return sleptMs + loopMs; }

    long long sleptMs = 0, loopMs = 0;
    int numSleeps = 0, numLoops = 0;
    std::function<void()> onWait;
};

} // namespace testsupport
