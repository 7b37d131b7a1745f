#pragma once

#include "zorvane_core/MidiPorts.h"

namespace zorvane
{

namespace DeviceHelpers
{
    /** The names of the MIDI outputs (or inputs) in the order the system lists
        them, each name once (the first stays), without empty or blank names.
    */
    juce::StringArray getDeviceNames (bool outputs, MidiBackend& midi = MidiPorts::get());
}

} // namespace zorvane
