#include "tests/support/FakeWaits.h"
#include "tests/support/VirtualPorts.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TempFolder.h"
#include "tests/zorvane/FakeFirmwareUpgradeDialogs.h"
#include "tools/simdevice/SimulatedDalvi.h"
#include "zorvane_core/VirtualMidiBackend.h"
#include "zorvane_firmware/FirmwareUpgrade.h"
#include "zorvane_firmware/FirmwareUpgradeComponent.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{
    using zorvane::FirmwareUpgradeComponent;
    using AlertKind = zorvane::FirmwareUpgradeDialogs::AlertKind;
    using Alert = testsupport::FakeFirmwareUpgradeDialogs::Alert;
    using Phase = SimulatedBootloader::Phase;

    const juce::String bootPort ("Zorvane firmware upgrade");
    const juce::String dalviPort ("Dalvi V+");
    const juce::String imagePath ("fw/dalvi_v_plus_1_3.bin");

    enum Step { connect, erase, activate, getImage, upgrade };

    using testsupport::SilentDevice;

    /** Records what the host sends to its port. */
    struct TapDevice final : public zorvane::VirtualMidiDevice
    {
        void receive (const juce::String&, const juce::MidiMessage& message) override
        {
            const juce::ScopedLock sl (lock);
            messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
        }

        size_t numReceived() const
        {
            const juce::ScopedLock sl (lock);
            return messages.size();
        }

        juce::CriticalSection lock;
        std::vector<std::vector<juce::uint8>> messages;
    };

    juce::MemoryBlock makeImage (size_t size)
    {
        juce::MemoryBlock image (size);
        juce::Random random ((juce::int64) size);

        for (size_t i = 0; i < size; ++i)
            image[i] = (char) random.nextInt (256);

        return image;
    }

    juce::MemoryBlock paddedToBlocks (const juce::MemoryBlock& image)
    {
        auto padded = image;
        const auto whole = (image.getSize() + 511) / 512 * 512;
        padded.setSize (whole);

        for (auto i = image.getSize(); i < whole; ++i)
            padded[i] = (char) 0xFF;

        return padded;
    }

    juce::String firmwareList (std::initializer_list<const char*> entries)
    {
        juce::String xml ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<firmwares>\n");

        for (auto* entry : entries)
            xml << "  " << entry << "\n";

        return xml + "</firmwares>\n";
    }

    const auto standardList = firmwareList ({
        "<firmware pid=\"161\" name=\"Dalvi R+\" version=\"2.0\" fw=\"fw/dalvi_r_plus_2_0.bin\"/>",
        "<firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.3\" fw=\"fw/dalvi_v_plus_1_3.bin\"/>"
    });

    juce::String enabledSteps (FirmwareUpgradeComponent& wizard)
    {
        juce::StringArray names;

        for (int i = 0; i < FirmwareUpgradeComponent::numSteps; ++i)
            if (wizard.getStepButton (i).isEnabled())
                names.add (wizard.getStepButton (i).getButtonText());

        return names.joinIntoString ("|");
    }

    //==============================================================================
    /** A wizard for the Dalvi V+ on a virtual bus with the simulated device, a local
        firmware server, scripted dialogs and waits that cost nothing.
    */
    struct Rig
    {
        explicit Rig (int productId = 170, bool serverMode = true, bool withDevice = true)
        {
            zorvane::bTest = false;

            if (withDevice)
                device = std::make_unique<SimulatedDalvi> (bus);

            server.serve ("/firmware.xml", 200, standardList);
            server.serve ("/" + imagePath, 200, image);

            waits.onWait = [this]
            {
                const auto slept = waits.sleptMs - sleptBefore;
                sleptBefore = waits.sleptMs;

                if (slept >= 300)
                    longSleeps.push_back ((int) slept);

                if (onWait != nullptr)
                    onWait();
            };

            wizard = std::make_unique<FirmwareUpgradeComponent> (productId, serverMode, dialogs, bus, waits, settings());
        }

        ~Rig()
        {
            wizard.reset();
            zorvane::bTest = false;
        }

        zorvane::Network::Settings settings()
        {
            zorvane::Network::Settings s;
            s.serverBase = server.getBaseUrl();
            s.connectionTimeoutMs = 500;
            s.stallTimeoutMs = 300;
            s.totalTimeoutMs = 20000;
            s.waits = &waits;
            return s;
        }

        void click (int step)
        {
            auto& button = wizard->getStepButton (step);

            if (! button.isEnabled())
            {
                ADD_FAILURE() << "the " << button.getButtonText() << " button is disabled";
                return;
            }

            wizard->buttonClicked (&button);
        }

        /** Connect, Erase and Activate with the simulated device. */
        void runUpToActivate()
        {
            dialogs.portChoices = { dalviPort, bootPort };
            click (connect);
            click (erase);
            click (activate);
        }

        void runUpToImage()
        {
            runUpToActivate();
            dialogs.versionChoices = { 0 };
            click (getImage);
        }

        SimulatedBootloader& bootloader() { return device->getBootloader(); }

        std::vector<int> takeLongSleeps() { return std::exchange (longSleeps, {}); }

        testsupport::FakeWaits waits;
        zorvane::VirtualMidiBackend bus;
        std::unique_ptr<SimulatedDalvi> device;
        testsupport::LocalHttpServer server;
        testsupport::TempFolder temp;
        testsupport::FakeFirmwareUpgradeDialogs dialogs;
        juce::MemoryBlock image = makeImage (1100);
        std::unique_ptr<FirmwareUpgradeComponent> wizard;

        std::function<void()> onWait;
        std::vector<int> longSleeps;
        long long sleptBefore = 0;
    };

    void expectStartState (FirmwareUpgradeComponent& wizard, const juce::String& status)
    {
        EXPECT_EQ (wizard.getCurrentStep(), -1);
        EXPECT_EQ (wizard.getProgress(), 0.0);
        EXPECT_EQ (enabledSteps (wizard), "Connect");
        EXPECT_EQ (wizard.getStatusText(), status);
    }

    void expectAlerts (const std::vector<Alert>& alerts, std::vector<Alert> expected)
    {
        ASSERT_EQ (alerts.size(), expected.size());

        for (size_t i = 0; i < alerts.size(); ++i)
        {
            EXPECT_TRUE (alerts[i].kind == expected[i].kind) << alerts[i].title;
            EXPECT_EQ (alerts[i].title, expected[i].title);
            EXPECT_EQ (alerts[i].message, expected[i].message);
        }
    }
}

