#include "tests/support/FakeWaits.h"
#include "tools/simdevice/SimulatedBootloader.h"
#include "zorvane_core/VirtualMidiBackend.h"
#include "zorvane_firmware/FirmwareMessages.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
    using Bytes = std::vector<juce::uint8>;

    Bytes bytesOf (const juce::MidiMessage& m)
    {
        return Bytes (m.getRawData(), m.getRawData() + m.getRawDataSize());
    }

    template <typename Packet>
    Bytes bytesOf (const Packet& p)
    {
        return Bytes (p.begin(), p.end());
    }

    Bytes withPreamble (std::initializer_list<juce::uint8> rest)
    {
        Bytes bytes (10, 0x55);

        for (auto b : rest)
            bytes.push_back (b);

        return bytes;
    }

    /** Records what the host sends to its port. */
    class RecordingDevice final : public zorvane::VirtualMidiDevice
    {
    public:
        void receive (const juce::String&, const juce::MidiMessage& message) override
        {
            messages.push_back (bytesOf (message));
        }

        std::vector<Bytes> messages;
    };
}

//==============================================================================
TEST (FirmwareMessages, UpgradeRequestCarriesTheProductCode)
{
    struct Case
    {
        int pid;
        Bytes request;
    };

    const Case cases[] =
    {
        {  170, { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x7F, 0x7F, 0xF7 } },
        {   94, { 0xF0, 0x1D, 0x03, 0x00, 0x5E, 0x00, 0x7F, 0x7F, 0xF7 } },
        {   89, { 0xF0, 0x1D, 0x03, 0x00, 0x4F, 0x00, 0x7F, 0x7F, 0xF7 } },   // code 79
        {  113, { 0xF0, 0x1D, 0x03, 0x00, 0x6E, 0x00, 0x7F, 0x7F, 0xF7 } },   // code 110
        {  126, { 0xF0, 0x1D, 0x03, 0x00, 0x6E, 0x00, 0x7F, 0x7F, 0xF7 } },   // code 110
        {  177, { 0xF0, 0x1D, 0x03, 0x01, 0x30, 0x00, 0x7F, 0x7F, 0xF7 } },   // code 176
        {  186, { 0xF0, 0x1D, 0x03, 0x01, 0x3A, 0x00, 0x7F, 0x7F, 0xF7 } },
        { 2000, { 0xF0, 0x1D, 0x03, 0x0F, 0x50, 0x00, 0x7F, 0x7F, 0xF7 } }
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (bytesOf (zorvane::makeFirmwareUpgradeRequest (c.pid)), c.request) << c.pid;
        EXPECT_EQ (bytesOf (zorvane::makeFirmwareUpgradeRequestX (c.pid, 9)), c.request) << c.pid;
    }

    EXPECT_EQ (bytesOf (zorvane::makeFirmwareUpgradeRequestX (102, 8)),
               Bytes ({ 0xF0, 0x1D, 0x03, 0x00, 0x66, 0x55, 0x7F, 0xF7 }));
}

TEST (FirmwareMessages, ProductCodes)
{
    struct Case
    {
        int pid, code;
    };

    const Case cases[] =
    {
        { 110, 110 }, { 111, 110 }, { 112, 110 }, { 113, 110 }, { 114, 110 }, { 126, 110 },
        { 176, 176 }, { 177, 176 },
        {  79,  79 }, {  89,  79 },
        {  94,  94 }, { 125, 125 }, { 133, 133 }, { 170, 170 }, { 2000, 2000 }
    };

    for (const auto& c : cases)
        EXPECT_EQ (zorvane::getFirmwareProductCode (c.pid), c.code) << c.pid;
}

TEST (FirmwareMessages, UpgradeModeEntryIsSentTwice)
{
    const auto request = [] (int pid) { return bytesOf (zorvane::makeFirmwareUpgradeRequest (pid)); };
    const auto variant = [] (int pid) { return bytesOf (zorvane::makeFirmwareUpgradeRequestX (pid, 8)); };

    struct Case
    {
        int pid;
        std::vector<Bytes> expected;
    };

    const Case cases[] =
    {
        { 170, { request (170), request (170) } },
        { 110, { request (110), request (110) } },
        { 125, { request (125), request (125) } },
        { 101, { request (101), variant (101), request (101), variant (101) } },
        { 102, { request (102), variant (102), request (102), variant (102) } },
        { 103, { request (103), variant (103), request (103), variant (103) } },
        { 104, { request (104), variant (104), request (104), variant (104) } }
    };

    for (const auto& c : cases)
    {
        zorvane::VirtualMidiBackend midi;
        RecordingDevice device;
        midi.plugIn ("Dalvi V+", device);

        auto output = zorvane::MidiPorts::openOutputNamed (midi, "Dalvi V+");
        ASSERT_NE (output, nullptr);
        zorvane::sendUpgradeModeEntry (*output, c.pid);

        EXPECT_EQ (device.messages, c.expected) << c.pid;
    }
}

