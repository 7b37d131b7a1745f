#include "app/device/ThisProduct.h"
#include "app/shell/RunOptions.h"
#include "app/shell/SimulationMode.h"
#include "tests/support/FakeWaits.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
    RunOptions optionsFrom (const std::map<std::string, juce::String>& variables)
    {
        return RunOptions::fromVariables ([&] (const char* name) -> juce::String
        {
            const auto it = variables.find (name);
            return it != variables.end() ? it->second : juce::String();
        });
    }

    /** A device model of its own that takes whatever MIDI backend is installed,
        as the program's does.
    */
    struct ModelOnInstalledMidi
    {
        ModelOnInstalledMidi()
        {
            DalviPlus::Environment env;
            env.settingsFolder = settings.get();
            env.waits = &waits;
            model = std::make_unique<DalviPlus> (env);
        }

        juce::Result send()
        {
            model->setCurrentOutputDevice ("Dalvi V+");
            return model->sendCurrentMapping();
        }

        testsupport::TempFolder settings;
        testsupport::FakeWaits waits;
        std::unique_ptr<DalviPlus> model;
    };
}

//==============================================================================
TEST (RunOptions, TakeTheirSwitchesFromTheEnvironmentVariables)
{
    const auto here = juce::File::getCurrentWorkingDirectory();

    struct Case
    {
        std::map<std::string, juce::String> variables;
        bool simulated;
        juce::File log, settings;
    };

    const Case cases[] = {
        { {}, false, {}, {} },
        { { { "TRAVIK_MIDI", "simulated" } }, true, {}, {} },
        { { { "TRAVIK_MIDI", " Simulated " } }, true, {}, {} },
        { { { "TRAVIK_MIDI", "alsa" } }, false, {}, {} },
        { { { "TRAVIK_MIDI", "simulated" }, { "TRAVIK_SIM_LOG", "/tmp/x/device.log" } }, true, juce::File ("/tmp/x/device.log"), {} },
        { { { "TRAVIK_MIDI", "simulated" }, { "TRAVIK_SIM_LOG", "device.log" } }, true, here.getChildFile ("device.log"), {} },
        // The log belongs to the simulated device; without it there is none.
        { { { "TRAVIK_SIM_LOG", "/tmp/x/device.log" } }, false, {}, {} },
        { { { "TRAVIK_SETTINGS_DIR", "/tmp/x/settings" } }, false, {}, juce::File ("/tmp/x/settings") },
        { { { "TRAVIK_SETTINGS_DIR", "settings" } }, false, {}, here.getChildFile ("settings") },
        { { { "TRAVIK_SETTINGS_DIR", "  " } }, false, {}, {} },
    };

    for (const auto& c : cases)
    {
        const auto options = optionsFrom (c.variables);
        EXPECT_EQ (options.simulatedMidi, c.simulated);
        EXPECT_EQ (options.simulationLog, c.log) << options.simulationLog.getFullPathName();
        EXPECT_EQ (options.settingsFolder, c.settings) << options.settingsFolder.getFullPathName();
    }
}

//==============================================================================
TEST (SimulationMode, IsTheProcesssMidiWhileItExists)
{
    const zorvane::MidiBackend* simulatedBus = nullptr;

    {
        SimulationMode simulation;
        simulatedBus = &simulation.getBus();

        EXPECT_EQ (&zorvane::MidiPorts::get(), simulatedBus);
        EXPECT_TRUE (zorvane::MidiPorts::get().getOutputNames().contains ("Dalvi V+"));
        EXPECT_TRUE (zorvane::MidiPorts::get().getInputNames().contains ("Dalvi V+"));
    }

    EXPECT_NE (&zorvane::MidiPorts::get(), simulatedBus);
}

TEST (SimulationMode, LogsEachCompleteTransferAsTravikBytesPrintsIt)
{
    testsupport::TempFolder folder;
    const auto log = folder / "device.log";
    SimulationMode simulation (log);
    ModelOnInstalledMidi program;

    const auto result = program.send();
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_EQ (simulation.getDevice().getError(), juce::String());

    const auto lines = juce::StringArray::fromLines (log.loadFileAsString().trimEnd());
    ASSERT_EQ (lines.size(), 102);
    EXPECT_EQ (lines[0], "F0 1D 03 01 2A 00 01 7F F7");   // product 170, Mackie
    EXPECT_EQ (lines[1], "9F 09 00");                     // aid 0: Note On channel 1 ...
    EXPECT_EQ (lines[2], "9F 02 08");                     // ... note 40
    EXPECT_EQ (lines[101], "9E 7F 7F");
    EXPECT_TRUE (log.loadFileAsString().endsWith ("\n"));

    // A second transfer is appended, not merged with the first.
    ASSERT_TRUE (program.send().wasOk());
    const auto twice = juce::StringArray::fromLines (log.loadFileAsString().trimEnd());
    ASSERT_EQ (twice.size(), 204);
    EXPECT_EQ (twice[102], lines[0]);
    EXPECT_EQ (twice[203], lines[101]);
}

TEST (SimulationMode, LogsNothingOfWhatCameBeforeTheTransfer)
{
    testsupport::TempFolder folder;
    const auto log = folder / "device.log";
    SimulationMode simulation (log);

    {
        auto& bus = simulation.getBus();
        auto port = bus.openOutput (bus.getOutputNames().indexOf ("Dalvi V+"));
        ASSERT_NE (port, nullptr);
        port->sendMessageNow (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100));
    }

    EXPECT_FALSE (log.exists());   // a stray message is no transfer

    ModelOnInstalledMidi program;
    ASSERT_TRUE (program.send().wasOk());

    const auto lines = juce::StringArray::fromLines (log.loadFileAsString().trimEnd());
    ASSERT_EQ (lines.size(), 102);
    EXPECT_EQ (lines[0], "F0 1D 03 01 2A 00 01 7F F7");
}
