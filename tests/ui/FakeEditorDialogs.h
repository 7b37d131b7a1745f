#pragma once

#include "tests/support/ScriptedAnswers.h"

#include "app/ui/EditorDialogs.h"

#include <deque>

namespace testsupport
{

/** Answers the editor's dialogs from a script and records what was asked. An
    unscripted chooser answers as if the user had cancelled.
*/
class FakeEditorDialogs final : public EditorDialogs
{
public:
    struct Alert
    {
        juce::String title, message;
    };

    std::optional<juce::File> chooseFileToLoad() override
    {
        ++numLoadChoosers;
        return nextScriptedAnswer (filesToLoad);
    }

    std::optional<juce::File> chooseFileToSave() override
    {
        ++numSaveChoosers;
        return nextScriptedAnswer (filesToSave);
    }

    std::optional<juce::String> chooseOutputPort (juce::Component& centreAround) override
    {
        portDialogCentre = &centreAround;
        ++numPortDialogs;
        return nextScriptedAnswer (portChoices);
    }

    void showAlert (const juce::String& title, const juce::String& message) override
    {
        alerts.push_back ({ title, message });
    }

    void showAbout() override
    {
        ++numAboutBoxes;
    }

    void runFirmwareUpgrade (juce::Component& centreAround) override
    {
        firmwareCentre = &centreAround;
        ++numFirmwareWizards;
    }

    //==============================================================================
    std::deque<std::optional<juce::File>> filesToLoad, filesToSave;
    std::deque<std::optional<juce::String>> portChoices;

    std::vector<Alert> alerts;
    int numLoadChoosers = 0, numSaveChoosers = 0, numPortDialogs = 0;
    int numAboutBoxes = 0, numFirmwareWizards = 0;
    juce::Component* portDialogCentre = nullptr;
    juce::Component* firmwareCentre = nullptr;
};

} // namespace testsupport
