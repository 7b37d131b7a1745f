#include "zorvane_firmware/FirmwareUpgradeDialogs.h"

#include "zorvane_firmware/DeviceSelectComponent.h"
#include "zorvane_firmware/FirmwareSelectComponent.h"
#include "zorvane_firmware/FirmwareUpgrade.h"
#include "zorvane_firmware/FirmwareUpgradeComponent.h"

#include <cstdlib>

namespace zorvane
{

namespace
{
    constexpr int confirmed = 1;

    /** Runs a picker modally; the picker stays with the caller, who reads the choice afterwards. */
    bool runPicker (juce::Component& content, const juce::String& title, juce::Component& centreAround)
    {
        juce::DialogWindow::LaunchOptions options;
        options.content.setNonOwned (&content);
        options.dialogTitle = title;
        options.componentToCentreAround = &centreAround;
        JuceFirmwareUpgradeDialogs::applyCommonSettings (options);

        return options.runModal() == confirmed;
    }
}

//==============================================================================
JuceFirmwareUpgradeDialogs& JuceFirmwareUpgradeDialogs::getInstance()
{
    static JuceFirmwareUpgradeDialogs dialogs;
    return dialogs;
}

void JuceFirmwareUpgradeDialogs::applyCommonSettings (juce::DialogWindow::LaunchOptions& options)
{
    options.escapeKeyTriggersCloseButton = true;
    options.useNativeTitleBar = true;
    options.resizable = false;
    options.useBottomRightCornerResizer = false;
}

//==============================================================================
std::optional<juce::String> JuceFirmwareUpgradeDialogs::choosePort (juce::Component& centreAround,
                                                                    MidiBackend& midi, Waits& waits)
{
    DeviceSelectComponent picker (midi, waits);

    if (! runPicker (picker, "Choose Your Zorvane Device", centreAround))
        return std::nullopt;

    return picker.selectedName;
}

std::optional<juce::URL> JuceFirmwareUpgradeDialogs::chooseFirmwareVersion (const juce::ValueTree& firmwares,
                                                                            const juce::String& serverBase,
                                                                            juce::Component& centreAround)
{
    FirmwareSelectComponent picker (firmwares, serverBase);

    if (! runPicker (picker, "Firmware Version", centreAround))
        return std::nullopt;

    return picker.getDownloadUrl();
}

std::optional<juce::File> JuceFirmwareUpgradeDialogs::chooseFirmwareFile (const juce::File& startingPoint)
{
    juce::FileChooser chooser ("Choose The Firmware File", startingPoint, "*.bin", true);

    if (! chooser.browseForFileToOpen())
        return std::nullopt;

    return chooser.getResult();
}

void JuceFirmwareUpgradeDialogs::showAlert (AlertKind kind, const juce::String& title, const juce::String& message)
{
    juce::AlertWindow::showMessageBox (kind == AlertKind::info ? juce::MessageBoxIconType::InfoIcon
                                                               : juce::MessageBoxIconType::WarningIcon,
                                       title, message);
}

void JuceFirmwareUpgradeDialogs::showAbout (const juce::String& title, const juce::String& message)
{
    juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, title, message);
}

void JuceFirmwareUpgradeDialogs::showDeviceNameHelp (const juce::String& helpText)
{
   #if JUCE_MAC
    // What the command reports doesn't matter: the help below says what to do either way.
    const auto macMinor = (int) juce::SystemStats::getOperatingSystemType() - 0x100;
    [[maybe_unused]] const auto status = std::system (FirmwareUpgradeComponent::getAudioMidiSetupCommand (macMinor).toRawUTF8());
   #endif

    // Elsewhere there is no "Audio MIDI Setup" to open; the steps still tell the user
    // to remove the device so that it is found again under its own name.
    juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, {}, helpText);
}

bool JuceFirmwareUpgradeDialogs::confirmHubWarning (const juce::String& title, const juce::String& message)
{
    return juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::InfoIcon, title, message,
                                               {}, {}, nullptr, nullptr);
}

int JuceFirmwareUpgradeDialogs::runWizardDialog (std::unique_ptr<FirmwareUpgradeComponent> wizard,
                                                 juce::Component* centreAround)
{
    // The window deletes itself, and the wizard with it, when it is closed.
    auto* window = new FirmwareUpgradeWindow (std::move (wizard), centreAround);
    window->enterModalState (true, nullptr, true);
    return window->runModalLoop();
}

} // namespace zorvane