//==============================================================================
TEST (FirmwareUpgradeWizard, StartsWithOnlyConnectAndNoProgress)
{
    Rig rig;
    auto& wizard = *rig.wizard;

    expectStartState (wizard, "Upgrade Progress");
    EXPECT_EQ (wizard.getWindowTitle(), "Firmware Upgrade");
    EXPECT_EQ (wizard.getWidth(), 514);
    EXPECT_EQ (wizard.getHeight(), 491);
    EXPECT_EQ (wizard.getMidiHandler(), nullptr);

    const char* texts[] { "Connect", "Erase", "Activate", "Select Version", "Upgrade" };

    for (int i = 0; i < FirmwareUpgradeComponent::numSteps; ++i)
        EXPECT_EQ (wizard.getStepButton (i).getButtonText(), texts[i]);
}

TEST (FirmwareUpgradeWizard, LayoutAndTexts)
{
    Rig rig;
    auto& wizard = *rig.wizard;

    auto labelWithText = [&wizard] (const juce::String& text) -> juce::Label*
    {
        for (auto* child : wizard.getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child))
                if (label->getText() == text)
                    return label;

        return nullptr;
    };

    struct Case
    {
        juce::String text;
        juce::Rectangle<int> bounds;
    };

    const Case labels[] {
        { "Upgrade Progress", { 0, 10, 514, 20 } },
        { "Step 1", { 17, 66, 90, 20 } },
        { "Step 5", { 401, 66, 90, 20 } },
        { "Step 1:", { 17, 130, 70, 20 } },
        { "Note:", { 17, 186, 70, 20 } },
        { "Step 2:", { 17, 242, 70, 20 } },
        { "Step 3:", { 17, 298, 70, 20 } },
        { "Step 4:", { 17, 354, 70, 20 } },
        { "Step 5:", { 17, 410, 70, 20 } },
        { "Please connect your Zorvane device and click \"Connect\" button to create the connection.", { 93, 130, 407, 50 } },
        { "If your connected Zorvane product model name does not appear on the pull-down menu, select \"USB Audio Device\" as the MIDI In/Out device", { 93, 186, 407, 50 } },
        { "Click \"Erase\" button to enter into \"Firmware upgrade mode\".", { 93, 242, 407, 50 } },
        { "Click \"Activate\" button to activate the \"Firmware upgrade mode\".", { 93, 298, 407, 50 } },
        { "Click \"Select Version\", the process will automatically search for the most up to date firmware for your device at our website.", { 93, 354, 407, 50 } },
        { "Click \"Upgrade\" to start the file upload process.", { 93, 410, 407, 50 } },
    };

    for (const auto& c : labels)
    {
        auto* label = labelWithText (c.text);
        ASSERT_NE (label, nullptr) << c.text;
        EXPECT_EQ (label->getBounds(), c.bounds) << c.text;
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::black) << c.text;
    }

    for (int i = 0; i < FirmwareUpgradeComponent::numSteps; ++i)
        EXPECT_EQ (wizard.getStepButton (i).getBounds(), juce::Rectangle<int> (17 + 96 * i, 92, 90, 20));

    EXPECT_EQ (wizard.getUpdateNameButton().getBounds(), juce::Rectangle<int> (209, 446, 90, 20));
    EXPECT_EQ (wizard.getUpdateNameButton().getButtonText(), "Update Device Name");
    EXPECT_EQ (wizard.getUpdateNameButton().getTooltip(), "Click here to update the displaying name of your device.");

    for (auto* child : wizard.getChildren())
    {
        if (auto* bar = dynamic_cast<juce::ProgressBar*> (child))
        {
            EXPECT_EQ (bar->getBounds(), juce::Rectangle<int> (40, 36, 434, 24));
        }
    }
}

TEST (FirmwareUpgradeWizard, FileModeNamesItsFourthStepLoadFile)
{
    Rig rig (170, false);

    EXPECT_EQ (rig.wizard->getStepButton (getImage).getButtonText(), "Load File");
    EXPECT_FALSE (rig.wizard->isServerMode());
}

TEST (FirmwareUpgradeWizard, ButtonRuleFollowsTheLastCompletedStep)
{
    struct Case
    {
        int step;
        const char* enabled;
        double progress;
    };

    const Case cases[] {
        { -1, "Connect", 0.0 },
        { -7, "Connect", 0.0 },
        { 0, "Connect|Erase", 0.2 },
        { 1, "Connect|Erase|Activate", 0.4 },
        { 2, "Connect|Erase|Activate|Select Version", 0.6 },
        { 3, "Connect|Erase|Activate|Select Version|Upgrade", 0.8 },
        { 4, "Connect|Erase|Activate|Select Version|Upgrade", 1.0 },
    };

    Rig rig;
    auto& wizard = *rig.wizard;

    for (const auto& c : cases)
    {
        wizard.updateProgress (c.step);
        EXPECT_EQ (enabledSteps (wizard), c.enabled) << c.step;
        EXPECT_DOUBLE_EQ (wizard.getProgress(), c.progress) << c.step;
        EXPECT_EQ (wizard.getCurrentStep(), juce::jmax (-1, c.step));
    }

    wizard.protectUI (true);
    EXPECT_EQ (enabledSteps (wizard), "");
    wizard.protectUI (false);
    EXPECT_EQ (enabledSteps (wizard), "Connect|Erase|Activate|Select Version|Upgrade");
}

TEST (FirmwareUpgradeWizard, TheProgressBarNeverPassesItsEnd)
{
    Rig rig;

    for (auto value : { 1.078, 7.0, 1.0 })
    {
        rig.wizard->setProgress (value);
        EXPECT_EQ (rig.wizard->getProgress(), 1.0) << value;
    }

    rig.wizard->setProgress (0.85);
    EXPECT_EQ (rig.wizard->getProgress(), 0.85);
}

