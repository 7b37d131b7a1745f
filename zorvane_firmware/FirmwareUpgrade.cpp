#include "zorvane_firmware/FirmwareUpgrade.h"

#include "zorvane_firmware/FirmwareUpgradeComponent.h"
#include "zorvane_firmware/MidiInputHandler.h"

namespace zorvane
{

namespace
{
    int getMacMinorVersion()
    {
        return (int) juce::SystemStats::getOperatingSystemType() - 0x100;
    }
}

//==============================================================================
int FirmwareUpgrade::runWizardDialogModal (int productId, juce::Component* centreAround, bool showWarning, bool serverMode)
{
    return runWizardDialogModal (productId, centreAround, showWarning, serverMode,
                                 JuceFirmwareUpgradeDialogs::getInstance(), MidiPorts::get(), Waits::real(),
                                 Network::Settings::standard());
}

int FirmwareUpgrade::runWizardDialogModal (int productId, juce::Component* centreAround, bool showWarning, bool serverMode,
                                           FirmwareUpgradeDialogs& dialogs, MidiBackend& midi, Waits& waits,
                                           const Network::Settings& network)
{
    _mac_major = getMacMinorVersion();

    if (showWarning && ! dialogs.confirmHubWarning (getHubWarningTitle(), getHubWarningText()))
        return 0;

    bTest = false;

    return dialogs.runWizardDialog (std::make_unique<FirmwareUpgradeComponent> (productId, serverMode, dialogs,
                                                                                midi, waits, network),
                                    centreAround);
}

bool FirmwareUpgrade::displayWarningAboutHUBs()
{
    return JuceFirmwareUpgradeDialogs::getInstance().confirmHubWarning (getHubWarningTitle(), getHubWarningText());
}

juce::String FirmwareUpgrade::getHubWarningTitle()
{
    return "Firmware Upgrader about to start";
}

juce::String FirmwareUpgrade::getHubWarningText()
{
    return "\n* IMPORTANT WARNING! *\n\n"
           "FAILURE TO FOLLOW THESE INSTRUCTIONS COULD DAMAGE YOUR DEVICE!!\n\n"
           "- Connect ONLY the device you want to update\n"
           "- Make sure the power supply is connected (if any)\n"
           "- Connect device directly to computer (no hub)\n"
           "- Do not touch device during firmware update";
}

//==============================================================================
FirmwareUpgradeWindow::FirmwareUpgradeWindow (std::unique_ptr<FirmwareUpgradeComponent> content,
                                              juce::Component* centreAround, bool addToDesktop)
    : juce::DialogWindow ("Firmware Upgrade", juce::DialogWindow::LaunchOptions().dialogBackgroundColour,
                          true, addToDesktop,
                          centreAround != nullptr ? juce::Component::getApproximateScaleFactorForComponent (centreAround)
                                                  : 1.0f),
      wizard (*content)
{
    setContentOwned (content.release(), true);

    // Only a window on the screen has a place to be centred in.
    if (addToDesktop)
        centreAroundComponent (centreAround, getWidth(), getHeight());

    setResizable (false, false);
    setUsingNativeTitleBar (true);
}

FirmwareUpgradeWindow::~FirmwareUpgradeWindow() = default;

void FirmwareUpgradeWindow::closeButtonPressed()
{
    if (wizard.isBusy())
        return;

    setVisible (false);
}

bool FirmwareUpgradeWindow::escapeKeyPressed()
{
    if (wizard.isBusy())
        return true;

    return juce::DialogWindow::escapeKeyPressed();
}

} // namespace zorvane
