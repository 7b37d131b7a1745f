#pragma once

#include <juce_events/juce_events.h>

namespace zorvane
{

//==============================================================================
/** The pauses and waits of the MIDI protocols.

    The program uses the real ones; tests hand in a fake so that a device that
    never answers fails in microseconds instead of seconds.
*/
class Waits
{
public:
    virtual ~Waits() = default;

    /** Blocks the calling thread (juce::Thread::sleep). */
    virtual void sleep (int milliseconds) = 0;

    /** Runs the message loop for about this long (runDispatchLoopUntil), or
        sleeps when there is no message loop to run.
    */
    virtual void runMessageLoop (int milliseconds) = 0;

    /** The waits of a real run. */
    static Waits& real();
};

} // namespace zorvane
