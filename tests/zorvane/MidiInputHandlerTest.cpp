#include "tests/support/FakeWaits.h"
#include "tests/support/TempFolder.h"
#include "tools/simdevice/SimulatedBootloader.h"
#include "zorvane_core/VirtualMidiBackend.h"
#include "zorvane_firmware/MidiInputHandler.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
    using Bytes = std::vector<juce::uint8>;
    using Phase = SimulatedBootloader::Phase;

    const juce::String bootPort ("Zorvane firmware upgrade");

    class RecordingObserver final : public zorvane::TransferObserver
    {
    public:
        void setProgress (double p) override                  { progress.push_back (p); }
        void setStatusText (const juce::String& t) override   { statusTexts.add (t); }

        std::vector<double> progress;
        juce::StringArray statusTexts;
    };

    /** Sits on the port in front of another device: records what the host sends,
        then hands it on (or swallows it, when there is nobody behind).
    */
    class Tap final : public zorvane::VirtualMidiDevice
    {
    public:
        void receive (const juce::String& port, const juce::MidiMessage& message) override
        {
            messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());

            if (behind != nullptr)
                behind->receive (port, message);
        }

        zorvane::VirtualMidiDevice* behind = nullptr;
        std::vector<Bytes> messages;
    };

    /** Answers every complete command packet (17 carrier messages) with one fixed message. */
    class FixedAnswerDevice final : public zorvane::VirtualMidiDevice
    {
    public:
        FixedAnswerDevice (zorvane::VirtualMidiBackend& b, juce::MidiMessage a) : bus (b), answer (std::move (a)) {}

        void receive (const juce::String& port, const juce::MidiMessage&) override
        {
            if (++received % 17 == 0)
                bus.sendToHost (port, answer);
        }

    private:
        zorvane::VirtualMidiBackend& bus;
        juce::MidiMessage answer;
        int received = 0;
    };

    /** The virtual bus as it is, but every output refuses to open. */
    class NoOutputsBackend final : public zorvane::MidiBackend
    {
    public:
        explicit NoOutputsBackend (zorvane::MidiBackend& b) : inner (b) {}

        juce::StringArray getOutputNames() override { return inner.getOutputNames(); }
        juce::StringArray getInputNames() override  { return inner.getInputNames(); }
        std::unique_ptr<zorvane::MidiOutputPort> openOutput (int) override { return {}; }
        std::unique_ptr<zorvane::MidiInputPort> openInput (int i, juce::MidiInputCallback& c) override { return inner.openInput (i, c); }

    private:
        zorvane::MidiBackend& inner;
    };

    Bytes makeImage (size_t size)
    {
        Bytes image (size);
        juce::Random random ((juce::int64) size);

        for (auto& b : image)
            b = (juce::uint8) random.nextInt (256);

        return image;
    }

    Bytes paddedToBlocks (Bytes image)
    {
        image.resize ((image.size() + 511) / 512 * 512, 0xFF);
        return image;
    }

    Bytes bytesOf (const juce::MemoryBlock& block)
    {
        auto* data = static_cast<const juce::uint8*> (block.getData());
        return Bytes (data, data + block.getSize());
    }

    /** A bootloader on the virtual bus, a handler with its ports open, and instant waits. */
    struct UploadRig
    {
        explicit UploadRig (int pid = 170)
        {
            tap.behind = &bootloader;
            midi.plugIn (bootPort, tap);
            handler = std::make_unique<zorvane::MidiInputHandler> (observer, pid, midi, waits);
            handler->start (bootPort);
        }

        ~UploadRig()
        {
            handler.reset();
            midi.unplug (bootPort);
        }

        void loadImage (const Bytes& image)
        {
            const auto file = temp / "firmware.bin";
            file.replaceWithData (image.data(), image.size());
            handler->openProgram (file);
        }

        bool progressStayedInRange() const
        {
            for (auto p : observer.progress)
                if (p < 0.8 || p > 1.0)
                    return false;

            return true;
        }

        zorvane::VirtualMidiBackend midi;
        SimulatedBootloader bootloader { midi, bootPort };   // answers through the tap, not plugged itself
        Tap tap;
        testsupport::FakeWaits waits;
        testsupport::TempFolder temp;
        RecordingObserver observer;
        std::unique_ptr<zorvane::MidiInputHandler> handler;
    };

    struct ScopedMacMajor
    {
        explicit ScopedMacMajor (int value) : previous (zorvane::_mac_major) { zorvane::_mac_major = value; }
        ~ScopedMacMajor() { zorvane::_mac_major = previous; }
        int previous;
    };
}

