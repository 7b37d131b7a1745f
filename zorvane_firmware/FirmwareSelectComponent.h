#pragma once

#include "zorvane_core/Network.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zorvane
{

//==============================================================================
/** The upgrader's version picker: the entries of a firmware list, as
    "<name> v<version>" in the list's order, with "Load" and "Cancel".

    "Load" ends the dialog with 1 and the caller asks getDownloadUrl(); "Cancel"
    closes it (result 0). The picker works on its own copy of the list.
*/
class FirmwareSelectComponent final : public juce::Component,
                                      public juce::Button::Listener,
                                      public juce::ComboBox::Listener
{
public:
    explicit FirmwareSelectComponent (const juce::ValueTree& firmwares,
                                      juce::String serverBase = Network::getFirmwareServerBase());
    ~FirmwareSelectComponent() override;

    //==============================================================================
    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;

    //==============================================================================
    /** The server's base address followed by the selected entry's "fw" path, or an
        empty URL when no entry is selected.
    */
    juce::URL getDownloadUrl() const;

private:
    //==============================================================================
    juce::ComboBox versionList;
    juce::TextButton cancelButton { "Cancel" };
    juce::TextButton loadButton { "Load" };
    juce::ValueTree entries;

    const juce::String base;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareSelectComponent)
};

} // namespace zorvane
