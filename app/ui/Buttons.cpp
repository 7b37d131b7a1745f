#include "app/ui/Buttons.h"

#include "app/device/ThisProduct.h"
#include "app/model/Arrays.h"

namespace
{
    constexpr int noteOnCode = 9;
    constexpr int controlChangeCode = 11;
    constexpr int pitchBendCode = 14;

    /** The mode of the map being edited; Mackie when there is no device model
        (only during shutdown, after the model is gone).
    */
    CtMode currentMapMode()
    {
        if (auto* model = DalviPlus::singletonHolder.get())
            return model->getCurrentMap().getCtMode();

        return CtMode::Mackie;
    }

    /** The code-table entry the setters write for this control in this mode, or
        nullptr when there is none: an unbound button, or a Pro Tools map, whose
        HUI codes belong to the functions, not to the buttons.
    */
    juce::uint8* entryFor (CtMode mode, int id)
    {
        const auto slot = Defa::slotForId (id);

        if (slot < 0 || mode == CtMode::ProTools)
            return nullptr;

        return arrForMoid[(int) mode][slot];
    }

    /** A record of NOTE, or empty for a number the table does not hold (a code
        table entry written from a file can carry any byte).
    */
    juce::String noteName (int number)
    {
        if (number < 0 || number >= 128)
            return {};

        return NOTE[number];
    }

    /** " C(4)" -> "C4", "C#(-1)" -> "C#-1": the padding and brackets line the
        labels up, but a screen reader would read them out.
    */
    juce::String spokenNoteName (int number)
    {
        return noteName (number).trim().removeCharacters ("()");
    }

    juce::String proToolsFunctionName (int flag, const juce::var& value)
    {
        return Defa::getName (CtMode::ProTools, flag, Defa::indexForvalue (CtMode::ProTools, flag, (int) value));
    }
}

//==============================================================================
MappableButton::MappableButton (const juce::String& name)
    : juce::TextButton (name)
{
}

MappableButton::~MappableButton() = default;

//==============================================================================
void MappableButton::setMapping (juce::ValueTree control)
{
    id = control.getProperty (Tags::id);
    type.referTo (control.getPropertyAsValue (Tags::type, nullptr));
    chan.referTo (control.getPropertyAsValue (Tags::chan, nullptr));
    value.referTo (control.getPropertyAsValue (Tags::value, nullptr));
    updateText();
}

// The setters take only what the device can be sent. The status byte holds both
// the message type and the channel, so an out-of-range argument would otherwise
// spill into the other nibble (channel 17 turns a Note On into a Poly Pressure),
// and a data byte above 127 is no MIDI data at all. Such a call leaves the
// control as it was.

void MappableButton::setValue (int v)
{
    if (juce::isPositiveAndBelow (v, 128))
    {
        if (auto* entry = entryFor (currentMapMode(), id))
            entry[1] = (juce::uint8) v;

        value = v;
    }

    updateText();
}

void MappableButton::setChan (int c)
{
    if (c >= 1 && c <= 16)
    {
        if (auto* entry = entryFor (currentMapMode(), id))
            entry[0] = (juce::uint8) ((entry[0] & 0xf0) | (c - 1));

        chan = c;
    }

    updateText();
}

void MappableButton::setMsgType (int code)
{
    const auto slug = Defa::getMstyStr (code);

    if (slug.isNotEmpty())
    {
        if (auto* entry = entryFor (currentMapMode(), id))
            entry[0] = (juce::uint8) ((entry[0] & 0x0f) | (code << 4));

        type = slug;
    }

    updateText();
}

//==============================================================================
juce::String MappableButton::getLabelText()
{
    const auto mode = currentMapMode();

    if (mode == CtMode::ProTools)
        return proToolsFunctionName (flag, value.getValue());

    switch (Defa::getMsgType (mode, id))
    {
        case noteOnCode:        return noteName (Defa::getMsVal (id));
        case controlChangeCode: return "CC" + juce::String (Defa::getMsVal (id));
        case pitchBendCode:     return "PB." + juce::String (Defa::getChan (mode, id));
        default:                return "ErrOnMidiMsgType";
    }
}

juce::String MappableButton::getSpokenAssignment() const
{
    const auto mode = currentMapMode();

    if (mode == CtMode::ProTools)
    {
        const auto name = proToolsFunctionName (flag, value.getValue());
        return "Pro Tools function: " + (name.isEmpty() ? juce::String ("none") : name);
    }

    const auto channel = "channel " + juce::String (Defa::getChan (mode, id));
    const auto number = Defa::getMsVal (id);

    switch (Defa::getMsgType (mode, id))
    {
        case noteOnCode:        return "Note On, " + channel + ", " + spokenNoteName (number);
        case controlChangeCode: return "Control Change, " + channel + ", controller " + juce::String (number);
        case pitchBendCode:     return "Pitch Bend, " + channel;
        default:                return "Unknown message type";
    }
}

void MappableButton::updateText()
{
    setButtonText (getLabelText());

    // Screen readers hear the same assignment the label shows, so both change together.
    setTitle ("Button " + juce::String (id));
    setDescription (getSpokenAssignment());
}

//==============================================================================
CommandButton::CommandButton() = default;

CommandButton::~CommandButton() = default;
