#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_data_structures/juce_data_structures.h>

//==============================================================================
/** The messages of the mapping transfer.

    A map goes to the device as one System Exclusive start message naming the
    product and the mode, two carrier messages per control in the device's order,
    and an end message. A carrier message moves one byte as a Note On on channel
    16: the high nibble as note number, the low nibble as velocity.
*/
namespace Messages
{
    /** F0 1D 03 <pid hi> <pid lo> <HUI flag> <mode + 1> 7F F7. */
    juce::MidiMessage makeStart (int pid, int mode);

    /** 9E 7F 7F: Note On, channel 15, note 127, velocity 127. */
    juce::MidiMessage makeEnd();

    /** 9F <b >> 4> <b & 0x0F>; a velocity of 0 stays a Note On. */
    juce::MidiMessage makeCarrier (juce::uint8 byte);

    /** Appends the two carrier messages of one control to the buffer. */
    void mapButton (juce::MidiBuffer& buffer, int mode, const juce::ValueTree& control);

    /** Mackie, Logic, User Defined: the entry of the control's id in the mode's code table. */
    void mapButtonMackie (juce::MidiBuffer& buffer, int mode, const juce::ValueTree& control);

    /** Pro Tools: the entry of the control's function (its "value") in the Pro Tools table. */
    void mapButtonHUI (juce::MidiBuffer& buffer, int mode, const juce::ValueTree& control);
}
