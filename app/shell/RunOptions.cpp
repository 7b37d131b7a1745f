#include "app/shell/RunOptions.h"

namespace
{
    juce::File fileFrom (const juce::String& text)
    {
        if (text.trim().isEmpty())
            return {};

        return juce::File::getCurrentWorkingDirectory().getChildFile (text.trim());
    }
}

//==============================================================================
RunOptions RunOptions::fromEnvironment()
{
    return fromVariables ([] (const char* name)
    {
        return juce::SystemStats::getEnvironmentVariable (name, {});
    });
}

RunOptions RunOptions::fromVariables (const std::function<juce::String (const char*)>& lookup)
{
    RunOptions options;
    options.simulatedMidi = lookup ("TRAVIK_MIDI").trim().equalsIgnoreCase ("simulated");
    options.settingsFolder = fileFrom (lookup ("TRAVIK_SETTINGS_DIR"));

    // A log without the simulated device would have nothing to record.
    if (options.simulatedMidi)
        options.simulationLog = fileFrom (lookup ("TRAVIK_SIM_LOG"));

    return options;
}
