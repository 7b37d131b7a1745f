#pragma once

#include "app/ui/Buttons.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The control panel: the device's 50 mappable buttons in five rows of ten, each
    with a caption above it, bound to the controls of the current map.

    Clicks are the main view's business; it listens to the buttons itself.
*/
class ControlSection : public juce::Component,
                       public juce::Button::Listener
{
public:
    static constexpr int numRows = 5;
    static constexpr int numColumns = 10;
    static constexpr int numControls = numRows * numColumns;

    ControlSection();
    ~ControlSection() override;

    //==============================================================================
    /** Binds button k to control id k + 1 of the current map and colours it; call
        after any change of mode or map.
    */
    void setButtonTypes();

    /** Button k shows control id k + 1. */
    MappableButton& getButton (int index) const      { return *controlButtons.getUnchecked (index); }
    juce::Label& getCaption (int index) const        { return *captionLabels.getUnchecked (index); }

    //==============================================================================
    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

private:
    //==============================================================================
    juce::OwnedArray<MappableButton> controlButtons;
    juce::OwnedArray<juce::Label> captionLabels;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControlSection)
};
