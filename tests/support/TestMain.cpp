#include <gtest/gtest.h>

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

// One main for every test: JUCE's message manager exists for the whole run, so
// components can be built and driven without a window or a display.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
