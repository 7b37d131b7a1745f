#include "zorvane_core/Waits.h"

namespace zorvane
{

namespace
{
    class RealWaits final : public Waits
    {
    public:
        void sleep (int milliseconds) override
        {
            juce::Thread::sleep (milliseconds);
        }

        void runMessageLoop (int milliseconds) override
        {
           #if JUCE_MODAL_LOOPS_PERMITTED
            if (auto* mm = juce::MessageManager::getInstanceWithoutCreating())
                if (mm->isThisTheMessageThread())
                {
                    mm->runDispatchLoopUntil (milliseconds);
                    return;
                }
           #endif

            juce::Thread::sleep (milliseconds);
        }
    };
}

Waits& Waits::real()
{
    static RealWaits waits;
    return waits;
}

} // namespace zorvane