//==============================================================================
TEST (FirmwareUpgradeWizard, ConnectWaitsForInputsCountingInTheTitle)
{
    Rig rig (170, true, false);
    juce::StringArray titles;
    rig.onWait = [&] { titles.add (rig.wizard->getWindowTitle()); };
    rig.dialogs.onChoosePort = [&] { titles.add (rig.wizard->getWindowTitle()); };

    rig.click (connect);

    EXPECT_EQ (titles.joinIntoString ("|"),
               "Firmware Upgrade|Firmware Upgrade: (1)|Firmware Upgrade: (2)|Firmware Upgrade: (3)"
               "|Firmware Upgrade: (4)|Firmware Upgrade: (5)");
    EXPECT_EQ (rig.takeLongSleeps(), (std::vector<int> { 1000, 1000, 1000, 1000, 1000 }));
    ASSERT_EQ (rig.dialogs.offeredPorts.size(), 1u);
    EXPECT_TRUE (rig.dialogs.offeredPorts[0].isEmpty());
    EXPECT_EQ (rig.dialogs.pickerCentre, rig.wizard.get());

    // Cancelled: the title is the plain one again.
    EXPECT_EQ (rig.wizard->getWindowTitle(), "Firmware Upgrade");
    expectStartState (*rig.wizard, "Upgrade Progress");
    EXPECT_TRUE (rig.dialogs.alerts.empty());
}

TEST (FirmwareUpgradeWizard, ConnectStopsWaitingWhenAnInputAppears)
{
    Rig rig (170, true, false);
    rig.onWait = [&]
    {
        if (rig.waits.numSleeps == 2 && rig.device == nullptr)
            rig.device = std::make_unique<SimulatedDalvi> (rig.bus);
    };
    rig.dialogs.portChoices = { dalviPort };

    rig.click (connect);

    EXPECT_EQ (rig.waits.sleptMs, 2000);
    ASSERT_EQ (rig.dialogs.offeredPorts.size(), 1u);
    EXPECT_EQ (rig.dialogs.offeredPorts[0], juce::StringArray { dalviPort });
    EXPECT_EQ (rig.wizard->getWindowTitle(), "Firmware Upgrade: Dalvi V+");
}

TEST (FirmwareUpgradeWizard, ConnectRecognisesTheProductOrSaysWhyNot)
{
    const auto alreadyText = juce::String ("It looks like your device is already in firmware upgrade mode. \n"
                                           "Please turn off and turn on the device and try again.");
    const auto notAbleText = juce::String ("This device is not able to be upgraded by this software.");

    struct Case
    {
        juce::String port;
        bool testMode;
        int initialPid;
        juce::String title;       // empty: unchanged
        juce::String alert;       // empty: none
        int step, pid;
    };

    const Case cases[] {
        { "Dalvi V+", false, 170, "Firmware Upgrade: Dalvi V+", {}, 0, 170 },
        { "MIDIIN2 (Dalvi K+)", false, 170, "Firmware Upgrade: Dalvi K+", {}, 0, 156 },
        { "Zorvane firmware upgrade", false, 170, {}, alreadyText, -1, 2000 },
        { "ZORVANE FIRMWARE UPGRADE 2", false, 170, {}, alreadyText, -1, 2000 },
        { "Zorvane firmware upgraders", false, 170, {}, notAbleText, -1, 2000 },
        { "USB MIDI Interface", false, 170, {}, notAbleText, -1, 2000 },
        { "", false, 170, {}, notAbleText, -1, 2000 },
        // Test mode takes an unknown port for the product the wizard was opened for.
        { "USB MIDI Interface", true, 170, "Firmware Upgrade: Dalvi V+", {}, 0, 170 },
        { "Zorvane firmware upgrade", true, 170, "Firmware Upgrade: Dalvi V+", {}, 0, 170 },
        { "USB MIDI Interface", true, 2000, "Firmware Upgrade: Unknown", {}, 0, 2000 },
        { "Dalvi R+", true, 170, "Firmware Upgrade: Dalvi R+", {}, 0, 161 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.port + (c.testMode ? " (test mode)" : ""));

        Rig rig (c.initialPid);
        zorvane::bTest = c.testMode;
        rig.dialogs.portChoices = { c.port };

        rig.click (connect);

        EXPECT_EQ (rig.wizard->getWindowTitle(), c.title.isEmpty() ? juce::String ("Firmware Upgrade") : c.title);
        EXPECT_EQ (rig.wizard->getCurrentStep(), c.step);
        EXPECT_EQ (rig.wizard->getPid(), c.pid);
        EXPECT_EQ (rig.wizard->getCurrentPid(), c.pid);
        EXPECT_EQ (rig.wizard->getSelectedDeviceName(), c.port);
        EXPECT_EQ (enabledSteps (*rig.wizard), c.step == 0 ? "Connect|Erase" : "Connect");

        if (c.alert.isEmpty())
            EXPECT_TRUE (rig.dialogs.alerts.empty());
        else
            expectAlerts (rig.dialogs.alerts, { { AlertKind::info, "Firmware Upgrade", c.alert } });
    }
}

//==============================================================================
TEST (FirmwareUpgradeWizard, EraseSendsTheUpgradeRequestTwiceAndWaits)
{
    Rig rig;
    rig.dialogs.portChoices = { dalviPort };
    rig.click (connect);
    rig.takeLongSleeps();

    rig.click (erase);

    EXPECT_EQ (rig.wizard->getCurrentStep(), 1);
    EXPECT_DOUBLE_EQ (rig.wizard->getProgress(), 0.4);
    EXPECT_EQ (enabledSteps (*rig.wizard), "Connect|Erase|Activate");
    EXPECT_EQ (rig.takeLongSleeps(), std::vector<int> { 1300 });

    // The first request reaches the device, which restarts into its bootloader;
    // the second finds its port gone.
    const auto received = rig.device->getReceivedMessages();
    ASSERT_EQ (received.size(), 1u);
    EXPECT_EQ (received[0], (std::vector<juce::uint8> { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x7F, 0x7F, 0xF7 }));
    EXPECT_TRUE (rig.device->isInUpgradeMode());
    EXPECT_EQ (rig.bus.getNumOpenOutputs(), 0);
}

