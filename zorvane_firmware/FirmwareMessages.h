#pragma once

#include "zorvane_core/MidiPorts.h"
#include "zorvane_core/Waits.h"

#include <array>

namespace zorvane
{

//==============================================================================
/** The part of the port name that every device shows while its bootloader runs. */
inline constexpr auto bootloaderPortName = "Zorvane firmware upgrade";

namespace FirmwareLimits
{
    inline constexpr int blockSize = 512;

    /** Image sizes the bootloader takes: up to 124 blocks, the last one not quite full. */
    inline constexpr juce::int64 minImageSize = 512;
    inline constexpr juce::int64 maxImageSize = 63487;
}

/** What the bootloader is asked to do, in byte 14 of a packet. */
enum class BootloaderCommand : juce::uint8
{
    erase   = 0x00,
    write   = 0x01,
    reset   = 0x02,
    connect = 0x7F
};

using CommandPacket = std::array<juce::uint8, 17>;
using DataPacket = std::array<juce::uint8, 530>;

//==============================================================================
/** The code the normal firmware expects in the upgrade request: products that
    share a bootloader share a code.
*/
int getFirmwareProductCode (int pid) noexcept;

/** The 9-byte System Exclusive request that restarts a device into its bootloader. */
juce::MidiMessage makeFirmwareUpgradeRequest (int pid);

/** The request of the given length: 8 gives the variant the Merrow 3 to 6 also
    need, 9 the usual one. Any other length is a programming error and gives the
    usual one.
*/
juce::MidiMessage makeFirmwareUpgradeRequestX (int pid, int length);

/** Sends the request (and the variant, for 101 to 104), then all of it once more,
    since nothing tells us whether the first one arrived.
*/
void sendUpgradeModeEntry (MidiOutputPort& output, int pid);

//==============================================================================
/** The bootloader's erase parameter for a product (0x70 for ids we don't know). */
juce::uint8 getEraseByte (int pid) noexcept;

/** A 17-byte command packet: preamble, header, command, parameter and checksum. */
CommandPacket makeCommandPacket (BootloaderCommand command, juce::uint8 parameter) noexcept;

CommandPacket makeConnectPacket() noexcept;
CommandPacket makeErasePacket (int pid) noexcept;
CommandPacket makeResetPacket() noexcept;

/** The 530-byte packet of block n of an image. Where the image ends inside the
    block, the rest is 0xFF, as erased flash reads.
*/
DataPacket makeDataPacket (int blockNumber, const void* image, size_t imageSize) noexcept;

/** The sum of the bytes, modulo 256. */
juce::uint8 packetChecksum (const juce::uint8* data, size_t numBytes) noexcept;

//==============================================================================
/** Every packet byte travels as a Note On on channel 16: high nibble, low nibble. */
juce::MidiMessage makeCarrierMessage (juce::uint8 byte);

/** Sends a packet byte by byte with the pauses the bootloader needs around each byte. */
void sendPacket (MidiOutputPort& output, const juce::uint8* data, size_t numBytes,
                 Waits& waits, int pauseBeforeEachMs, int pauseAfterEachMs);

/** Sends the reset packet to every output whose name holds the bootloader's, so a
    device isn't left waiting in its upgrade mode when the upgrader goes away.
*/
void resetDevicesInUpgradeMode (MidiBackend& midi, Waits& waits);

} // namespace zorvane