//==============================================================================
TEST (MidiInputHandler, ImageSizeLimits)
{
    struct Case
    {
        size_t size;
        bool accepted;
        int blocks;
    };

    const Case cases[] =
    {
        {     0, false,   0 },
        {   511, false,   0 },
        {   512, true,    1 },
        {  1021, true,    2 },
        {  1025, true,    3 },
        { 63487, true,  124 },
        { 63488, false,   0 },
        { 70000, false,   0 }
    };

    for (const auto& c : cases)
    {
        UploadRig rig;
        const auto image = makeImage (c.size);
        rig.loadImage (image);

        const auto result = rig.handler->sendProgram();

        if (! c.accepted)
        {
            EXPECT_EQ (result.getErrorMessage(), "Wrong file or cannot find this file!") << c.size;
            EXPECT_TRUE (rig.tap.messages.empty()) << c.size;
            EXPECT_TRUE (rig.observer.progress.empty()) << c.size;
            continue;
        }

        ASSERT_TRUE (result.wasOk()) << c.size << ": " << result.getErrorMessage();
        EXPECT_EQ (rig.bootloader.getFirstError(), "") << c.size;
        EXPECT_EQ (rig.bootloader.getNumBlocks(), c.blocks) << c.size;
        EXPECT_EQ (bytesOf (rig.bootloader.getImage()), paddedToBlocks (image)) << c.size;
        EXPECT_EQ (rig.bootloader.getNumResets(), 1) << c.size;
        EXPECT_TRUE (rig.progressStayedInRange()) << c.size;

        // Connect, erase and reset are 17 messages each; every block is 530.
        EXPECT_EQ (rig.tap.messages.size(), (size_t) (3 * 17 + c.blocks * 530)) << c.size;
    }
}

TEST (MidiInputHandler, MissingOrUnreadableFileIsRefused)
{
    UploadRig rig;
    rig.handler->openProgram (rig.temp / "nothing-here.bin");

    EXPECT_EQ (rig.handler->sendProgram().getErrorMessage(), "Wrong file or cannot find this file!");
    EXPECT_TRUE (rig.tap.messages.empty());

    // A good image replaced by a missing one leaves none.
    rig.loadImage (makeImage (600));
    rig.handler->openProgram (rig.temp / "gone.bin");
    EXPECT_EQ (rig.handler->getProgramSize(), 0u);
}

TEST (MidiInputHandler, FirstMessagesAreTheConnectPacket)
{
    UploadRig rig;
    rig.loadImage (makeImage (512));
    ASSERT_TRUE (rig.handler->sendProgram().wasOk());

    std::vector<Bytes> connect (10, Bytes { 0x9F, 0x05, 0x05 });
    connect.insert (connect.end(), { Bytes { 0x9F, 0x01, 0x0D }, Bytes { 0x9F, 0x00, 0x03 }, Bytes { 0x9F, 0x00, 0x00 },
                                     Bytes { 0x9F, 0x04, 0x09 }, Bytes { 0x9F, 0x07, 0x0F }, Bytes { 0x9F, 0x00, 0x00 },
                                     Bytes { 0x9F, 0x03, 0x0A } });

    ASSERT_GE (rig.tap.messages.size(), connect.size());
    EXPECT_EQ (std::vector<Bytes> (rig.tap.messages.begin(), rig.tap.messages.begin() + 17), connect);

    // The reset packet closes the transfer: ... 0x02, 0x00, checksum 0xBD.
    const auto& last = rig.tap.messages;
    EXPECT_EQ (last[last.size() - 3], Bytes ({ 0x9F, 0x00, 0x02 }));
    EXPECT_EQ (last[last.size() - 1], Bytes ({ 0x9F, 0x0B, 0x0D }));
}

