#pragma once

#include "zorvane_core/MidiPorts.h"
#include "zorvane_core/Waits.h"

#include <atomic>
#include <memory>

namespace zorvane
{

/** The macOS version's minor number (15 for 10.15), set when the upgrader opens.
    From 15 on, the data blocks go out with a pause before every second message.
*/
extern int _mac_major;

//==============================================================================
/** What the transfer reports while it runs: the upgrade wizard shows both. */
struct TransferObserver
{
    virtual ~TransferObserver() = default;

    virtual void setProgress (double newProgress) = 0;
    virtual void setStatusText (const juce::String& newText) = 0;
};

//==============================================================================
/** Owns the bootloader's MIDI ports and the firmware image, and writes the image
    to the device: connect, erase, the blocks, reset, each one acknowledged.

    Everything runs on the message thread except handleIncomingMidiMessage, which
    runs on the MIDI input thread and only raises one of the answer flags.
*/
class MidiInputHandler final : public juce::MidiInputCallback
{
public:
    MidiInputHandler (TransferObserver& owner, int pid,
                      MidiBackend& midi = MidiPorts::get(), Waits& waits = Waits::real());
    ~MidiInputHandler() override;

    //==============================================================================
    /** Opens the input and the output of exactly this name, replacing any open
        ones. Either may fail to open; check both afterwards.
    */
    void start (const juce::String& portName);

    /** Closes the ports, when an input is open. */
    void stop();

    bool hasInput() const noexcept      { return midiInput != nullptr; }
    bool hasOutput() const noexcept     { return midiOutput != nullptr; }

    //==============================================================================
    /** Reads the image to send. An unreadable file leaves no image, which
        sendProgram() then refuses, as it refuses an image of the wrong size.
    */
    void openProgram (const juce::File& file);

    const juce::File& getProgramFile() const noexcept   { return programFile; }
    juce::uint64 getProgramSize() const noexcept        { return programSize; }
    int getPid() const noexcept                         { return pid; }

    /** Writes the image to the bootloader. Blocks, keeping the message loop alive
        while it waits for the device. Can be run again after a failure.
    */
    juce::Result sendProgram();

    //==============================================================================
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;
    void handlePartialSysexMessage (juce::MidiInput* source, const juce::uint8* messageData,
                                    int numBytesSoFar, double timestamp) override;

private:
    //==============================================================================
    bool waitFor (const std::atomic<bool>& flag);
    bool waitForBlock();
    void clearFlags() noexcept;
    void setProgressForStep (juce::uint64 step, juce::uint64 total);
    void sendPacket (const juce::uint8* data, size_t size, int pauseBeforeEachMs, int pauseAfterEachMs);
    void sendBlock (int blockNumber, int& messagesSent);

    TransferObserver& owner;
    MidiBackend& midi;
    Waits& waits;

    std::unique_ptr<MidiInputPort> midiInput;
    std::unique_ptr<MidiOutputPort> midiOutput;
    juce::File programFile;
    juce::MemoryBlock programData;
    juce::uint64 programSize = 0;
    const int pid;

    std::atomic<bool> connectAck { false }, eraseAck { false }, writeAck { false }, resetAck { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiInputHandler)
};

} // namespace zorvane
