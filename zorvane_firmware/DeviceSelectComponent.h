#pragma once

#include "zorvane_core/MidiPorts.h"
#include "zorvane_core/Waits.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zorvane
{

//==============================================================================
/** The upgrader's port picker: a list of the MIDI inputs with "Select" and
    "Cancel", shown modally in a dialog window.

    "Select" ends the dialog with 1 and the caller reads `selectedName`; "Cancel"
    closes it (result 0). The ports are listed once, when the picker is built.
*/
class DeviceSelectComponent final : public juce::Component,
                                    public juce::Button::Listener,
                                    public juce::ComboBox::Listener
{
public:
    explicit DeviceSelectComponent (MidiBackend& midi = MidiPorts::get(), Waits& waits = Waits::real());
    ~DeviceSelectComponent() override;

    //==============================================================================
    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;

    //==============================================================================
    /** The layout both of the upgrader's pickers share: the list across the middle,
        the confirm and cancel buttons side by side in the bottom right corner.
    */
    static void layOutPicker (juce::Component& list, juce::Component& confirmButton,
                              juce::Component& cancelButton, int width, int height);

    /** The port the list shows now; empty when there are no ports. */
    juce::String selectedName;

private:
    //==============================================================================
    juce::ComboBox deviceList;
    juce::TextButton cancelButton { "Cancel" };
    juce::TextButton selectButton { "Select" };

    Waits& waits;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceSelectComponent)
};

} // namespace zorvane
