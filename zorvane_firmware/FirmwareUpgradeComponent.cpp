#include "zorvane_firmware/FirmwareUpgradeComponent.h"

#include "zorvane_core/Maker.h"

#include "zorvane_core/Product.h"
#include "zorvane_firmware/DeviceHelpers.h"
#include "zorvane_firmware/FirmwareMessages.h"

namespace zorvane
{

bool bTest = false;

namespace
{
    constexpr auto wizardTitle = "Firmware Upgrade";

    constexpr int maxInputAttempts = 5;

    using AlertKind = FirmwareUpgradeDialogs::AlertKind;

    juce::String quoted (const juce::String& text)
    {
        return "\"" + text + "\"";
    }

    juce::String productName (int productId)
    {
        return Product::getName (static_cast<Product::PID> (productId));
    }

    bool namesBootloader (const juce::String& portName)
    {
        return portName.containsWholeWordIgnoreCase (bootloaderPortName);
    }

    // Some systems report a letter key as its capital, X11 as the character typed.
    bool isLetterKey (const juce::KeyPress& key, char capital)
    {
        const auto code = key.getKeyCode();
        return code == capital || code == capital - 'A' + 'a';
    }

    bool matches (const juce::String& name, const char* pattern)
    {
        return name.matchesWildcard (pattern, true);
    }

    /** Counts a running step (or a box it opened) for as long as it is in scope. */
    struct RunningScope
    {
        explicit RunningScope (int& c) : count (c)  { ++count; }
        ~RunningScope()                             { --count; }