TEST (MidiInputHandler, EraseParameterFollowsTheProduct)
{
    struct Case
    {
        int pid;
        int eraseParameter;
    };

    for (const auto& c : { Case { 170, 0x70 }, Case { 94, 0x71 }, Case { 130, 0x71 }, Case { 2000, 0x70 } })
    {
        UploadRig rig (c.pid);
        rig.loadImage (makeImage (700));

        EXPECT_TRUE (rig.handler->sendProgram().wasOk()) << c.pid;
        EXPECT_EQ (rig.bootloader.getEraseParameter(), c.eraseParameter) << c.pid;
    }
}

//==============================================================================
TEST (MidiInputHandler, ProgressAndStatusThroughATransfer)
{
    UploadRig rig;
    rig.loadImage (makeImage (1025));
    ASSERT_TRUE (rig.handler->sendProgram().wasOk());

    // total = 1,025 + 3; after the third block 0.8 + 0.2 * 1,536 / 1,028 would pass 1.
    const std::vector<double> expected { 0.8,
                                         0.8 + 0.2 * 1.0 / 1028.0,
                                         0.8 + 0.2 * 2.0 / 1028.0,
                                         0.8 + 0.2 * 512.0 / 1028.0,
                                         0.8 + 0.2 * 1024.0 / 1028.0,
                                         1.0 };

    ASSERT_EQ (rig.observer.progress.size(), expected.size());

    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_DOUBLE_EQ (rig.observer.progress[i], expected[i]) << i;

    EXPECT_EQ (rig.observer.statusTexts, juce::StringArray ({ "Connecting...", "Erasing...", "Installing...", "Resetting..." }));
}

TEST (MidiInputHandler, ProgressAfterConnectOfA1021ByteImage)
{
    UploadRig rig;
    rig.bootloader.setSilentAt (Phase::erase);
    rig.loadImage (makeImage (1021));
    rig.handler->sendProgram();

    ASSERT_GE (rig.observer.progress.size(), 2u);
    EXPECT_DOUBLE_EQ (rig.observer.progress[1], 0.8 + 0.2 * 1.0 / 1024.0);
}

//==============================================================================
TEST (MidiInputHandler, EachFaultEndsInItsMessage)
{
    struct Case
    {
        const char* name;
        std::function<void (SimulatedBootloader&)> inject;
        const char* message;
        const char* lastStatus;
        int blocksWritten;
    };

    const Case cases[] =
    {
        { "silent at connect", [] (SimulatedBootloader& b) { b.setSilentAt (Phase::connect); },
          "Could not connect to hardware", "Connecting...", 0 },
        { "silent at erase", [] (SimulatedBootloader& b) { b.setSilentAt (Phase::erase); },
          "Could not erase existing firmware", "Erasing...", 0 },
        { "silent at blocks", [] (SimulatedBootloader& b) { b.setSilentAt (Phase::block); },
          "Could not write new firmware", "Installing...", 1 },
        { "silent at reset", [] (SimulatedBootloader& b) { b.setSilentAt (Phase::reset); },
          "Could not reset the device", "Resetting...", 3 },
        { "answers stop after block 1", [] (SimulatedBootloader& b) { b.stopAnsweringAfterBlock (1); },
          "Could not write new firmware", "Installing...", 3 },
        { "connect answered as an erase", [] (SimulatedBootloader& b) { b.answerWrongAt (Phase::connect, 0x00); },
          "Could not connect to hardware", "Connecting...", 0 },
        { "erase answered as a block", [] (SimulatedBootloader& b) { b.answerWrongAt (Phase::erase, 0x01); },
          "Could not erase existing firmware", "Erasing...", 0 },
        { "block answered with 0x03", [] (SimulatedBootloader& b) { b.answerWrongAt (Phase::block, 0x03); },
          "Could not write new firmware", "Installing...", 1 },
        { "reset answered as connect", [] (SimulatedBootloader& b) { b.answerWrongAt (Phase::reset, 0x7F); },
          "Could not reset the device", "Resetting...", 3 },
    };

    for (const auto& c : cases)
    {
        UploadRig rig;
        c.inject (rig.bootloader);
        rig.loadImage (makeImage (1200));

        const auto result = rig.handler->sendProgram();

        EXPECT_EQ (result.getErrorMessage(), c.message) << c.name;
        EXPECT_EQ (rig.observer.statusTexts[rig.observer.statusTexts.size() - 1], c.lastStatus) << c.name;
        EXPECT_EQ (rig.bootloader.getNumBlocks(), c.blocksWritten) << c.name;
        EXPECT_EQ (rig.bootloader.getFirstError(), "") << c.name;
        EXPECT_TRUE (rig.progressStayedInRange()) << c.name;
        EXPECT_EQ (rig.waits.loopMs, rig.waits.numLoops * 33) << c.name;

        // The ports stay open for the wizard to close.
        EXPECT_TRUE (rig.handler->hasInput() && rig.handler->hasOutput()) << c.name;
    }
}

