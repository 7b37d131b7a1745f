#pragma once

#include "app/ui/Buttons.h"
#include "app/ui/ComboBoxes.h"
#include "app/ui/ControlSection.h"
#include "app/ui/EditorDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The main editor view: the control panel, the mode and attribute combo boxes
    and the command row, over the background with the maker's logo and the
    product wordmark.

    It keeps no map data of its own; every read and write goes through the device
    model and the control buttons. Everything modal is asked of `EditorDialogs`.
*/
class ContentComponent : public juce::Component,
                         public juce::Button::Listener,
                         public juce::ComboBox::Listener
{
public:
    explicit ContentComponent (EditorDialogs& dialogs);
    ~ContentComponent() override;

    //==============================================================================
    void mouseMove (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void resized() override;

    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;

    //==============================================================================
    /** Where the product wordmark is drawn. */
    juce::Rectangle<int> prodLogoArea() const;

    /** Where the maker's logo is drawn (at half its size); clicking it opens the About box. */
    juce::Rectangle<int> logoArea() const;

    void paintLogos (juce::Graphics&);
    void updLayoutOfComboBoxes();
    void updLayoutOfCommandBtns();
    void showAboutDlg() const;

    //==============================================================================
    /** The selected control button, or nullptr. */
    MappableButton* findSelectedControl();
    void clearToggleStates();

    /** Rebinds the panel to the current map and refreshes the attribute boxes of
        the selected control, which stays selected.
    */
    void stabilizeControls();

    /** Sets the value box's caption and fills the three attribute boxes for a control. */
    void updAttrBoxesWith (MappableButton& button);

    /** Fills, enables and selects one attribute box for a control. */
    void updWith (MapComboBox& box, MappableButton& button);

    //==============================================================================
    // The children, for whoever drives the view without a mouse.
    CtModeComboBox& getModeComboBox()           { return modeComboBox; }
    MapComboBox& getValueComboBox()             { return valueComboBox; }
    MapComboBox& getChannelComboBox()           { return channelComboBox; }
    MapComboBox& getMsgTypeComboBox()           { return msgTypeComboBox; }
    juce::Label& getValueCaption()              { return valueCaption; }
    ControlSection& getControlSection()         { return controlSection; }

    /** The command button with this text, or nullptr. */
    CommandButton* findCommandButton (const juce::String& text);

    /** True while the pointer rests on the logo, which is when the About hint shows. */
    bool isLogoHovered() const noexcept         { return logoHovered; }

private:
    //==============================================================================
    void selectControl (MappableButton&);
    void changeMode();
    void editSelectedControl (juce::ComboBox&);

    void connect();
    void sendData();
    void loadFile();
    void saveFile();

    //==============================================================================
    EditorDialogs& dialogs;

    juce::TooltipWindow tooltipWindow { nullptr, 700 };
    juce::Point<float> lastMousePosition;

    juce::Image logoImage;
    juce::Image prodImage;
    juce::Image backgroundImage;

    juce::Label modeCaption, valueCaption, msgTypeCaption, channelCaption;

    CtModeComboBox modeComboBox;
    MapComboBox valueComboBox;
    MapComboBox channelComboBox;
    MapComboBox msgTypeComboBox;

    CommandButton saveButton, loadButton, sendButton, firmwareButton, connectButton;

    ControlSection controlSection;

    bool logoHovered = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComponent)
};
