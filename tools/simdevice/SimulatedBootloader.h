#pragma once

#include "zorvane_core/VirtualMidiBackend.h"

#include <atomic>
#include <functional>

//==============================================================================
/** A device in its firmware upgrade mode, on the virtual MIDI bus.

    It decodes the carrier messages into packets and checks everything a real
    bootloader would (preamble, header, command, order of the phases, block
    numbers 0, 1, 2 ... and checksums), answers each packet it accepts with a short
    message whose second byte says what was done, and keeps the image it was
    written. The first protocol error it saw is kept for the test to read; a
    packet with an error is not answered.

    Faults can be injected: silence at one phase, answers that stop after a
    block, a wrong answer byte, and the port vanishing after a block.

    It answers on the host's sending thread, before the send returns.
*/
class SimulatedBootloader final : public zorvane::VirtualMidiDevice
{
public:
    enum class Phase
    {
        connect,
        erase,
        block,
        reset
    };

    explicit SimulatedBootloader (zorvane::VirtualMidiBackend& bus,
                                  const juce::String& portName = "Zorvane firmware upgrade");
    ~SimulatedBootloader() override;

    //==============================================================================
    void plugIn();
    void unplug();
    bool isPluggedIn() const;
    const juce::String& getPortName() const noexcept    { return portName; }

    /** Runs after the reset answer went out: the device leaves its upgrade mode. */
    std::function<void()> onReset;

    //==============================================================================
    /** Never answers this phase (for blocks: no block at all). */
    void setSilentAt (Phase phase);

    /** Answers blocks 0 to lastAnsweredBlock, then no more. */
    void stopAnsweringAfterBlock (int lastAnsweredBlock);

    /** Answers this phase with the given second byte instead of the right one. */
    void answerWrongAt (Phase phase, juce::uint8 answerByte);

    /** Vanishes from the bus right after answering this block. */
    void unplugAfterBlock (int block);

    /** Back to a well-behaved device; the image and counts stay. */
    void clearFaults();

    //==============================================================================
    /** The first protocol error seen, or an empty string. */
    juce::String getFirstError() const;

    /** The whole blocks written since the last connect. */
    juce::MemoryBlock getImage() const;

    /** SHA-256 of getImage(), as 64 lower-case hex digits. */
    juce::String getImageSha256() const;

    int getEraseParameter() const;   // -1 before any erase
    int getNumConnects() const;
    int getNumErases() const;
    int getNumBlocks() const;        // blocks accepted since the last connect
    int getNumResets() const;

    /** SHA-256 of any bytes (JUCE's module set here has none). */
    static juce::String sha256 (const void* data, size_t numBytes);

    //==============================================================================
    void receive (const juce::String& port, const juce::MidiMessage& message) override;

private:
    struct State;
    std::unique_ptr<State> state;

    zorvane::VirtualMidiBackend& bus;
    const juce::String portName;
    std::atomic<bool> plugged { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedBootloader)
};
