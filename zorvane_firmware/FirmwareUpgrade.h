#pragma once

#include "zorvane_core/MidiPorts.h"
#include "zorvane_core/Network.h"
#include "zorvane_core/Waits.h"
#include "zorvane_firmware/FirmwareUpgradeDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zorvane
{

class FirmwareUpgradeComponent;

//==============================================================================
/** How the program opens the firmware upgrader: the USB hub warning, then the
    wizard in a modal dialog until the user closes it.
*/
namespace FirmwareUpgrade
{
    /** Shows the hub warning (when asked to), then runs the wizard for the product
        in a modal "Firmware Upgrade" dialog centred on `centreAround` (which may be
        null). `serverMode` true takes the firmware from the server's list, false
        from a local file. Returns the dialog's result: 0 when it was closed, and
        when the warning was declined.
    */
    int runWizardDialogModal (int productId, juce::Component* centreAround, bool showWarning, bool serverMode);

    /** The same with the dialogs, the MIDI ports, the pauses and the server chosen
        by the caller.
    */
    int runWizardDialogModal (int productId, juce::Component* centreAround, bool showWarning, bool serverMode,
                              FirmwareUpgradeDialogs& dialogs, MidiBackend& midi, Waits& waits,
                              const Network::Settings& network);

    /** The warning about USB hubs and power: true when the user pressed OK. */
    bool displayWarningAboutHUBs();

    juce::String getHubWarningTitle();
    juce::String getHubWarningText();
}

//==============================================================================
/** The dialog window the wizard runs in, with the upgrader's common dialog
    settings. It owns the wizard.

    Closing the window deletes the wizard, and the wizard's steps run the message
    loop while they wait for the device or the server; a close (button or Escape)
    that arrives while a step runs is therefore ignored, so the step is never
    pulled out from under itself and a transfer never stops half-way.
*/
class FirmwareUpgradeWindow final : public juce::DialogWindow
{
public:
    FirmwareUpgradeWindow (std::unique_ptr<FirmwareUpgradeComponent> wizard, juce::Component* centreAround,
                           bool addToDesktop = true);
    ~FirmwareUpgradeWindow() override;

    void closeButtonPressed() override;
    bool escapeKeyPressed() override;

    FirmwareUpgradeComponent& getWizard() noexcept  { return wizard; }

private:
    FirmwareUpgradeComponent& wizard;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareUpgradeWindow)
};

} // namespace zorvane
