#pragma once

#include <juce_core/juce_core.h>

#include <functional>

//==============================================================================
/** The switches a run takes from its environment, read once at start-up.

    The program has no configuration and ignores its command line; these
    variables exist so that it can be demonstrated, tested and measured on a
    machine without a Dalvi V+ and without touching the user's settings:

    - TRAVIK_MIDI=simulated: MIDI goes to an in-process virtual bus with a
      simulated Dalvi V+ plugged in (output port "Dalvi V+") instead of the
      operating system's MIDI service. Any other value, or none, means the
      system's service.
    - TRAVIK_SIM_LOG=<file>: with the simulated device, every transfer it
      receives completely is appended to this file, one MIDI message a line in
      hex, as `travik bytes` prints it.
    - TRAVIK_SETTINGS_DIR=<folder>: the settings file goes into this folder
      instead of the system's application-support folders.
    - TRAVIK_QUIT_AFTER_FIRST_PAINT=1: the program prints the time of its first
      painted frame and quits (start-up measurement; read by FirstPaintProbe,
      which the minimal window program of the measurement shares).

    Relative paths are taken from the working directory.
*/
struct RunOptions
{
    bool simulatedMidi = false;
    juce::File simulationLog;           // juce::File() when not logging
    juce::File settingsFolder;          // juce::File() for the system's folders

    /** Reads the process's environment. */
    static RunOptions fromEnvironment();

    /** Reads the variables through `lookup`, which returns an empty string for a
        variable that is not set.
    */
    static RunOptions fromVariables (const std::function<juce::String (const char* name)>& lookup);
};
