#pragma once

#include "app/ui/EditorDialogs.h"

//==============================================================================
/** The editor's dialogs as the program shows them: native file choosers, the
    "Select your device" dialog, JUCE alert windows and the About box.
*/
class JuceEditorDialogs : public EditorDialogs
{
public:
    JuceEditorDialogs();
    ~JuceEditorDialogs() override;

    //==============================================================================
    std::optional<juce::File> chooseFileToLoad() override;
    std::optional<juce::File> chooseFileToSave() override;
    std::optional<juce::String> chooseOutputPort (juce::Component& centreAround) override;
    void showAlert (const juce::String& title, const juce::String& message) override;
    void showAbout() override;
    void runFirmwareUpgrade (juce::Component& centreAround) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceEditorDialogs)
};
