#pragma once

#include "zorvane_core/VirtualMidiBackend.h"

#include <initializer_list>

namespace testsupport
{

/** A device on the virtual bus that takes everything and answers nothing. */
struct SilentDevice final : public zorvane::VirtualMidiDevice
{
    void receive (const juce::String&, const juce::MidiMessage&) override {}
};

/** A virtual bus with one silent device plugged in under each name, in this order. */
struct VirtualPorts
{
    explicit VirtualPorts (std::initializer_list<const char*> names)
    {
        for (auto* name : names)
            midi.plugIn (name, device);
    }

    SilentDevice device;
    zorvane::VirtualMidiBackend midi;
};

} // namespace testsupport
