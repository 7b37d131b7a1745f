#pragma once

#include "tools/simdevice/SimulatedDalvi.h"
#include "zorvane_core/VirtualMidiBackend.h"

#include <vector>

//==============================================================================
/** The editor without hardware: while this object exists, the process's MIDI
    backend is an in-process virtual bus on which a simulated Dalvi V+ is plugged
    in, listed as the output (and input) port "Dalvi V+".

    It has to be created before anything lists or opens MIDI ports, and it has to
    outlive everything that holds on to the backend (the device model does).
    When given a log file, it appends every transfer the device received
    completely to that file, in the format of `travik bytes`, and after each
    firmware upgrade a line "firmware sha256 <hex> <size>" for the image its
    bootloader holds.
*/
class SimulationMode
{
public:
    explicit SimulationMode (const juce::File& transferLog = {});
    ~SimulationMode();

    //==============================================================================
    zorvane::VirtualMidiBackend& getBus() noexcept  { return bus; }
    SimulatedDalvi& getDevice() noexcept            { return device; }

    /** The messages as `travik bytes` prints them: one a line, bytes in upper-case
        hex separated by blanks.
    */
    static juce::String formatMessages (const std::vector<std::vector<juce::uint8>>& messages);

private:
    void messageReceived();

    zorvane::VirtualMidiBackend bus;
    SimulatedDalvi device { bus };
    const juce::File log;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulationMode)
};