//==============================================================================
TEST (FirmwareMessages, CommandPackets)
{
    EXPECT_EQ (bytesOf (zorvane::makeConnectPacket()), withPreamble ({ 0x1D, 0x03, 0x00, 0x49, 0x7F, 0x00, 0x3A }));
    EXPECT_EQ (bytesOf (zorvane::makeResetPacket()),   withPreamble ({ 0x1D, 0x03, 0x00, 0x49, 0x02, 0x00, 0xBD }));

    EXPECT_EQ (bytesOf (zorvane::makeErasePacket (170)), withPreamble ({ 0x1D, 0x03, 0x00, 0x49, 0x00, 0x70, 0x2B }));
    EXPECT_EQ (bytesOf (zorvane::makeErasePacket (94)),  withPreamble ({ 0x1D, 0x03, 0x00, 0x49, 0x00, 0x71, 0x2C }));
}

TEST (FirmwareMessages, EraseByteByProduct)
{
    struct Case
    {
        int pid;
        juce::uint8 eraseByte;
    };

    const Case cases[] =
    {
        {  94, 0x71 }, { 130, 0x71 }, { 182, 0x71 }, { 183, 0x71 },
        { 170, 0x70 }, {  79, 0x70 }, { 131, 0x70 }, { 181, 0x70 }, { 184, 0x70 },
        {   0, 0x70 }, { 199, 0x70 },
        // Beyond the table.
        {  -1, 0x70 }, { 200, 0x70 }, { 2000, 0x70 }
    };

    for (const auto& c : cases)
        EXPECT_EQ (zorvane::getEraseByte (c.pid), c.eraseByte) << c.pid;
}

TEST (FirmwareMessages, DataPacketHeaderPayloadAndChecksum)
{
    struct Case
    {
        size_t imageSize;
        juce::uint8 imageByte;
        int block;
        size_t imageBytesInBlock;
        juce::uint8 checksum;
    };

    // Header bytes sum to 0xBC + block. Worked out by hand: 512 equal bytes add
    // nothing modulo 256; 511 fill bytes of 0xFF add 511 * 255 = 1 (mod 256).
    const Case cases[] =
    {
        {  512, 0x37, 0, 512, 0xBC },
        { 1024, 0x00, 1, 512, 0xBD },
        {  513, 0x02, 1,   1, 0xC0 },    // 0xBD + 2 + 1
        { 1025, 0x10, 2,   1, 0xCF },    // 0xBE + 0x10 + 1
        { 1025, 0x10, 1, 512, 0xBD }
    };

    for (const auto& c : cases)
    {
        const Bytes image (c.imageSize, c.imageByte);
        const auto packet = zorvane::makeDataPacket (c.block, image.data(), image.size());

        const auto expectedHeader = withPreamble ({ 0x1D, 0x03, 0x00, 0x49, 0x01, (juce::uint8) c.block, 0x00 });
        EXPECT_EQ (Bytes (packet.begin(), packet.begin() + 17), expectedHeader);

        for (size_t i = 0; i < 512; ++i)
            ASSERT_EQ (packet[17 + i], i < c.imageBytesInBlock ? c.imageByte : 0xFF) << "block " << c.block << " byte " << i;

        EXPECT_EQ (packet[529], c.checksum) << "size " << c.imageSize << " block " << c.block;
    }
}

TEST (FirmwareMessages, CarrierMessages)
{
    struct Case
    {
        juce::uint8 byte;
        Bytes message;
    };

    const Case cases[] =
    {
        { 0x55, { 0x9F, 0x05, 0x05 } },
        { 0xF0, { 0x9F, 0x0F, 0x00 } },
        { 0x00, { 0x9F, 0x00, 0x00 } },
        { 0x7F, { 0x9F, 0x07, 0x0F } },
        { 0xBD, { 0x9F, 0x0B, 0x0D } }
    };

    for (const auto& c : cases)
        EXPECT_EQ (bytesOf (zorvane::makeCarrierMessage (c.byte)), c.message) << (int) c.byte;
}

//==============================================================================
TEST (FirmwareMessages, ResetReachesOnlyPortsInUpgradeMode)
{
    zorvane::VirtualMidiBackend midi;
    SimulatedBootloader bootloader (midi);
    RecordingDevice dalvi, other;

    midi.plugIn ("Dalvi V+", dalvi);
    bootloader.plugIn();
    midi.plugIn ("zorvane FIRMWARE upgrade", other);    // the name test is case-sensitive

    testsupport::FakeWaits waits;
    zorvane::resetDevicesInUpgradeMode (midi, waits);

    EXPECT_EQ (bootloader.getNumResets(), 1);
    EXPECT_EQ (bootloader.getFirstError(), "");
    EXPECT_TRUE (dalvi.messages.empty());
    EXPECT_TRUE (other.messages.empty());
    EXPECT_EQ (waits.sleptMs, 17 * 2 + 10);
    EXPECT_EQ (midi.getNumOpenOutputs(), 0);
}