TEST (MidiInputHandler, PortVanishingMidTransfer)
{
    // The bootloader itself sits on the port and leaves the bus after block 1.
    zorvane::VirtualMidiBackend midi;
    SimulatedBootloader bootloader (midi);
    bootloader.plugIn();
    bootloader.unplugAfterBlock (1);

    testsupport::FakeWaits waits;
    RecordingObserver observer;
    testsupport::TempFolder temp;

    zorvane::MidiInputHandler handler (observer, 170, midi, waits);
    handler.start (bootPort);
    ASSERT_TRUE (handler.hasInput() && handler.hasOutput());

    const auto image = makeImage (2000);
    (temp / "fw.bin").replaceWithData (image.data(), image.size());
    handler.openProgram (temp / "fw.bin");

    EXPECT_EQ (handler.sendProgram().getErrorMessage(), "Could not write new firmware");
    EXPECT_FALSE (bootloader.isPluggedIn());
    EXPECT_EQ (bootloader.getNumBlocks(), 2);
    EXPECT_EQ (observer.statusTexts[observer.statusTexts.size() - 1], "Installing...");
    EXPECT_LE (observer.progress.back(), 1.0);
}

TEST (MidiInputHandler, WaitLengthsInSlices)
{
    struct Case
    {
        Phase silentPhase;
        int expectedSlices;
    };

    // Answered waits cost nothing, except that every block waits one slice first.
    const Case cases[] =
    {
        { Phase::connect, 180 },
        { Phase::erase,   180 },
        { Phase::block,   180 },
        { Phase::reset,   180 + 2 }
    };

    for (const auto& c : cases)
    {
        UploadRig rig;
        rig.bootloader.setSilentAt (c.silentPhase);
        rig.loadImage (makeImage (1024));
        rig.handler->sendProgram();

        EXPECT_EQ (rig.waits.numLoops, c.expectedSlices) << (int) c.silentPhase;
    }
}

TEST (MidiInputHandler, PausesOfTheProtocol)
{
    struct Case
    {
        int macMajor;
        size_t imageSize;
        long long sleptMs;
    };

    // Connect 17 x 1 ms, erase 17 x 1 ms + 100 ms, reset 17 x 2 ms; from macOS
    // 10.15 on, 1 ms before every second data message (265 per block).
    const Case cases[] =
    {
        { 14,  512, 17 + 117 + 34 },
        {  0, 1500, 17 + 117 + 34 },
        { 15,  512, 17 + 117 + 265 + 34 },
        { 15, 1500, 17 + 117 + 3 * 265 + 34 }
    };

    for (const auto& c : cases)
    {
        const ScopedMacMajor macMajor (c.macMajor);
        UploadRig rig;
        rig.loadImage (makeImage (c.imageSize));

        ASSERT_TRUE (rig.handler->sendProgram().wasOk());
        EXPECT_EQ (rig.waits.sleptMs, c.sleptMs) << c.macMajor << " " << c.imageSize;
    }
}

TEST (MidiInputHandler, RunsAgainAfterAFailure)
{
    UploadRig rig;
    rig.bootloader.stopAnsweringAfterBlock (0);
    const auto image = makeImage (1600);
    rig.loadImage (image);

    EXPECT_EQ (rig.handler->sendProgram().getErrorMessage(), "Could not write new firmware");

    rig.bootloader.clearFaults();
    ASSERT_TRUE (rig.handler->sendProgram().wasOk());

    EXPECT_EQ (rig.bootloader.getFirstError(), "");     // block numbers restarted at 0
    EXPECT_EQ (rig.bootloader.getNumConnects(), 2);
    EXPECT_EQ (bytesOf (rig.bootloader.getImage()), paddedToBlocks (image));
    EXPECT_EQ (rig.bootloader.getImageSha256(),
               SimulatedBootloader::sha256 (paddedToBlocks (image).data(), paddedToBlocks (image).size()));
}