        int& count;
    };
}

//==============================================================================
FirmwareUpgradeComponent::FirmwareUpgradeComponent (int productId, bool serverMode)
    : FirmwareUpgradeComponent (productId, serverMode, JuceFirmwareUpgradeDialogs::getInstance(),
                                MidiPorts::get(), Waits::real(), Network::Settings::standard())
{
}

FirmwareUpgradeComponent::FirmwareUpgradeComponent (int productId, bool serverMode, FirmwareUpgradeDialogs& d,
                                                    MidiBackend& m, Waits& w, Network::Settings n)
    : dialogs (d),
      midi (m),
      waits (w),
      network (std::move (n)),
      autoMode (serverMode),
      initialAutoMode (serverMode),
      pid (productId),
      initialPid (productId),
      currentPid (productId),
      windowTitle (wizardTitle)
{
    // The download keeps the message loop going through the same waits as the rest.
    if (network.waits == nullptr)
        network.waits = &waits;

    const juce::String buttonTexts[numSteps] { "Connect", "Erase", "Activate",
                                               initialAutoMode ? "Select Version" : "Load File",
                                               "Upgrade" };

    const juce::String descriptions[numSteps]
    {
        "Please connect your Zorvane device and click " + quoted (buttonTexts[0]) + " button to create the connection.",
        "Click " + quoted (buttonTexts[1]) + " button to enter into \"Firmware upgrade mode\".",
        "Click " + quoted (buttonTexts[2]) + " button to activate the \"Firmware upgrade mode\".",
        initialAutoMode
            ? juce::String ("Click \"Select Version\", the process will automatically search for the most up to date firmware for your device at our website.")
            : "Please download the latest firmware for your device from our website " + juce::String (Maker::webSite)
                + ", then click \"Load File\" button to browse the firmware file.",
        "Click " + quoted (buttonTexts[4]) + " to start the file upload process."
    };

    for (size_t i = 0; i < (size_t) numSteps; ++i)
    {
        const auto stepText = "Step " + juce::String ((int) i + 1);

        stepCaptions[i].setText (stepText, juce::dontSendNotification);
        stepCaptions[i].setJustificationType (juce::Justification::centred);

        stepLabels[i].setText (stepText + ":", juce::dontSendNotification);
        stepLabels[i].setJustificationType (juce::Justification::topLeft);

        stepDescriptions[i].setText (descriptions[i], juce::dontSendNotification);
        stepDescriptions[i].setJustificationType (juce::Justification::topLeft);
        stepDescriptions[i].setMinimumHorizontalScale (1.0f);

        stepButtons[i].setButtonText (buttonTexts[i]);
        stepButtons[i].addListener (this);

        for (auto* child : std::initializer_list<juce::Component*> { &stepCaptions[i], &stepLabels[i],
                                                                     &stepDescriptions[i], &stepButtons[i] })
            addAndMakeVisible (child);
    }

    noteCaption.setText ("Note:", juce::dontSendNotification);
    noteText.setText ("If your connected Zorvane product model name does not appear on the pull-down menu, "
                      "select \"USB Audio Device\" as the MIDI In/Out device",
                      juce::dontSendNotification);

    for (auto* label : { &noteCaption, &noteText })
        label->setJustificationType (juce::Justification::topLeft);

    statusLabel.setText ("Upgrade Progress", juce::dontSendNotification);
    statusLabel.setJustificationType (juce::Justification::centred);

    progressBar.setPercentageDisplay (true);
    progressBar.setColour (juce::ProgressBar::foregroundColourId, juce::Colours::skyblue);

    updateNameButton.addListener (this);

    for (auto* child : std::initializer_list<juce::Component*> { &updateNameButton, &noteCaption, &noteText,
                                                                 &statusLabel, &progressBar })
        addAndMakeVisible (child);

    for (auto* child : getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            label->setColour (juce::Label::textColourId, juce::Colours::black);

    if (autoMode)
        firmwares = juce::ValueTree ("firmwares");

    updateButtonEnablement();
    setSize (514, 491);
}

FirmwareUpgradeComponent::~FirmwareUpgradeComponent()
{
    // A device left in its bootloader would sit there until it is switched off
    // and on again; the reset packet sends it back to its normal firmware.
    resetDevicesInUpgradeMode (midi, waits);
    midiHandler.reset();

    for (auto& button : stepButtons)
        button.removeListener (this);

    updateNameButton.removeListener (this);
}

//==============================================================================
void FirmwareUpgradeComponent::paint (juce::Graphics&)
{
    // The dialog window's background shows through.
}

void FirmwareUpgradeComponent::resized()
{
    const auto w = getWidth();
    const auto half = w / 2;

    statusLabel.setBounds (0, 10, w, 20);
    progressBar.setBounds (40, 36, w - 80, 24);

    for (size_t i = 0; i < (size_t) numSteps; ++i)
    {
        const auto x = half - 240 + 96 * (int) i;
        stepCaptions[i].setBounds (x, 66, 90, 20);
        stepButtons[i].setBounds (x, 92, 90, 20);
    }

    // The instruction rows, the note between the first and the second step.
    const std::pair<juce::Label*, juce::Label*> rows[]
    {
        { &stepLabels[0], &stepDescriptions[0] },
        { &noteCaption,   &noteText },
        { &stepLabels[1], &stepDescriptions[1] },
        { &stepLabels[2], &stepDescriptions[2] },
        { &stepLabels[3], &stepDescriptions[3] },
        { &stepLabels[4], &stepDescriptions[4] }
    };

    auto y = 130;

    for (const auto& [caption, text] : rows)
    {
        caption->setBounds (half - 240, y, 70, 20);
        text->setBounds (half - 164, y, half + 150, 50);
        y += 56;
    }

    updateNameButton.setBounds (half - 48, y - 20, 90, 20);
    updateNameButton.setTooltip ("Click here to update the displaying name of your device.");
}

bool FirmwareUpgradeComponent::keyPressed (const juce::KeyPress& key)
{
    if (isLetterKey (key, 'M'))
    {
        autoMode = ! autoMode;
        setWindowTitle (juce::String (wizardTitle) + (bTest ? "." : "") + (autoMode ? "" : " [M]"));
    }
    else if (isLetterKey (key, 'T'))
    {
        bTest = ! bTest;
        setWindowTitle (juce::String (wizardTitle) + (bTest ? "." : ""));
    }
    else if (key.isKeyCode (juce::KeyPress::F1Key))
    {
        const RunningScope running (numRunning);
        showAboutDlg();
    }

    // The window sees every key as well: Escape closes it.
    return false;
}

void FirmwareUpgradeComponent::buttonClicked (juce::Button* button)
{
    const RunningScope running (numRunning);

    if (button == &updateNameButton)
    {
        showDeviceNameHelp();
        return;
    }

    if (button == &stepButtons[0])       doStep1();
    else if (button == &stepButtons[1])  doStep2();
    else if (button == &stepButtons[2])  doStep3();
    else if (button == &stepButtons[3])  doStep4();
    else if (button == &stepButtons[4])  doStep5();
}

//==============================================================================
void FirmwareUpgradeComponent::updateButtonEnablement()
{
    const auto numEnabled = currentStep < 0 ? 1
                          : currentStep < numSteps ? currentStep + 2
                          : 0;

    for (size_t i = 0; i < (size_t) numSteps; ++i)
        stepButtons[i].setEnabled ((int) i < numEnabled);
}

void FirmwareUpgradeComponent::updateProgress (int step)
{
    const juce::ScopedLock sl (progressLock);

    if (step < 0)
    {
        currentStep = -1;
        progress = 0.0;
    }
    else
    {
        currentStep = step;
        progress = (step + 1) / (double) numSteps;
    }

    updateButtonEnablement();
}

void FirmwareUpgradeComponent::protectUI (bool shouldProtect)
{
    for (auto& button : stepButtons)
        button.setEnabled (! shouldProtect);
}

void FirmwareUpgradeComponent::SetTitle (const juce::String& text)
{
    setWindowTitle (text.isEmpty() ? juce::String (wizardTitle) : juce::String (wizardTitle) + ": " + text);
}

double FirmwareUpgradeComponent::getProgress() const
{
    const juce::ScopedLock sl (progressLock);
    return progress;
}

void FirmwareUpgradeComponent::setProgress (double newProgress)
{
    // The bar ends at 1.0, whatever the transfer counts.
    const juce::ScopedLock sl (progressLock);
    progress = juce::jlimit (0.0, 1.0, newProgress);
}

void FirmwareUpgradeComponent::setStatusText (const juce::String& newText)
{
    statusLabel.setText (newText, juce::dontSendNotification);
}

//==============================================================================
bool FirmwareUpgradeComponent::isValidFmwName (const juce::String& fileName, int productId)
{
    const auto name = fileName.toLowerCase().trim();

    const auto isVst = [&name] { return matches (name, "*merrow??t?vst?*"); };
    const auto isTessel = [&name] { return matches (name, "*merrow??t?tessel?iii?*"); };

    switch (productId)
    {
        case 79: case 89:
            return matches (name, "*ostra_pro_ex_*");

        case 94:
            return matches (name, "*ostra_pro_r_*");

        case 110: case 111: case 112: case 113: case 114: case 126:
            return ! isVst() && ! isTessel() && matches (name, "*merrow??t?*");

        case 117:   return matches (name, "*dalvi_k_*");
        case 118:   return matches (name, "*dalvi_r_*");
        case 130:   return matches (name, "*ostra_pro_rs_*");

        case 133: case 134: case 135: case 136: case 137:
            return isVst() || isTessel();

        case 147: case 148: case 149: case 150: case 151:
            return matches (name, "*merrow_*r_*");

        case 156:   return matches (name, "*dalvi_k+_*");
        case 161:   return matches (name, "*dalvi_r+_*");

        case 176: case 177:
            return matches (name, "*ostraprog2_ostraexg2_*");

        case 179:   return matches (name, "*dalvi_lite_*");
        case 186:   return matches (name, "*dalvi_go_*");

        default:
            return true;
    }
}

//==============================================================================
juce::String FirmwareUpgradeComponent::getAudioMidiSetupCommand (int macMinor)
{
    // From 10.15 on, Apple keeps its utilities under /System.
    if (macMinor > 14)
        return "open /System/Applications/Utilities/Audio\\ MIDI\\ Setup.app";

    return "open /Applications/Utilities/Audio\\ MIDI\\ Setup.app";
}

juce::String FirmwareUpgradeComponent::getAboutTitle()
{
    return "\n \nZorvane Firmware Upgrader\n\nV1.19  Build 57";
}

juce::String FirmwareUpgradeComponent::getAboutMessage()
{
    return "\n\n \n" + juce::String (Maker::copyrightNotice);
}

juce::String FirmwareUpgradeComponent::getDeviceNameHelpText()
{
    return "After \"Audio MIDI Setup\" opened.\n\n"
           "1. Check \"Show MIDI Window\" \non \"Window\" pull-down menu, \nat the top task-bar.\n\n"
           "2. Turn off your device, drag \nthe sroll-bar to find out your device, \nand select it.\n\n"
           "3. Click \"Remove Device\".\n\n"
           "Then turn on your device. \nThe displaying name of your device \nwill be refreshed!";
}

void FirmwareUpgradeComponent::showAboutDlg() const
{
    dialogs.showAbout (getAboutTitle(), getAboutMessage());
}

void FirmwareUpgradeComponent::showDeviceNameHelp()
{
    dialogs.showDeviceNameHelp (getDeviceNameHelpText());
}

//==============================================================================
void FirmwareUpgradeComponent::doStep1()
{
    autoMode = initialAutoMode;
    selectedDeviceName.clear();
    updateProgress (-1);

    // A device that has just been plugged in may take a moment to show up.
    for (int attempt = 1; attempt <= maxInputAttempts; ++attempt)
    {
        if (! DeviceHelpers::getDeviceNames (false, midi).isEmpty())
            break;

        waits.sleep (1000);
        SetTitle ("(" + juce::String (attempt) + ")");
    }

    const auto choice = dialogs.choosePort (*this, midi, waits);

    if (! choice.has_value())
    {
        SetTitle ({});
        return;
    }

    selectedDeviceName = *choice;
    const auto recognised = Product::fromDeviceName (selectedDeviceName).getPID();
    pid = currentPid = recognised;

    if (recognised != Product::unknown)
    {
        SetTitle (productName (recognised));
        updateProgress (0);
    }
    else if (bTest)
    {
        pid = currentPid = initialPid;
        SetTitle (Product::validPID (initialPid) ? productName (initialPid) : juce::String ("Unknown"));
        updateProgress (0);
    }
    else if (namesBootloader (selectedDeviceName))
    {
        dialogs.showAlert (AlertKind::info, wizardTitle,
                           "It looks like your device is already in firmware upgrade mode. \n"
                           "Please turn off and turn on the device and try again.");
    }
    else
    {
        dialogs.showAlert (AlertKind::info, wizardTitle, "This device is not able to be upgraded by this software.");
    }
}

void FirmwareUpgradeComponent::doStep2()
{
    updateProgress (0);

    auto output = MidiPorts::openOutputNamed (midi, selectedDeviceName);

    if (output == nullptr)
        return;

    sendUpgradeModeEntry (*output, pid);
    updateProgress (1);

    // The device restarts into its bootloader and shows up under its new name.
    waits.sleep (1300);
    output.reset();
}

void FirmwareUpgradeComponent::doStep3()
{
    updateProgress (1);
    waits.sleep (500);

    auto& handler = getOrCreateMidiHandler();
    setConnectAndEraseEnabled (false);

    const auto choice = dialogs.choosePort (*this, midi, waits);

    if (choice.has_value())
    {
        bootDeviceName = *choice;

        if (bTest || namesBootloader (bootDeviceName))
        {
            handler.start (bootDeviceName);

            if (handler.hasInput() && handler.hasOutput())
            {
                updateProgress (2);
                stepButtons[0].setEnabled (false);
                return;
            }

            dialogs.showAlert (AlertKind::info, "Midi Device",
                               "Could not open the selected MIDI input device: " + bootDeviceName);
        }
        else
        {
            dialogs.showAlert (AlertKind::warning, "Step 3", "Please select the unit \"Zorvane firmware upgrade\"");
        }
    }

    updateProgress (1);
    stepButtons[0].setEnabled (true);
}

void FirmwareUpgradeComponent::doStep4()
{
    if (recursionCheck)
        return;

    const juce::ScopedValueSetter<bool> guard (recursionCheck, true);

    updateProgress (2);
    setConnectAndEraseEnabled (false);
    getOrCreateMidiHandler();

    if (autoMode)
    {
        firmwares = juce::ValueTree ("firmwares");

        // Whatever went wrong, an empty list means the user picks a file instead.
        Product::fetchAvailableFirmwares (currentPid, firmwares, network);

        if (firmwares.getNumChildren() > 0)
        {
            loadFromServer();
            return;
        }
    }

    loadFromFile();
}

void FirmwareUpgradeComponent::loadFromServer()
{
    const auto url = dialogs.chooseFirmwareVersion (firmwares, network.serverBase, *this);

    if (! url.has_value())
        return;

    // The image only passes through this file on its way into memory.
    const juce::TemporaryFile download;
    firmwareFile = download.getFile();

    // An error page or a cut-off image must never reach the bootloader: only an
    // image that arrived whole and has a size the bootloader takes is loaded.
    const auto downloaded = ! url->isEmpty()
                             && Network::downloadFirmwareImage (*url, firmwareFile, network).wasOk();

    if (downloaded)
    {
        midiHandler->openProgram (firmwareFile);

        const auto size = (juce::int64) midiHandler->getProgramSize();

        if (size >= Network::minFirmwareImageBytes && size <= Network::maxFirmwareImageBytes)
        {
            imageLoaded();
            return;
        }
    }

    dialogs.showAlert (AlertKind::warning, "Firmware Donwload", "Could not download firmware file");
}

void FirmwareUpgradeComponent::loadFromFile()
{
    const auto chosen = dialogs.chooseFirmwareFile (firmwareFile);

    if (! chosen.has_value())
        return;

    firmwareFile = *chosen;

    if (! isValidFmwName (firmwareFile.getFileNameWithoutExtension().toLowerCase().trim(), midiHandler->getPid()))
    {
        dialogs.showAlert (AlertKind::warning, "Load File", "Not the matching firmware!");
        return;
    }

    midiHandler->openProgram (firmwareFile);
    imageLoaded();
}

void FirmwareUpgradeComponent::imageLoaded()
{
    updateProgress (3);
    setConnectAndEraseEnabled (false);
}

void FirmwareUpgradeComponent::doStep5()
{
    updateProgress (3);
    setConnectAndEraseEnabled (false);
    auto& handler = getOrCreateMidiHandler();

    protectUI (true);

    const auto result = handler.sendProgram();
    handler.stop();
    waits.sleep (800);
    statusLabel.setText (wizardTitle, juce::dontSendNotification);

    if (result.wasOk())
    {
        dialogs.showAlert (AlertKind::info, "Firmware Upgrade Success", "Your firmware has been upgraded!");
        waits.sleep (600);
        updateProgress (4);
    }
    else
    {
        dialogs.showAlert (AlertKind::warning, "Firmware Upgrade Error", result.getErrorMessage());
    }

    waits.sleep (300);
    protectUI (false);
    updateProgress (-1);
    waits.sleep (600);

    selectedDeviceName.clear();
    bootDeviceName.clear();
    statusLabel.setText (wizardTitle, juce::dontSendNotification);
}

//==============================================================================
void FirmwareUpgradeComponent::setConnectAndEraseEnabled (bool shouldBeEnabled)
{
    stepButtons[0].setEnabled (shouldBeEnabled);
    stepButtons[1].setEnabled (shouldBeEnabled);
}

FirmwareUpgradeComponent::MidiInputHandler& FirmwareUpgradeComponent::getOrCreateMidiHandler()
{
    if (midiHandler == nullptr)
        midiHandler = std::make_unique<MidiInputHandler> (*this, pid, midi, waits);

    return *midiHandler;
}

void FirmwareUpgradeComponent::setWindowTitle (const juce::String& title)
{
    windowTitle = title;

    if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
        dialog->setName (title);
    else if (auto* window = findParentComponentOfClass<juce::DocumentWindow>())
        window->setName (title);
}

} // namespace zorvane