TEST (FirmwareUpgradeWizard, EraseWithoutAnOutputStopsQuietly)
{
    Rig rig;
    rig.dialogs.portChoices = { dalviPort };
    rig.click (connect);
    rig.bus.setRefusesToOpen (dalviPort, true);

    rig.click (erase);

    EXPECT_EQ (rig.wizard->getCurrentStep(), 0);
    EXPECT_EQ (enabledSteps (*rig.wizard), "Connect|Erase");
    EXPECT_TRUE (rig.dialogs.alerts.empty());
    EXPECT_FALSE (rig.device->isInUpgradeMode());
    EXPECT_EQ (rig.waits.sleptMs, 0);
}

TEST (FirmwareUpgradeWizard, ActivateOpensOnlyTheBootloaderPort)
{
    struct Case
    {
        const char* name;
        std::optional<juce::String> choice;
        bool testMode, refuse;
        std::vector<Alert> alerts;
        int step;
        const char* enabled;
    };

    const Case cases[] {
        { "bootloader", bootPort, false, false, {}, 2, "Erase|Activate|Select Version" },
        { "cancelled", std::nullopt, false, false, {}, 1, "Connect|Erase|Activate" },
        { "normal port", juce::String ("USB MIDI Interface"), false, false,
          { { AlertKind::warning, "Step 3", "Please select the unit \"Zorvane firmware upgrade\"" } },
          1, "Connect|Erase|Activate" },
        { "refuses to open", bootPort, false, true,
          { { AlertKind::info, "Midi Device", "Could not open the selected MIDI input device: Zorvane firmware upgrade" } },
          1, "Connect|Erase|Activate" },
        { "any port in test mode", juce::String ("USB MIDI Interface"), true, false, {}, 2, "Erase|Activate|Select Version" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);

        Rig rig;
        SilentDevice other;
        rig.bus.plugIn ("USB MIDI Interface", other);

        rig.dialogs.portChoices = { dalviPort };
        rig.click (connect);
        rig.click (erase);
        rig.takeLongSleeps();

        zorvane::bTest = c.testMode;
        rig.bus.setRefusesToOpen (bootPort, c.refuse);
        rig.dialogs.portChoices = { c.choice };
        rig.dialogs.onChoosePort = [&]
        {
            // Connect and Erase are off while the picker is up.
            EXPECT_EQ (enabledSteps (*rig.wizard), "Activate");
        };

        rig.click (activate);

        EXPECT_EQ (rig.takeLongSleeps(), std::vector<int> { 500 });
        EXPECT_EQ (rig.wizard->getCurrentStep(), c.step);
        EXPECT_EQ (enabledSteps (*rig.wizard), c.enabled);
        EXPECT_EQ (rig.wizard->getBootDeviceName(), c.choice.value_or (juce::String()));
        expectAlerts (rig.dialogs.alerts, c.alerts);

        ASSERT_NE (rig.wizard->getMidiHandler(), nullptr);
        EXPECT_EQ (rig.wizard->getMidiHandler()->getPid(), 170);

        const auto opened = c.step == 2;
        EXPECT_EQ (rig.wizard->getMidiHandler()->hasInput() && rig.wizard->getMidiHandler()->hasOutput(), opened);
        EXPECT_EQ (rig.bus.getNumOpenInputs(), opened ? 1 : 0);

        rig.wizard.reset();
        rig.bus.unplug ("USB MIDI Interface");
    }
}

//==============================================================================
TEST (FirmwareUpgradeWizard, SelectVersionDownloadsTheChosenImage)
{
    Rig rig;
    rig.server.serve ("/firmware.xml", 200, firmwareList ({
        "<firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.2\" fw=\"fw/dalvi_v_plus_1_2.bin\"/>",
        "<firmware pid=\"161\" name=\"Dalvi R+\" version=\"2.0\" fw=\"fw/dalvi_r_plus_2_0.bin\"/>",
        "<firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.3\" fw=\"fw/dalvi_v_plus_1_3.bin\"/>"
    }));
    rig.runUpToActivate();
    rig.dialogs.versionChoices = { 1 };

    rig.click (getImage);

    ASSERT_EQ (rig.dialogs.offeredFirmwares.size(), 1u);
    const auto offered = rig.dialogs.offeredFirmwares[0];
    ASSERT_EQ (offered.getNumChildren(), 2);
    EXPECT_EQ (offered.getChild (0)["version"].toString(), "1.2");
    EXPECT_EQ (offered.getChild (1)["version"].toString(), "1.3");

    EXPECT_EQ (rig.server.getRequestedPaths().joinIntoString ("|"),
               "/firmware.xml|/firmware.xml|/fw/dalvi_v_plus_1_3.bin");

    EXPECT_EQ (rig.wizard->getCurrentStep(), 3);
    EXPECT_DOUBLE_EQ (rig.wizard->getProgress(), 0.8);
    EXPECT_EQ (enabledSteps (*rig.wizard), "Activate|Select Version|Upgrade");
    EXPECT_TRUE (rig.dialogs.alerts.empty());
    EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramSize(), (juce::uint64) rig.image.getSize());

    // The download went through a temporary file, gone once the image is in memory.
    EXPECT_NE (rig.wizard->getFirmwareFile(), juce::File());
    EXPECT_FALSE (rig.wizard->getFirmwareFile().exists());
}

