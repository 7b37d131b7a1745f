#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>
#include <cstdio>

//==============================================================================
/** The start-up measurement's stop watch: a see-through component laid over a
    window's content. The window paints its content before the components in
    front of it, so the first call of this paint() comes right after the
    content's first complete paint. It then prints the wall-clock time, in
    microseconds since the epoch, as "first-paint-us <time>" on standard output
    and asks the application to quit.

    The editor and the minimal window program it is measured against use this
    same class; it exists only when TRAVIK_QUIT_AFTER_FIRST_PAINT=1.
*/
class FirstPaintProbe final : public juce::Component
{
public:
    /** Lays the probe over the whole window, in front of its content. */
    explicit FirstPaintProbe (juce::Component& window)
    {
        setInterceptsMouseClicks (false, false);
        setWantsKeyboardFocus (false);
        setOpaque (false);
        setBounds (window.getLocalBounds());

        // ResizableWindow hides addAndMakeVisible to keep content out of the
        // frame; the probe belongs on the frame, over the content.
        window.juce::Component::addAndMakeVisible (this);
    }

    /** True when the environment asks for the measurement. */
    static bool isRequested()
    {
        return juce::SystemStats::getEnvironmentVariable ("TRAVIK_QUIT_AFTER_FIRST_PAINT", {}).trim() == "1";
    }

    void paint (juce::Graphics&) override
    {
        if (painted)
            return;

        painted = true;

        const auto now = std::chrono::duration_cast<std::chrono::microseconds> (
                             std::chrono::system_clock::now().time_since_epoch()).count();
        std::printf ("first-paint-us %lld\n", (long long) now);
        std::fflush (stdout);

        // Posts the quit message: the frame is finished and shown first.
        juce::JUCEApplicationBase::quit();
    }

private:
    bool painted = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirstPaintProbe)
};
