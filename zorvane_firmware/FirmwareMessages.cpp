#include "zorvane_firmware/FirmwareMessages.h"

#include "zorvane_core/Product.h"

#include <algorithm>
#include <cstring>

namespace zorvane
{

namespace
{
    // The request templates as the normal firmware knows them; the code bytes
    // (3 and 4) are filled in per product.
    constexpr juce::uint8 firmwareUpgradeRequest[]  = { 0xF0, 0x1D, 0x03, 0x00, 0x5E, 0x00, 0x7F, 0x7F, 0xF7 };
    constexpr juce::uint8 firmwareUpgradeRequest8[] = { 0xF0, 0x1D, 0x03, 0x00, 0x5E, 0x55, 0x7F, 0xF7 };

    // Ten bytes of 0x55 let the bootloader find the start of a packet.
    constexpr juce::uint8 preambleByte = 0x55;
    constexpr size_t preambleLength = 10;
    constexpr juce::uint8 packetHeader[] = { 0x1D, 0x03, 0x00, 0x49 };

    constexpr size_t commandOffset = preambleLength + sizeof (packetHeader);
    constexpr size_t dataHeaderLength = commandOffset + 3;

    // The same header that opens every block: preamble, header, write, block, 0.
    constexpr std::array<juce::uint8, dataHeaderLength> midiWrite
    {
        0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55,
        0x1D, 0x03, 0x00, 0x49, 0x01, 0x00, 0x00
    };

    // The carrier of a packet byte: status, then the byte's two nibbles.
    constexpr juce::uint8 midiTemp[] = { 0x9F, 0x00, 0x00 };

    // The erase parameter by product id. Only the OstraPro R family and two
    // products that never shipped use the other flash layout.
    struct EraseTable
    {
        constexpr EraseTable()
        {
            for (auto& b : bytes)
                b = 0x70;

            for (auto pid : { 94, 130, 182, 183 })
                bytes[(size_t) pid] = 0x71;
        }

        juce::uint8 bytes[200] {};
    };

    constexpr EraseTable erase15;

    // The Merrow 3 to 6 expect the 8-byte form of the request as well.
    bool needsShortRequestToo (int pid)
    {
        return pid >= Product::merrow3 && pid <= Product::merrow6;
    }

    template <size_t size>
    juce::MidiMessage withProductCode (const juce::uint8 (&request)[size], int code)
    {
        juce::uint8 bytes[size];
        std::copy (std::begin (request), std::end (request), bytes);
        bytes[3] = (juce::uint8) ((code >> 7) & 0x7F);
        bytes[4] = (juce::uint8) (code & 0x7F);
        return juce::MidiMessage (bytes, (int) size);
    }
}

//==============================================================================
int getFirmwareProductCode (int pid) noexcept
{
    switch (pid)
    {
        case 110: case 111: case 112: case 113: case 114: case 126:  return 110;
        case 176: case 177:                                          return 176;
        case 79:  case 89:                                           return 79;
        default:                                                     return pid;
    }
}

juce::MidiMessage makeFirmwareUpgradeRequest (int pid)
{
    return makeFirmwareUpgradeRequestX (pid, 9);
}

juce::MidiMessage makeFirmwareUpgradeRequestX (int pid, int length)
{
    jassert (length == 8 || length == 9);

    const auto code = getFirmwareProductCode (pid);

    if (length == 8)
        return withProductCode (firmwareUpgradeRequest8, code);

    return withProductCode (firmwareUpgradeRequest, code);
}

void sendUpgradeModeEntry (MidiOutputPort& output, int pid)
{
    for (int round = 0; round < 2; ++round)
    {
        output.sendMessageNow (makeFirmwareUpgradeRequest (pid));

        if (needsShortRequestToo (pid))
            output.sendMessageNow (makeFirmwareUpgradeRequestX (pid, 8));
    }
}

//==============================================================================
juce::uint8 getEraseByte (int pid) noexcept
{
    if (! juce::isPositiveAndBelow (pid, (int) std::size (erase15.bytes)))
        return 0x70;

    return erase15.bytes[(size_t) pid];
}

juce::uint8 packetChecksum (const juce::uint8* data, size_t numBytes) noexcept
{
    unsigned int sum = 0;

    for (size_t i = 0; i < numBytes; ++i)
        sum += data[i];

    return (juce::uint8) (sum & 0xFF);
}

CommandPacket makeCommandPacket (BootloaderCommand command, juce::uint8 parameter) noexcept
{
    CommandPacket packet {};

    std::fill_n (packet.begin(), preambleLength, preambleByte);
    std::copy (std::begin (packetHeader), std::end (packetHeader), packet.begin() + preambleLength);
    packet[commandOffset] = (juce::uint8) command;
    packet[commandOffset + 1] = parameter;
    packet.back() = packetChecksum (packet.data(), packet.size() - 1);
    return packet;
}

CommandPacket makeConnectPacket() noexcept         { return makeCommandPacket (BootloaderCommand::connect, 0x00); }
CommandPacket makeErasePacket (int pid) noexcept   { return makeCommandPacket (BootloaderCommand::erase, getEraseByte (pid)); }
CommandPacket makeResetPacket() noexcept           { return makeCommandPacket (BootloaderCommand::reset, 0x00); }

DataPacket makeDataPacket (int blockNumber, const void* image, size_t imageSize) noexcept
{
    DataPacket packet {};

    std::copy (midiWrite.begin(), midiWrite.end(), packet.begin());
    packet[commandOffset + 1] = (juce::uint8) blockNumber;

    auto* payload = packet.data() + dataHeaderLength;
    std::fill_n (payload, (size_t) FirmwareLimits::blockSize, (juce::uint8) 0xFF);

    const auto offset = (size_t) blockNumber * (size_t) FirmwareLimits::blockSize;

    if (image != nullptr && blockNumber >= 0 && offset < imageSize)
        std::memcpy (payload, static_cast<const juce::uint8*> (image) + offset,
                     std::min ((size_t) FirmwareLimits::blockSize, imageSize - offset));

    packet.back() = packetChecksum (packet.data(), packet.size() - 1);
    return packet;
}

//==============================================================================
juce::MidiMessage makeCarrierMessage (juce::uint8 byte)
{
    return juce::MidiMessage (midiTemp[0], byte >> 4, byte & 0x0F);
}

void sendPacket (MidiOutputPort& output, const juce::uint8* data, size_t numBytes,
                 Waits& waits, int pauseBeforeEachMs, int pauseAfterEachMs)
{
    for (size_t i = 0; i < numBytes; ++i)
    {
        if (pauseBeforeEachMs > 0)
            waits.sleep (pauseBeforeEachMs);

        output.sendMessageNow (makeCarrierMessage (data[i]));

        if (pauseAfterEachMs > 0)
            waits.sleep (pauseAfterEachMs);
    }
}

void resetDevicesInUpgradeMode (MidiBackend& midi, Waits& waits)
{
    const auto names = midi.getOutputNames();
    const auto reset = makeResetPacket();

    for (int i = 0; i < names.size(); ++i)
    {
        if (! names[i].contains (bootloaderPortName))
            continue;

        if (auto output = midi.openOutput (i))
        {
            sendPacket (*output, reset.data(), reset.size(), waits, 2, 0);
            waits.sleep (10);
        }
    }
}

} // namespace zorvane