TEST (FirmwareUpgradeWizard, AFailedDownloadLoadsNothing)
{
    struct Case
    {
        const char* name;
        std::function<void (testsupport::LocalHttpServer&)> setUp;
        bool stalls;
    };

    const Case cases[] {
        { "status 500", [] (auto& s) { s.serve ("/" + imagePath, 500, makeImage (1100)); }, false },
        { "status 404", [] (auto& s) { s.serve ("/" + imagePath, 404, makeImage (1100)); }, false },
        { "too small", [] (auto& s) { s.serve ("/" + imagePath, 200, makeImage (511)); }, false },
        { "too large", [] (auto& s) { s.serve ("/" + imagePath, 200, makeImage (63488)); }, false },
        { "stalled", [] (auto& s) { s.stall ("/" + imagePath); }, true },
        { "entry without an image", [] (auto& s) {
              s.serve ("/firmware.xml", 200, firmwareList ({ "<firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.0\" fw=\"missing.bin\"/>" })); }, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);

        Rig rig;
        rig.runUpToActivate();
        c.setUp (rig.server);

        // A click on the same button while the download runs starts nothing.
        int loopsDuringStep = 0;
        rig.onWait = [&]
        {
            ++loopsDuringStep;
            rig.click (getImage);
        };

        rig.dialogs.versionChoices = { 0 };
        rig.click (getImage);
        rig.onWait = nullptr;

        expectAlerts (rig.dialogs.alerts, { { AlertKind::warning, "Firmware Donwload", "Could not download firmware file" } });
        EXPECT_EQ (rig.dialogs.offeredFirmwares.size(), 1u);

        // A stalled server keeps the message loop going until it is given up on.
        if (c.stalls)
        {
            EXPECT_GT (loopsDuringStep, 1);
        }

        EXPECT_EQ (rig.wizard->getCurrentStep(), 2);
        EXPECT_EQ (enabledSteps (*rig.wizard), "Activate|Select Version");
        EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramSize(), 0u);
        EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramFile(), juce::File());
        EXPECT_FALSE (rig.wizard->getFirmwareFile().exists());
    }
}

TEST (FirmwareUpgradeWizard, LoadWithNothingSelectedAsksTheServerForNothing)
{
    Rig rig;
    rig.runUpToActivate();
    rig.dialogs.versionChoices = { -1 };

    rig.click (getImage);

    expectAlerts (rig.dialogs.alerts, { { AlertKind::warning, "Firmware Donwload", "Could not download firmware file" } });
    EXPECT_EQ (rig.server.getRequestedPaths().joinIntoString ("|"), "/firmware.xml|/firmware.xml");
    EXPECT_EQ (rig.wizard->getCurrentStep(), 2);
    EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramSize(), 0u);
}

TEST (FirmwareUpgradeWizard, CancellingTheVersionPickerDownloadsNothing)
{
    Rig rig;
    rig.runUpToActivate();

    rig.click (getImage);

    EXPECT_EQ (rig.dialogs.offeredFirmwares.size(), 1u);
    EXPECT_EQ (rig.server.getRequestedPaths().joinIntoString ("|"), "/firmware.xml|/firmware.xml");
    EXPECT_EQ (rig.wizard->getCurrentStep(), 2);
    EXPECT_EQ (enabledSteps (*rig.wizard), "Activate|Select Version");
    EXPECT_TRUE (rig.dialogs.alerts.empty());
    EXPECT_TRUE (rig.dialogs.chooserStarts.empty());
}

TEST (FirmwareUpgradeWizard, WithoutAServerListTheFileChooserOpens)
{
    struct Case
    {
        const char* name;
        std::function<void (testsupport::LocalHttpServer&)> setUp;
    };

    const Case cases[] {
        { "no entry for the product", [] (auto& s) {
              s.serve ("/firmware.xml", 200, firmwareList ({ "<firmware pid=\"161\" name=\"Dalvi R+\" version=\"2.0\" fw=\"r.bin\"/>" })); } },
        { "empty list", [] (auto& s) { s.serve ("/firmware.xml", 200, firmwareList ({})); } },
        { "status 404", [] (auto& s) { s.serve ("/firmware.xml", 404, juce::String ("Not found")); } },
        { "not XML", [] (auto& s) { s.serve ("/firmware.xml", 200, juce::String ("<html")); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);

        Rig rig;
        c.setUp (rig.server);
        rig.runUpToActivate();

        const auto file = rig.temp / "dalvi_v_plus_1_4.bin";
        ASSERT_TRUE (file.replaceWithData (rig.image.getData(), rig.image.getSize()));
        rig.dialogs.files = { file };

        rig.click (getImage);

        EXPECT_TRUE (rig.dialogs.offeredFirmwares.empty());
        EXPECT_EQ (rig.dialogs.chooserStarts.size(), 1u);
        EXPECT_TRUE (rig.dialogs.alerts.empty());
        EXPECT_EQ (rig.wizard->getCurrentStep(), 3);
        EXPECT_EQ (rig.wizard->getFirmwareFile(), file);
        EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramFile(), file);
        EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramSize(), (juce::uint64) rig.image.getSize());
    }
}

TEST (FirmwareUpgradeWizard, LoadFileChecksTheNameForTheProductOfTheHandler)
{
    // An OstraPro R that takes anything sent to it, opened as its bootloader in test mode.
    Rig rig (170, false);
    SilentDevice ostra;
    rig.bus.plugIn ("Ostra Pro R", ostra);

    rig.dialogs.portChoices = { juce::String ("Ostra Pro R") };
    rig.click (connect);
    EXPECT_EQ (rig.wizard->getPid(), 94);
    rig.click (erase);

    zorvane::bTest = true;
    rig.dialogs.portChoices = { juce::String ("Ostra Pro R") };
    rig.click (activate);
    ASSERT_EQ (rig.wizard->getCurrentStep(), 2);

    const auto write = [&rig] (const char* name)
    {
        const auto file = rig.temp / name;
        file.replaceWithData (rig.image.getData(), rig.image.getSize());
        return file;
    };

    rig.dialogs.files = { write ("ostra_pro_rs_v2.bin") };
    rig.click (getImage);
    expectAlerts (rig.dialogs.alerts, { { AlertKind::warning, "Load File", "Not the matching firmware!" } });
    EXPECT_EQ (rig.wizard->getCurrentStep(), 2);
    EXPECT_EQ (enabledSteps (*rig.wizard), "Activate|Load File");
    EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramSize(), 0u);

    rig.dialogs.files = { std::nullopt };
    rig.click (getImage);
    EXPECT_EQ (rig.wizard->getCurrentStep(), 2);
    EXPECT_EQ (rig.dialogs.chooserStarts.back(), rig.temp / "ostra_pro_rs_v2.bin");

    rig.dialogs.files = { write (" OSTRA_PRO_R_v2.bin") };
    rig.click (getImage);
    EXPECT_EQ (rig.dialogs.alerts.size(), 1u);
    EXPECT_EQ (rig.wizard->getCurrentStep(), 3);
    EXPECT_EQ (enabledSteps (*rig.wizard), "Activate|Load File|Upgrade");
    EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramSize(), (juce::uint64) rig.image.getSize());

    // A later Connect to another product leaves the handler with the first one.
    // (Connect is open again after a cancelled Activate.)
    zorvane::bTest = false;
    rig.dialogs.portChoices = { std::nullopt, dalviPort };
    rig.click (activate);
    rig.click (connect);
    EXPECT_EQ (rig.wizard->getPid(), 170);
    EXPECT_EQ (rig.wizard->getMidiHandler()->getPid(), 94);

    rig.click (erase);
    rig.dialogs.portChoices = { bootPort };
    rig.click (activate);
    ASSERT_EQ (rig.wizard->getCurrentStep(), 2);
    rig.dialogs.files = { write ("dalvi_v_plus_1_4.bin") };
    rig.click (getImage);
    EXPECT_EQ (rig.dialogs.alerts.size(), 2u);
    EXPECT_EQ (rig.dialogs.alerts.back().title, "Load File");

    rig.bus.unplug ("Ostra Pro R");
}

