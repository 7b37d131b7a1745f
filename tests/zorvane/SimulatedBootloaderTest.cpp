#include "tools/simdevice/SimulatedBootloader.h"
#include "zorvane_core/VirtualMidiBackend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <vector>

// The simulated bootloader is what the upload tests trust, so its own checks are
// tested here against packets built by hand.

namespace
{
    using Bytes = std::vector<juce::uint8>;

    Bytes withChecksum (std::initializer_list<juce::uint8> head, size_t payloadSize, juce::uint8 fill)
    {
        Bytes p (10, 0x55);

        for (auto b : head)
            p.push_back (b);

        p.resize (p.size() + payloadSize, fill);

        unsigned int sum = 0;

        for (auto b : p)
            sum += b;

        p.push_back ((juce::uint8) sum);
        return p;
    }

    Bytes commandPacket (juce::uint8 command, juce::uint8 parameter)
    {
        return withChecksum ({ 0x1D, 0x03, 0x00, 0x49, command, parameter }, 0, 0);
    }

    Bytes dataPacket (int block, juce::uint8 fill)
    {
        return withChecksum ({ 0x1D, 0x03, 0x00, 0x49, 0x01, (juce::uint8) block, 0x00 }, 512, fill);
    }

    /** The host side: an open port pair on the bootloader, counting the answers by second byte. */
    struct Host : public juce::MidiInputCallback
    {
        explicit Host (zorvane::VirtualMidiBackend& m) : midi (m)
        {
            output = zorvane::MidiPorts::openOutputNamed (midi, "Zorvane firmware upgrade");
            input = midi.openInput (midi.getInputNames().indexOf ("Zorvane firmware upgrade"), *this);
            input->start();
        }

        void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& m) override
        {
            answers.push_back (m.getRawData()[1]);
        }

        void send (const Bytes& packet)
        {
            for (auto b : packet)
                output->sendMessageNow (juce::MidiMessage (0x9F, b >> 4, b & 0x0F));
        }

        zorvane::VirtualMidiBackend& midi;
        std::unique_ptr<zorvane::MidiOutputPort> output;
        std::unique_ptr<zorvane::MidiInputPort> input;
        std::vector<juce::uint8> answers;
    };
}

//==============================================================================
TEST (SimulatedBootloader, Sha256KnownAnswers)
{
    struct Case
    {
        const char* text;
        const char* digest;
    };

    const Case cases[] =
    {
        { "",    "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855" },
        { "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad" },
        { "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                 "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1" }
    };

    for (const auto& c : cases)
        EXPECT_EQ (SimulatedBootloader::sha256 (c.text, std::strlen (c.text)), c.digest) << c.text;
}

TEST (SimulatedBootloader, AcceptsAWellFormedTransfer)
{
    zorvane::VirtualMidiBackend midi;
    SimulatedBootloader bootloader (midi);
    bootloader.plugIn();

    std::atomic<int> resets { 0 };
    bootloader.onReset = [&] { ++resets; };

    Host host (midi);
    host.send (commandPacket (0x7F, 0x00));
    host.send (commandPacket (0x00, 0x71));
    host.send (dataPacket (0, 0xAA));
    host.send (dataPacket (1, 0xBB));
    host.send (commandPacket (0x02, 0x00));

    EXPECT_EQ (bootloader.getFirstError(), "");
    EXPECT_EQ (host.answers, Bytes ({ 0x7F, 0x00, 0x01, 0x01, 0x02 }));
    EXPECT_EQ (bootloader.getEraseParameter(), 0x71);
    EXPECT_EQ (bootloader.getNumBlocks(), 2);
    EXPECT_EQ (resets.load(), 1);

    Bytes expected (1024, 0xAA);
    std::fill (expected.begin() + 512, expected.end(), (juce::uint8) 0xBB);
    const auto image = bootloader.getImage();
    EXPECT_EQ (Bytes (static_cast<const juce::uint8*> (image.getData()),
                      static_cast<const juce::uint8*> (image.getData()) + image.getSize()), expected);
}

TEST (SimulatedBootloader, ReportsProtocolErrors)
{
    struct Case
    {
        const char* name;
        std::vector<Bytes> packets;
        const char* errorStart;
        Bytes answers;
    };

    auto badChecksum = commandPacket (0x7F, 0x00);
    badChecksum.back() ^= 1;

    auto badPreamble = commandPacket (0x7F, 0x00);
    badPreamble[3] = 0x54;

    auto badHeader = commandPacket (0x7F, 0x00);
    badHeader[13] = 0x48;

    const Case cases[] =
    {
        { "checksum",       { badChecksum },                                        "Checksum",       {} },
        { "preamble",       { badPreamble },                                        "Preamble byte 3", {} },
        { "header",         { badHeader },                                          "Header byte 3",  {} },
        { "unknown command", { commandPacket (0x05, 0x00) },                        "Unknown command", {} },
        { "erase first",    { commandPacket (0x00, 0x70) },                         "Erase before connect", {} },
        { "block first",    { commandPacket (0x7F, 0x00), dataPacket (0, 0) },      "Block before erase", { 0x7F } },
        { "block skipped",  { commandPacket (0x7F, 0x00), commandPacket (0x00, 0x70), dataPacket (1, 0) },
                            "Block 1 where block 0 was due", { 0x7F, 0x00 } }
    };

    for (const auto& c : cases)
    {
        zorvane::VirtualMidiBackend midi;
        SimulatedBootloader bootloader (midi);
        bootloader.plugIn();
        Host host (midi);

        for (const auto& p : c.packets)
            host.send (p);

        EXPECT_TRUE (bootloader.getFirstError().startsWith (c.errorStart)) << c.name << ": " << bootloader.getFirstError();
        EXPECT_EQ (host.answers, c.answers) << c.name;
    }
}
