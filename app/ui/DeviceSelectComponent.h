#pragma once

#include "zorvane_core/MidiPorts.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The content of the "Select your device" dialog: a list of the MIDI outputs that
    look like a Dalvi V+, with Connect and Cancel.

    The dialog runs modally; it ends with 1 from Connect and 0 from Cancel, and the
    caller then reads `selectedName`. The port list is read once, when the dialog is
    built.
*/
class DeviceSelectComponent : public juce::Component,
                              public juce::Button::Listener,
                              public juce::ComboBox::Listener
{
public:
    explicit DeviceSelectComponent (zorvane::MidiBackend& midi = zorvane::MidiPorts::get());
    ~DeviceSelectComponent() override;

    //==============================================================================
    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;

    //==============================================================================
    /** True when the list shows a port that Connect would accept. */
    bool canConnect() const;

    /** The output names the dialog offers, in the order the system lists them:
        duplicates and blank names dropped, then only those with "Dalvi" in them.
    */
    static juce::StringArray findDalviOutputs (const juce::StringArray& outputNames);

    /** The port name the list shows now; empty when there is none. */
    juce::String selectedName;

private:
    //==============================================================================
    juce::ComboBox deviceList;
    juce::TextButton cancelButton { "Cancel" };
    juce::TextButton connectButton { "Connect" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceSelectComponent)
};
