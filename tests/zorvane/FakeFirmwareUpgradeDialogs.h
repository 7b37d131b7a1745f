#pragma once

#include "tests/support/ScriptedAnswers.h"

#include "zorvane_firmware/DeviceHelpers.h"
#include "zorvane_firmware/FirmwareSelectComponent.h"
#include "zorvane_firmware/FirmwareUpgradeComponent.h"
#include "zorvane_firmware/FirmwareUpgradeDialogs.h"

#include <deque>
#include <functional>
#include <vector>

namespace testsupport
{

/** Answers the upgrader's dialogs from a script and records what was asked. An
    unscripted picker or chooser answers as if the user had cancelled.
*/
class FakeFirmwareUpgradeDialogs final : public zorvane::FirmwareUpgradeDialogs
{
public:
    struct Alert
    {
        AlertKind kind;
        juce::String title, message;
    };

    //==============================================================================
    std::optional<juce::String> choosePort (juce::Component& centreAround, zorvane::MidiBackend& midi,
                                            zorvane::Waits&) override
    {
        offeredPorts.push_back (zorvane::DeviceHelpers::getDeviceNames (false, midi));
        pickerCentre = &centreAround;

        if (onChoosePort != nullptr)
            onChoosePort();

        return nextScriptedAnswer (portChoices);
    }

    /** Picks the scripted entry in a real version picker, so the address is the one
        the program would download.
    */
    std::optional<juce::URL> chooseFirmwareVersion (const juce::ValueTree& firmwares, const juce::String& serverBase,
                                                    juce::Component&) override
    {
        offeredFirmwares.push_back (firmwares.createCopy());

        const auto choice = nextScriptedAnswer (versionChoices);

        if (! choice.has_value())
            return std::nullopt;

        zorvane::FirmwareSelectComponent picker (firmwares, serverBase);

        for (auto* child : picker.getChildren())
            if (auto* list = dynamic_cast<juce::ComboBox*> (child))
                list->setSelectedItemIndex (*choice, juce::dontSendNotification);

        return picker.getDownloadUrl();
    }

    std::optional<juce::File> chooseFirmwareFile (const juce::File& startingPoint) override
    {
        chooserStarts.push_back (startingPoint);
        return nextScriptedAnswer (files);
    }

    void showAlert (AlertKind kind, const juce::String& title, const juce::String& message) override
    {
        alerts.push_back ({ kind, title, message });
    }

    void showAbout (const juce::String& title, const juce::String& message) override
    {
        aboutBoxes.push_back ({ AlertKind::info, title, message });
    }

    void showDeviceNameHelp (const juce::String& helpText) override
    {
        helpTexts.add (helpText);
    }

    bool confirmHubWarning (const juce::String& title, const juce::String& message) override
    {
        hubWarnings.push_back ({ AlertKind::info, title, message });
        return acceptHubWarning;
    }

    int runWizardDialog (std::unique_ptr<zorvane::FirmwareUpgradeComponent> wizard, juce::Component* centreAround) override
    {
        ++numWizardDialogs;
        wizardCentre = centreAround;
        return onRunWizard != nullptr ? onRunWizard (*wizard) : 0;
    }

    //==============================================================================
    std::deque<std::optional<juce::String>> portChoices;
    std::deque<std::optional<int>> versionChoices;
    std::deque<std::optional<juce::File>> files;
    bool acceptHubWarning = true;

    std::function<void()> onChoosePort;
    std::function<int (zorvane::FirmwareUpgradeComponent&)> onRunWizard;

    std::vector<juce::StringArray> offeredPorts;
    std::vector<juce::ValueTree> offeredFirmwares;
    std::vector<juce::File> chooserStarts;
    std::vector<Alert> alerts, aboutBoxes, hubWarnings;
    juce::StringArray helpTexts;
    int numWizardDialogs = 0;
    juce::Component* pickerCentre = nullptr;
    juce::Component* wizardCentre = nullptr;
};

} // namespace testsupport
