#include "app/device/Messages.h"

#include "app/model/Arrays.h"
#include "app/model/ControllerMap.h"

namespace Messages
{

namespace
{
    void appendEntry (juce::MidiBuffer& buffer, const juce::uint8 (&entry)[2])
    {
        buffer.addEvent (makeCarrier (entry[0]), 0);
        buffer.addEvent (makeCarrier (entry[1]), 0);
    }

    // A control that a map lacks, or a function outside the list, sends entry 0,
    // which belongs to no control (00 00), rather than reading outside the table.
    constexpr int noControlSlot = 0;
}

juce::MidiMessage makeStart (int pid, int mode)
{
    const juce::uint8 data[] = { 0xF0, 0x1D, 0x03,
                                 (juce::uint8) ((pid >> 7) & 0x7F), (juce::uint8) (pid & 0x7F),
                                 (juce::uint8) (mode == CtMode::ProTools ? 1 : 0),
                                 (juce::uint8) (mode + 1),
                                 0x7F, 0xF7 };
    return juce::MidiMessage (data, (int) sizeof (data));
}

juce::MidiMessage makeEnd()
{
    const juce::uint8 data[] = { 0x9E, 0x7F, 0x7F };
    return juce::MidiMessage (data, (int) sizeof (data));
}

juce::MidiMessage makeCarrier (juce::uint8 byte)
{
    // Built from raw bytes: juce::MidiMessage::noteOn would turn a velocity of 0
    // into something else, and the device wants the nibble as it is.
    const juce::uint8 data[] = { 0x9F, (juce::uint8) (byte >> 4), (juce::uint8) (byte & 0x0F) };
    return juce::MidiMessage (data, (int) sizeof (data));
}

void mapButton (juce::MidiBuffer& buffer, int mode, const juce::ValueTree& control)
{
    if (mode == CtMode::ProTools)
        mapButtonHUI (buffer, mode, control);
    else
        mapButtonMackie (buffer, mode, control);
}

void mapButtonMackie (juce::MidiBuffer& buffer, int mode, const juce::ValueTree& control)
{
    if (! juce::isPositiveAndBelow (mode, CtMode::numTypes))
        return;

    const auto slot = Defa::slotForId (control.getProperty (Tags::id));
    appendEntry (buffer, arrForMoid[mode][slot >= 0 ? slot : noControlSlot]);
}

void mapButtonHUI (juce::MidiBuffer& buffer, int, const juce::ValueTree& control)
{
    const int value = control.getProperty (Tags::value);
    appendEntry (buffer, pt[juce::isPositiveAndBelow (value, 50) ? value + 1 : noControlSlot]);
}

} // namespace Messages
