#include "tools/simdevice/SimulatedDalvi.h"

#include <gtest/gtest.h>

namespace
{
    const juce::uint8 upgradeRequest[] = { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x7F, 0x7F, 0xF7 };

    void send (zorvane::VirtualMidiBackend& bus, const juce::String& port, const juce::MidiMessage& m)
    {
        auto out = zorvane::MidiPorts::openOutputNamed (bus, port);
        ASSERT_NE (out, nullptr);
        out->sendMessageNow (m);
    }
}

TEST (SimulatedDalvi, UpgradeRequestMovesItToItsBootloaderAndResetBringsItBack)
{
    zorvane::VirtualMidiBackend bus;
    SimulatedDalvi device (bus);
    EXPECT_EQ (bus.getOutputNames(), juce::StringArray ("Dalvi V+"));

    send (bus, "Dalvi V+", juce::MidiMessage (upgradeRequest, (int) sizeof (upgradeRequest)));

    EXPECT_TRUE (device.isInUpgradeMode());
    EXPECT_EQ (bus.getOutputNames(), juce::StringArray ("Zorvane firmware upgrade"));
    EXPECT_EQ (device.getError(), "");

    // The reset packet: preamble, header, command 02, parameter 00, checksum BD.
    auto out = zorvane::MidiPorts::openOutputNamed (bus, "Zorvane firmware upgrade");
    ASSERT_NE (out, nullptr);
    const juce::uint8 connect[] = { 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x1D, 0x03, 0x00, 0x49, 0x7F, 0x00, 0x3A };
    const juce::uint8 reset[] = { 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x1D, 0x03, 0x00, 0x49, 0x02, 0x00, 0xBD };

    for (const auto* packet : { connect, reset })
        for (size_t i = 0; i < sizeof (connect); ++i)
            out->sendMessageNow (juce::MidiMessage (0x9F, packet[i] >> 4, packet[i] & 0x0F));

    EXPECT_FALSE (device.isInUpgradeMode());
    EXPECT_EQ (bus.getOutputNames(), juce::StringArray ("Dalvi V+"));
}

TEST (SimulatedDalvi, IgnoresAnotherProductsUpgradeRequest)
{
    zorvane::VirtualMidiBackend bus;
    SimulatedDalvi device (bus);
    juce::uint8 other[sizeof (upgradeRequest)];
    std::copy (std::begin (upgradeRequest), std::end (upgradeRequest), other);
    other[4] = 0x2B;

    send (bus, "Dalvi V+", juce::MidiMessage (other, (int) sizeof (other)));

    EXPECT_FALSE (device.isInUpgradeMode());
    EXPECT_EQ (device.getError(), "");
}

TEST (SimulatedDalvi, ReportsTheFirstProtocolError)
{
    struct Case { const char* what; std::vector<std::vector<juce::uint8>> messages; const char* error; };
    const Case cases[] = {
        { "carrier before start", { { 0x9F, 0x09, 0x00 } }, "message 9F 09 00 outside a transfer" },
        { "start for another product", { { 0xF0, 0x1D, 0x03, 0x01, 0x2B, 0x00, 0x01, 0x7F, 0xF7 } }, "start message for product 171" },
        { "HUI flag without Pro Tools", { { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x01, 0x01, 0x7F, 0xF7 } },
          "start message whose HUI flag does not match its mode" },
        { "end too early", { { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x01, 0x7F, 0xF7 }, { 0x9F, 0x09, 0x00 }, { 0x9E, 0x7F, 0x7F } },
          "transfer ended after 1 of 100 control messages" },
        { "nibble out of range", { { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x01, 0x7F, 0xF7 }, { 0x9F, 0x10, 0x00 } },
          "carrier message 9F 10 00 with a nibble above 15" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        zorvane::VirtualMidiBackend bus;
        SimulatedDalvi device (bus);

        for (const auto& m : c.messages)
            send (bus, "Dalvi V+", juce::MidiMessage (m.data(), (int) m.size()));

        EXPECT_EQ (device.getError(), c.error);
        EXPECT_FALSE (device.hasMapping());
    }
}