//==============================================================================
TEST (MidiInputHandler, AnswerHandling)
{
    struct Case
    {
        const char* name;
        juce::MidiMessage answer;
        const char* message;    // what the transfer then says
    };

    // The device answers every command with the same message: one that counts as
    // the connect answer gets the transfer as far as the erase.
    const Case cases[] =
    {
        { "one byte (active sensing)",  juce::MidiMessage (0xFE),             "Could not connect to hardware" },
        { "second byte 0x03",           juce::MidiMessage (0x9F, 0x03, 0x00), "Could not connect to hardware" },
        { "erase answer",               juce::MidiMessage (0x9F, 0x00, 0x00), "Could not connect to hardware" },
        { "connect, any first byte",    juce::MidiMessage (0x80, 0x7F, 0x40), "Could not erase existing firmware" },
        { "connect in two bytes",       juce::MidiMessage (0xC0, 0x7F),       "Could not erase existing firmware" }
    };

    for (const auto& c : cases)
    {
        zorvane::VirtualMidiBackend midi;
        FixedAnswerDevice device (midi, c.answer);
        midi.plugIn (bootPort, device);

        testsupport::FakeWaits waits;
        RecordingObserver observer;
        testsupport::TempFolder temp;
        const auto image = makeImage (512);
        (temp / "fw.bin").replaceWithData (image.data(), image.size());

        zorvane::MidiInputHandler handler (observer, 170, midi, waits);
        handler.start (bootPort);
        handler.openProgram (temp / "fw.bin");

        EXPECT_EQ (handler.sendProgram().getErrorMessage(), c.message) << c.name;
    }
}

//==============================================================================
TEST (MidiInputHandler, PortsOpenAndClose)
{
    zorvane::VirtualMidiBackend midi;
    SimulatedBootloader bootloader (midi);
    bootloader.plugIn();

    testsupport::FakeWaits waits;
    RecordingObserver observer;

    {
        zorvane::MidiInputHandler handler (observer, 170, midi, waits);

        handler.start ("Zorvane firmware upgrade 2");       // the name must match exactly
        EXPECT_FALSE (handler.hasInput() || handler.hasOutput());

        handler.start (bootPort);
        handler.start (bootPort);                            // replaces, doesn't add
        EXPECT_TRUE (handler.hasInput() && handler.hasOutput());
        EXPECT_EQ (midi.getNumOpenInputs(), 1);
        EXPECT_EQ (midi.getNumOpenOutputs(), 1);

        handler.stop();
        EXPECT_EQ (midi.getNumOpenInputs(), 0);
        EXPECT_EQ (midi.getNumOpenOutputs(), 0);

        handler.start (bootPort);
    }

    EXPECT_EQ (midi.getNumOpenInputs(), 0);
    EXPECT_EQ (midi.getNumOpenOutputs(), 0);
}

TEST (MidiInputHandler, RefusesWithoutPorts)
{
    zorvane::VirtualMidiBackend midi;
    SimulatedBootloader bootloader (midi);
    bootloader.plugIn();

    testsupport::FakeWaits waits;
    RecordingObserver observer;
    testsupport::TempFolder temp;
    const auto image = makeImage (512);
    (temp / "fw.bin").replaceWithData (image.data(), image.size());

    zorvane::MidiInputHandler noPorts (observer, 170, midi, waits);
    noPorts.openProgram (temp / "fw.bin");
    EXPECT_EQ (noPorts.sendProgram().getErrorMessage(), "No MIDI input device is open");

    NoOutputsBackend inputsOnly (midi);
    zorvane::MidiInputHandler inputOnly (observer, 170, inputsOnly, waits);
    inputOnly.start (bootPort);
    inputOnly.openProgram (temp / "fw.bin");
    EXPECT_EQ (inputOnly.sendProgram().getErrorMessage(), "No MIDI output device is open");

    EXPECT_EQ (bootloader.getNumConnects(), 0);
    EXPECT_TRUE (observer.progress.empty());
}
