#pragma once

#include "zorvane_core/MidiPorts.h"
#include "zorvane_core/Waits.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>

namespace zorvane
{

class FirmwareUpgradeComponent;

//==============================================================================
/** Everything modal around the firmware upgrade: the pickers, the file chooser,
    the alerts, the About box, the device-name help, the USB hub warning and the
    wizard's own dialog.

    The wizard and its entry point ask these instead of opening windows
    themselves, so a test can answer them without a person; the program uses
    JuceFirmwareUpgradeDialogs.
*/
class FirmwareUpgradeDialogs
{
public:
    enum class AlertKind
    {
        info,
        warning
    };

    virtual ~FirmwareUpgradeDialogs() = default;

    //==============================================================================
    /** The port picker, "Choose Your Zorvane Device", over the MIDI inputs of `midi`:
        the chosen port name, or nothing when it was cancelled or closed.
    */
    virtual std::optional<juce::String> choosePort (juce::Component& centreAround,
                                                    MidiBackend& midi, Waits& waits) = 0;

    /** The version picker, "Firmware Version", over a firmware list that has at
        least one entry: the download address of the chosen entry (which is empty
        when nothing was selected), or nothing when it was cancelled or closed.
    */
    virtual std::optional<juce::URL> chooseFirmwareVersion (const juce::ValueTree& firmwares,
                                                            const juce::String& serverBase,
                                                            juce::Component& centreAround) = 0;

    /** "Choose The Firmware File" for "*.bin", starting at `startingPoint`: the
        chosen file, or nothing.
    */
    virtual std::optional<juce::File> chooseFirmwareFile (const juce::File& startingPoint) = 0;

    /** A modal message box with one button. */
    virtual void showAlert (AlertKind kind, const juce::String& title, const juce::String& message) = 0;

    /** The upgrader's About box: a modal message box without a symbol. */
    virtual void showAbout (const juce::String& title, const juce::String& message) = 0;

    /** Opens the system's MIDI setup where there is one, then shows how to make the
        device show its name again.
    */
    virtual void showDeviceNameHelp (const juce::String& helpText) = 0;

    /** The OK/Cancel warning before the wizard opens: true when the user pressed OK. */
    virtual bool confirmHubWarning (const juce::String& title, const juce::String& message) = 0;

    /** Runs the wizard in its modal dialog, which owns and deletes it; returns the
        dialog's modal result.
    */
    virtual int runWizardDialog (std::unique_ptr<FirmwareUpgradeComponent> wizard,
                                 juce::Component* centreAround) = 0;
};

//==============================================================================
/** The upgrader's dialogs as the program shows them: modal JUCE dialog windows,
    alert windows and the native file chooser.
*/
class JuceFirmwareUpgradeDialogs final : public FirmwareUpgradeDialogs
{
public:
    JuceFirmwareUpgradeDialogs() = default;

    /** One for the whole program: it keeps no state. */
    static JuceFirmwareUpgradeDialogs& getInstance();

    /** What every dialog of the upgrader shares: Escape closes it, native title bar,
        fixed size, the default background.
    */
    static void applyCommonSettings (juce::DialogWindow::LaunchOptions& options);

    //==============================================================================
    std::optional<juce::String> choosePort (juce::Component& centreAround, MidiBackend& midi, Waits& waits) override;
    std::optional<juce::URL> chooseFirmwareVersion (const juce::ValueTree& firmwares, const juce::String& serverBase,
                                                    juce::Component& centreAround) override;
    std::optional<juce::File> chooseFirmwareFile (const juce::File& startingPoint) override;
    void showAlert (AlertKind kind, const juce::String& title, const juce::String& message) override;
    void showAbout (const juce::String& title, const juce::String& message) override;
    void showDeviceNameHelp (const juce::String& helpText) override;
    bool confirmHubWarning (const juce::String& title, const juce::String& message) override;
    int runWizardDialog (std::unique_ptr<FirmwareUpgradeComponent> wizard, juce::Component* centreAround) override;

private:
    // Lives as long as the process, so there is nothing for a leak detector to find.
    JUCE_DECLARE_NON_COPYABLE (JuceFirmwareUpgradeDialogs)
};

} // namespace zorvane