TEST (FirmwareUpgradeWizard, FirmwareFileNames)
{
    struct Case
    {
        int pid;
        const char* name;
        bool accepted;
    };

    const Case cases[] {
        { 170, "anything at all", true },
        { 170, "", true },
        { 2000, "ostra_pro_r_v2", true },
        { 101, "dalvi_k_v1", true },
        { 145, "x", true },
        { 94, "ostra_pro_rs_v2", false },
        { 94, "ostra_pro_r_v2", true },
        { 94, "  OSTRA_PRO_R_V2 ", true },
        { 130, "ostra_pro_rs_v2", true },
        { 130, "ostra_pro_r_v2", false },
        { 79, "ostra_pro_ex_v5", true },
        { 89, "ostra_pro_ex_v5", true },
        { 79, "ostra_pro_r_v5", false },
        { 111, "merrow_3t_v1", true },
        { 126, "merrow_8t_v1", true },
        { 111, "merrow_3t_vst_v1", false },
        { 111, "merrow_3t_tessel_iii_v1", false },
        { 111, "merrow_3_v1", false },
        { 133, "merrow_3t_vst_v1", true },
        { 137, "merrow_8t_tessel_iii_v1", true },
        { 133, "merrow_3t_v1", false },
        { 117, "dalvi_k_v1", true },
        { 117, "dalvi_k+_v1", false },
        { 156, "dalvi_k+_v1", true },
        { 156, "dalvi_k_v1", false },
        { 118, "dalvi_r_v1", true },
        { 161, "dalvi_r+_v1", true },
        { 161, "dalvi_r_v1", false },
        { 147, "merrow_3r_v1", true },
        { 151, "merrow_8r_v1", true },
        { 147, "merrow_3t_v1", false },
        { 176, "ostraprog2_ostraexg2_v1", true },
        { 177, "ostraprog2_v1", false },
        { 179, "dalvi_lite_v1", true },
        { 186, "dalvi_go_v1", true },
        { 186, "dalvi_lite_v1", false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (FirmwareUpgradeComponent::isValidFmwName (c.name, c.pid), c.accepted) << c.pid << " " << c.name;
}

//==============================================================================
TEST (FirmwareUpgradeWizard, UpgradeWritesTheImageAndReturnsToTheStart)
{
    Rig rig;
    rig.runUpToImage();
    ASSERT_EQ (rig.wizard->getCurrentStep(), 3);
    rig.takeLongSleeps();

    double highestProgress = 0.0;
    juce::StringArray statusTexts;
    juce::String enabledDuringTransfer ("not seen");

    rig.onWait = [&]
    {
        highestProgress = juce::jmax (highestProgress, rig.wizard->getProgress());
        statusTexts.addIfNotAlreadyThere (rig.wizard->getStatusText());

        if (rig.wizard->getStatusText() == "Installing...")
            enabledDuringTransfer = enabledSteps (*rig.wizard);
    };

    rig.click (upgrade);

    expectAlerts (rig.dialogs.alerts, { { AlertKind::info, "Firmware Upgrade Success", "Your firmware has been upgraded!" } });

    auto& bootloader = rig.bootloader();
    EXPECT_EQ (bootloader.getFirstError(), "");
    EXPECT_EQ (bootloader.getEraseParameter(), 0x70);
    EXPECT_EQ (bootloader.getNumBlocks(), 3);
    EXPECT_EQ (bootloader.getImage(), paddedToBlocks (rig.image));
    EXPECT_EQ (bootloader.getNumResets(), 1);

    // The device is back under its own name and every port is closed.
    EXPECT_TRUE (rig.device->isPluggedIn());
    EXPECT_FALSE (rig.device->isInUpgradeMode());
    EXPECT_EQ (rig.bus.getNumOpenInputs(), 0);
    EXPECT_EQ (rig.bus.getNumOpenOutputs(), 0);

    EXPECT_EQ (enabledDuringTransfer, "");
    EXPECT_EQ (highestProgress, 1.0);
    EXPECT_TRUE (statusTexts.contains ("Connecting...") && statusTexts.contains ("Erasing...")
                 && statusTexts.contains ("Installing...") && statusTexts.contains ("Resetting..."));

    EXPECT_EQ (rig.takeLongSleeps(), (std::vector<int> { 800, 600, 300, 600 }));

    expectStartState (*rig.wizard, "Firmware Upgrade");
    EXPECT_TRUE (rig.wizard->getSelectedDeviceName().isEmpty());
    EXPECT_TRUE (rig.wizard->getBootDeviceName().isEmpty());

    // The image stays loaded; a second device could be upgraded with it.
    EXPECT_EQ (rig.wizard->getMidiHandler()->getProgramSize(), (juce::uint64) rig.image.getSize());
}

TEST (FirmwareUpgradeWizard, EveryTransferFailureEndsInItsMessageAndTheStartState)
{
    struct Case
    {
        const char* name;
        std::function<void (SimulatedBootloader&)> inject;
        const char* message;
    };

    const Case cases[] {
        { "silent at connect", [] (auto& b) { b.setSilentAt (Phase::connect); }, "Could not connect to hardware" },
        { "wrong answer to connect", [] (auto& b) { b.answerWrongAt (Phase::connect, 0x03); }, "Could not connect to hardware" },
        { "silent at erase", [] (auto& b) { b.setSilentAt (Phase::erase); }, "Could not erase existing firmware" },
        { "silent at the blocks", [] (auto& b) { b.setSilentAt (Phase::block); }, "Could not write new firmware" },
        { "stops after block 0", [] (auto& b) { b.stopAnsweringAfterBlock (0); }, "Could not write new firmware" },
        { "unplugged after block 1", [] (auto& b) { b.unplugAfterBlock (1); }, "Could not write new firmware" },
        { "silent at reset", [] (auto& b) { b.setSilentAt (Phase::reset); }, "Could not reset the device" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);

        Rig rig;
        rig.runUpToImage();
        ASSERT_EQ (rig.wizard->getCurrentStep(), 3);

        c.inject (rig.bootloader());
        rig.click (upgrade);

        expectAlerts (rig.dialogs.alerts, { { AlertKind::warning, "Firmware Upgrade Error", c.message } });
        EXPECT_EQ (rig.bus.getNumOpenInputs(), 0);
        EXPECT_EQ (rig.bus.getNumOpenOutputs(), 0);
        expectStartState (*rig.wizard, "Firmware Upgrade");
        EXPECT_TRUE (rig.wizard->getSelectedDeviceName().isEmpty());
        EXPECT_TRUE (rig.wizard->getBootDeviceName().isEmpty());
    }
}

TEST (FirmwareUpgradeWizard, ClosingResetsADeviceLeftInItsUpgradeMode)
{
    Rig rig;
    TapDevice otherPort;
    rig.bus.plugIn ("USB MIDI Interface", otherPort);

    rig.dialogs.portChoices = { dalviPort };
    rig.click (connect);
    rig.click (erase);
    ASSERT_TRUE (rig.device->isInUpgradeMode());

    rig.wizard.reset();

    EXPECT_EQ (rig.bootloader().getNumResets(), 1);
    EXPECT_FALSE (rig.device->isInUpgradeMode());
    EXPECT_TRUE (rig.device->isPluggedIn());
    EXPECT_EQ (otherPort.numReceived(), 0u);
    EXPECT_EQ (rig.bus.getNumOpenOutputs(), 0);

    rig.bus.unplug ("USB MIDI Interface");
}

TEST (FirmwareUpgradeWizard, ClosingWithNoDeviceInUpgradeModeSendsNothing)
{
    Rig rig;
    rig.dialogs.portChoices = { dalviPort };
    rig.click (connect);

    rig.wizard.reset();

    EXPECT_TRUE (rig.device->getReceivedMessages().empty());
    EXPECT_EQ (rig.bootloader().getNumResets(), 0);
}

//==============================================================================
TEST (FirmwareUpgradeWizard, KeysSwitchModesAndTitleTheWindow)
{
    struct Case
    {
        std::vector<int> keys;
        const char* title;
        bool testMode, serverMode;
    };

    const Case cases[] {
        { { 'T' }, "Firmware Upgrade.", true, true },
        { { 'T', 'T' }, "Firmware Upgrade", false, true },
        { { 'M' }, "Firmware Upgrade [M]", false, false },
        { { 'M', 'M' }, "Firmware Upgrade", false, true },
        { { 'T', 'M' }, "Firmware Upgrade. [M]", true, false },
        { { 't', 'm' }, "Firmware Upgrade. [M]", true, false },
        { { 'X' }, "Firmware Upgrade", false, true },
    };

    for (const auto& c : cases)
    {
        Rig rig;

        for (auto key : c.keys)
            EXPECT_FALSE (rig.wizard->keyPressed (juce::KeyPress (key)));

        EXPECT_EQ (rig.wizard->getWindowTitle(), c.title);
        EXPECT_EQ (zorvane::bTest, c.testMode) << c.title;
        EXPECT_EQ (rig.wizard->isServerMode(), c.serverMode) << c.title;
        EXPECT_TRUE (rig.dialogs.aboutBoxes.empty());
    }
}

TEST (FirmwareUpgradeWizard, MSendsStepFourToTheFileChooserUntilTheNextConnect)
{
    Rig rig;
    rig.wizard->keyPressed (juce::KeyPress ('T'));
    rig.wizard->keyPressed (juce::KeyPress ('M'));
    EXPECT_EQ (rig.wizard->getWindowTitle(), "Firmware Upgrade. [M]");

    rig.dialogs.portChoices = { dalviPort };
    rig.click (connect);
    EXPECT_TRUE (rig.wizard->isServerMode());

    rig.wizard->keyPressed (juce::KeyPress ('M'));
    rig.click (erase);
    rig.dialogs.portChoices = { bootPort };
    rig.click (activate);
    rig.click (getImage);

    EXPECT_EQ (rig.wizard->getStepButton (getImage).getButtonText(), "Select Version");
    EXPECT_EQ (rig.dialogs.chooserStarts.size(), 1u);
    EXPECT_TRUE (rig.dialogs.offeredFirmwares.empty());
    EXPECT_TRUE (rig.server.getRequestedPaths().isEmpty());
}

TEST (FirmwareUpgradeWizard, AboutBoxAndDeviceNameHelp)
{
    Rig rig;

    EXPECT_FALSE (rig.wizard->keyPressed (juce::KeyPress (juce::KeyPress::F1Key)));
    ASSERT_EQ (rig.dialogs.aboutBoxes.size(), 1u);
    EXPECT_EQ (rig.dialogs.aboutBoxes[0].title, "\n \nZorvane Firmware Upgrader\n\nV1.19  Build 57");
    EXPECT_TRUE (rig.dialogs.aboutBoxes[0].message.startsWith ("\n\n \n"));
    EXPECT_TRUE (rig.dialogs.aboutBoxes[0].message.containsIgnoreCase ("Copyright"));

    rig.wizard->buttonClicked (&rig.wizard->getUpdateNameButton());
    EXPECT_EQ (rig.dialogs.helpTexts,
               juce::StringArray { "After \"Audio MIDI Setup\" opened.\n\n1. Check \"Show MIDI Window\" \non \"Window\" pull-down menu, \n"
                                   "at the top task-bar.\n\n2. Turn off your device, drag \nthe sroll-bar to find out your device, \n"
                                   "and select it.\n\n3. Click \"Remove Device\".\n\nThen turn on your device. \n"
                                   "The displaying name of your device \nwill be refreshed!" });

    struct Case
    {
        int macMinor;
        const char* command;
    };

    const Case cases[] {
        { 14, "open /Applications/Utilities/Audio\\ MIDI\\ Setup.app" },
        { 13, "open /Applications/Utilities/Audio\\ MIDI\\ Setup.app" },
        { 15, "open /System/Applications/Utilities/Audio\\ MIDI\\ Setup.app" },
        { 18, "open /System/Applications/Utilities/Audio\\ MIDI\\ Setup.app" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (FirmwareUpgradeComponent::getAudioMidiSetupCommand (c.macMinor), c.command) << c.macMinor;
}

//==============================================================================
TEST (FirmwareUpgradeWindow, TitlesFollowTheWizardAndCloseWaitsForTheRunningStep)
{
    Rig rig (170, true, false);
    zorvane::FirmwareUpgradeWindow window (std::move (rig.wizard), nullptr, false);
    auto& wizard = window.getWizard();
    window.setVisible (true);

    EXPECT_EQ (window.getName(), "Firmware Upgrade");
    wizard.keyPressed (juce::KeyPress ('T'));
    EXPECT_EQ (window.getName(), "Firmware Upgrade.");

    // Connect waits for an input (no device); a close meanwhile is refused.
    int numRefused = 0;
    rig.onWait = [&]
    {
        EXPECT_TRUE (wizard.isBusy());
        window.closeButtonPressed();
        EXPECT_TRUE (window.escapeKeyPressed());
        numRefused += window.isVisible() ? 1 : 0;
    };

    wizard.buttonClicked (&wizard.getStepButton (connect));
    rig.onWait = nullptr;

    EXPECT_EQ (numRefused, 5);
    EXPECT_EQ (window.getName(), "Firmware Upgrade");
    EXPECT_FALSE (wizard.isBusy());

    window.closeButtonPressed();
    EXPECT_FALSE (window.isVisible());

    window.setVisible (true);
    EXPECT_TRUE (window.escapeKeyPressed());
    EXPECT_FALSE (window.isVisible());
}

//==============================================================================
namespace
{
    /** Restores the upgrader's process-wide switches that the entry point sets. */
    struct ScopedUpgraderGlobals
    {
        ~ScopedUpgraderGlobals()
        {
            zorvane::_mac_major = macMajor;
            zorvane::bTest = false;
        }

        int macMajor = zorvane::_mac_major;
    };

    int runEntry (testsupport::FakeFirmwareUpgradeDialogs& dialogs, zorvane::MidiBackend& midi,
                  testsupport::FakeWaits& waits, bool showWarning, bool serverMode = true)
    {
        zorvane::Network::Settings settings;
        settings.serverBase = "http://127.0.0.1:1/";
        settings.waits = &waits;

        juce::Component centre;
        const auto result = zorvane::FirmwareUpgrade::runWizardDialogModal (170, &centre, showWarning, serverMode,
                                                                            dialogs, midi, waits, settings);

        if (dialogs.numWizardDialogs > 0)
        {
            EXPECT_EQ (dialogs.wizardCentre, &centre);
        }

        return result;
    }
}

TEST (FirmwareUpgradeEntry, DecliningTheHubWarningOpensNothing)
{
    ScopedUpgraderGlobals globals;
    testsupport::FakeFirmwareUpgradeDialogs dialogs;
    testsupport::FakeWaits waits;
    zorvane::VirtualMidiBackend bus;
    dialogs.acceptHubWarning = false;
    dialogs.onRunWizard = [] (auto&) { return 1; };

    EXPECT_EQ (runEntry (dialogs, bus, waits, true), 0);

    EXPECT_EQ (dialogs.numWizardDialogs, 0);
    ASSERT_EQ (dialogs.hubWarnings.size(), 1u);
    EXPECT_EQ (dialogs.hubWarnings[0].title, "Firmware Upgrader about to start");
    EXPECT_EQ (dialogs.hubWarnings[0].message,
               "\n* IMPORTANT WARNING! *\n\nFAILURE TO FOLLOW THESE INSTRUCTIONS COULD DAMAGE YOUR DEVICE!!\n\n"
               "- Connect ONLY the device you want to update\n- Make sure the power supply is connected (if any)\n"
               "- Connect device directly to computer (no hub)\n- Do not touch device during firmware update");
}

TEST (FirmwareUpgradeEntry, RunsTheWizardForTheProductWithTestModeOff)
{
    ScopedUpgraderGlobals globals;
    testsupport::FakeFirmwareUpgradeDialogs dialogs;
    testsupport::FakeWaits waits;
    zorvane::VirtualMidiBackend bus;

    struct Case
    {
        bool showWarning, serverMode;
        size_t numWarnings;
        const char* fourthStep;
    };

    const Case cases[] {
        { true, true, 1, "Select Version" },
        { false, true, 0, "Select Version" },
        { false, false, 0, "Load File" },
    };

    for (const auto& c : cases)
    {
        dialogs.hubWarnings.clear();
        dialogs.numWizardDialogs = 0;
        zorvane::_mac_major = -1;

        // The wizard left test mode on when it last closed.
        zorvane::bTest = true;

        bool testModeAtStart = true;
        dialogs.onRunWizard = [&] (FirmwareUpgradeComponent& wizard)
        {
            testModeAtStart = zorvane::bTest;
            EXPECT_EQ (wizard.getPid(), 170);
            EXPECT_EQ (wizard.getStepButton (getImage).getButtonText(), c.fourthStep);
            wizard.keyPressed (juce::KeyPress ('T'));
            return 0;
        };

        EXPECT_EQ (runEntry (dialogs, bus, waits, c.showWarning, c.serverMode), 0);

        EXPECT_EQ (dialogs.numWizardDialogs, 1);
        EXPECT_EQ (dialogs.hubWarnings.size(), c.numWarnings);
        EXPECT_FALSE (testModeAtStart);
        EXPECT_EQ (zorvane::_mac_major, (int) juce::SystemStats::getOperatingSystemType() - 0x100);
    }
}
