#pragma once

#include "zorvane_core/MidiPorts.h"
#include "zorvane_core/Network.h"
#include "zorvane_core/Waits.h"
#include "zorvane_firmware/FirmwareUpgradeDialogs.h"
#include "zorvane_firmware/MidiInputHandler.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace zorvane
{

/** Test mode: the wizard takes a port it doesn't recognise for the product it was
    opened for, and opens any port as the bootloader. Switched with the T key,
    cleared whenever the wizard opens.
*/
extern bool bTest;

//==============================================================================
/** The firmware upgrade wizard, the content of the "Firmware Upgrade" dialog.

    Five steps, each behind its own button: Connect (recognise the device from its
    port), Erase (restart it into its bootloader), Activate (open the bootloader's
    port), Select Version or Load File (get the image) and Upgrade (write it). The
    progress bar, the status line and the window title say where the user stands.

    Everything modal is asked of a FirmwareUpgradeDialogs; the MIDI ports, the
    pauses and the firmware server are handed in as well, so the whole wizard runs
    without a window in the tests.
*/
class FirmwareUpgradeComponent final : public juce::Component,
                                       public juce::Button::Listener,
                                       public TransferObserver
{
public:
    using MidiInputHandler = zorvane::MidiInputHandler;

    static constexpr int numSteps = 5;

    /** The wizard as the program runs it: JUCE's dialogs, the process's MIDI ports,
        real pauses and the firmware server the program is built for.
    */
    FirmwareUpgradeComponent (int productId, bool serverMode);

    /** The same with its collaborators chosen by the caller, who keeps them alive
        for as long as the wizard lives.
    */
    FirmwareUpgradeComponent (int productId, bool serverMode, FirmwareUpgradeDialogs& dialogs,
                              MidiBackend& midi, Waits& waits, Network::Settings network);

    /** Resets any device still waiting in its upgrade mode, then closes the ports. */
    ~FirmwareUpgradeComponent() override;

    //==============================================================================
    void paint (juce::Graphics&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    //==============================================================================
    /** Enables the step buttons up to the one after the last completed step. */
    void updateButtonEnablement();

    /** Records step s as completed (s < 0: none) and moves the progress bar to it. */
    void updateProgress (int step);

    /** Disables every step button while `shouldProtect` is true. */
    void protectUI (bool shouldProtect);

    /** "Firmware Upgrade", followed by ": " and `text` when there is any. */
    void SetTitle (const juce::String& text);

    /** Whether a firmware file's name (without its extension) fits the product. */
    static bool isValidFmwName (const juce::String& fileName, int productId);

    void showAboutDlg() const;

    //==============================================================================
    /** The shell command that opens "Audio MIDI Setup" on this macOS version (the
        minor number of 10.x, or more for macOS 11 on).
    */
    static juce::String getAudioMidiSetupCommand (int macMinor);

    static juce::String getAboutTitle();
    static juce::String getAboutMessage();
    static juce::String getDeviceNameHelpText();

    //==============================================================================
    int getCurrentStep() const noexcept                     { return currentStep; }
    double getProgress() const;
    juce::String getStatusText() const                      { return statusLabel.getText(); }
    int getPid() const noexcept                             { return pid; }
    int getCurrentPid() const noexcept                      { return currentPid; }
    bool isServerMode() const noexcept                      { return autoMode; }
    const juce::String& getSelectedDeviceName() const noexcept  { return selectedDeviceName; }
    const juce::String& getBootDeviceName() const noexcept  { return bootDeviceName; }
    const juce::File& getFirmwareFile() const noexcept      { return firmwareFile; }

    /** The title the wizard last gave its window (it keeps it when it has none). */
    const juce::String& getWindowTitle() const noexcept     { return windowTitle; }

    /** Null until a step first needs it. */
    const MidiInputHandler* getMidiHandler() const noexcept { return midiHandler.get(); }

    juce::TextButton& getStepButton (int index)             { return stepButtons[(size_t) index]; }
    juce::TextButton& getUpdateNameButton() noexcept        { return updateNameButton; }

    /** True while a step, or a box it opened, runs. Closing the wizard then would
        delete it under the running step, so its window waits.
    */
    bool isBusy() const noexcept                            { return numRunning > 0; }

    //==============================================================================
    void setProgress (double newProgress) override;
    void setStatusText (const juce::String& newText) override;

private:
    //==============================================================================
    void doStep1();
    void doStep2();
    void doStep3();
    void doStep4();
    void doStep5();

    void loadFromServer();
    void loadFromFile();
    void imageLoaded();
    void setConnectAndEraseEnabled (bool shouldBeEnabled);
    MidiInputHandler& getOrCreateMidiHandler();
    void setWindowTitle (const juce::String& title);
    void showDeviceNameHelp();

    //==============================================================================
    FirmwareUpgradeDialogs& dialogs;
    MidiBackend& midi;
    Waits& waits;
    Network::Settings network;

    bool autoMode;
    const bool initialAutoMode;
    juce::TooltipWindow tooltipWindow { nullptr, 0 };
    int pid;

    std::array<juce::Label, numSteps> stepCaptions, stepLabels, stepDescriptions;
    std::array<juce::TextButton, numSteps> stepButtons;
    juce::TextButton updateNameButton { "Update Device Name" };
    juce::Label noteCaption, noteText;
    juce::Label statusLabel;

    juce::CriticalSection progressLock;
    int currentStep = -1;
    double progress = 0.0;
    juce::ProgressBar progressBar { progress };

    juce::String selectedDeviceName, bootDeviceName;
    juce::File firmwareFile;
    const int initialPid;
    juce::ValueTree firmwares;
    std::unique_ptr<MidiInputHandler> midiHandler;
    int currentPid;

    juce::String windowTitle;
    int numRunning = 0;

    // Step 4 runs the message loop while it downloads, so its own button could
    // start it again from inside.
    bool recursionCheck = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareUpgradeComponent)
};

} // namespace zorvane
