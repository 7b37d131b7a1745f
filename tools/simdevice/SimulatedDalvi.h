#pragma once

#include "tools/simdevice/SimulatedBootloader.h"
#include "zorvane_core/VirtualMidiBackend.h"

#include <array>
#include <atomic>
#include <functional>
#include <vector>

//==============================================================================
/** A Dalvi V+ on the virtual MIDI bus.

    It plugs in under its port name, decodes what the host sends (the start
    message, 50 pairs of carrier messages, the end message) on its own, without
    the program's tables, and keeps the last complete map it received or the first
    protocol error it saw.

    Like the real device, the firmware upgrade request on its port makes it leave
    that port and come back as its bootloader ("Zorvane firmware upgrade"), which
    takes the image; the bootloader's reset brings it back to its normal port.

    The tests, the command-line tool and the editor's simulation mode all talk to
    this one.
*/
class SimulatedDalvi final : public zorvane::VirtualMidiDevice
{
public:
    static constexpr const char* defaultPortName = "Dalvi V+";
    static constexpr int productId = 170;
    static constexpr int numControls = 50;

    /** Plugs itself into the bus at once. */
    explicit SimulatedDalvi (zorvane::VirtualMidiBackend& bus, juce::String portName = defaultPortName);
    ~SimulatedDalvi() override;

    //==============================================================================
    /** What one complete transfer told the device. */
    struct Mapping
    {
        int mode = -1;                  // 0 Mackie, 1 Logic, 2 Pro Tools, 3 User Defined
        bool hui = false;               // the start message's HUI flag
        /** The two bytes of each control, in the device's order (aid 0 to 49). */
        std::array<std::array<juce::uint8, 2>, numControls> entries {};
    };

    bool hasMapping() const;
    Mapping getMapping() const;

    /** The first thing the device could not make sense of, or empty. */
    juce::String getError() const;

    int getNumCompleteTransfers() const;

    /** Every message received, in order, as raw bytes. */
    std::vector<std::vector<juce::uint8>> getReceivedMessages() const;

    /** Forgets everything received so far. */
    void clear();

    //==============================================================================
    void plugIn();
    void unplug();
    bool isPluggedIn() const;
    const juce::String& getPortName() const noexcept { return portName; }

    /** Called after each message has been decoded, with the count so far (on the
        sender's thread). A test can unplug the device from here, mid-transfer.
    */
    std::function<void (int numMessagesReceived)> onMessage;

    /** Called when the host sends the firmware upgrade request to this port,
        before the device switches to its bootloader.
    */
    std::function<void()> onUpgradeRequest;

    /** The device in its upgrade mode (plugged in only while it is in that mode). */
    SimulatedBootloader& getBootloader() noexcept { return bootloader; }
    bool isInUpgradeMode() const;

    /** Whether the upgrade request makes the device restart into its bootloader (default true). */
    void setEntersUpgradeMode (bool shouldEnter);

    //==============================================================================
    void receive (const juce::String& port, const juce::MidiMessage& message) override;

private:
    enum class State { idle, receiving };

    void failWith (const juce::String& error);
    void handle (const juce::uint8* bytes, int size);

    void enterUpgradeMode();

    zorvane::VirtualMidiBackend& bus;
    const juce::String portName;
    SimulatedBootloader bootloader { bus };
    std::atomic<bool> entersUpgradeMode { true };

    mutable juce::CriticalSection lock;
    State state = State::idle;
    Mapping incoming, last;
    bool complete = false;
    int numNibbleMessages = 0;
    int numTransfers = 0;
    juce::String error;
    std::vector<std::vector<juce::uint8>> received;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedDalvi)
};
