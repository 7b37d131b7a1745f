#include "tools/simdevice/SimulatedDalvi.h"

namespace
{
    // The device's view of the protocol, written from the wire format alone.
    constexpr juce::uint8 sysexStart = 0xF0, sysexEnd = 0xF7;
    constexpr juce::uint8 carrierStatus = 0x9F;   // Note On, channel 16
    constexpr juce::uint8 endStatus = 0x9E;       // Note On, channel 15

    juce::String hex (const juce::uint8* bytes, int size)
    {
        return juce::String::toHexString (bytes, size).toUpperCase();
    }
}

SimulatedDalvi::SimulatedDalvi (zorvane::VirtualMidiBackend& b, juce::String name)
    : bus (b), portName (std::move (name))
{
    // After the reset answer the bootloader is gone and the device is back.
    bootloader.onReset = [this]
    {
        bootloader.unplug();
        plugIn();
    };

    plugIn();
}

SimulatedDalvi::~SimulatedDalvi()
{
    bootloader.onReset = nullptr;
    bootloader.unplug();
    unplug();
}

bool SimulatedDalvi::isInUpgradeMode() const
{
    return bootloader.isPluggedIn();
}

void SimulatedDalvi::setEntersUpgradeMode (bool shouldEnter)
{
    entersUpgradeMode = shouldEnter;
}

void SimulatedDalvi::enterUpgradeMode()
{
    // The request is sent twice; the second one finds the device already gone.
    if (! entersUpgradeMode || bootloader.isPluggedIn())
        return;

    unplug();
    bootloader.plugIn();
}

void SimulatedDalvi::plugIn()
{
    if (! bus.isPluggedIn (portName))
        bus.plugIn (portName, *this);
}

void SimulatedDalvi::unplug()
{
    bus.unplug (portName);
}

bool SimulatedDalvi::isPluggedIn() const
{
    return bus.isPluggedIn (portName);
}

//==============================================================================
bool SimulatedDalvi::hasMapping() const
{
    const juce::ScopedLock sl (lock);
    return complete;
}

SimulatedDalvi::Mapping SimulatedDalvi::getMapping() const
{
    const juce::ScopedLock sl (lock);
    return last;
}

juce::String SimulatedDalvi::getError() const
{
    const juce::ScopedLock sl (lock);
    return error;
}

int SimulatedDalvi::getNumCompleteTransfers() const
{
    const juce::ScopedLock sl (lock);
    return numTransfers;
}

std::vector<std::vector<juce::uint8>> SimulatedDalvi::getReceivedMessages() const
{
    const juce::ScopedLock sl (lock);
    return received;
}

void SimulatedDalvi::clear()
{
    const juce::ScopedLock sl (lock);
    state = State::idle;
    incoming = last = {};
    complete = false;
    numNibbleMessages = numTransfers = 0;
    error.clear();
    received.clear();
}

//==============================================================================
void SimulatedDalvi::receive (const juce::String&, const juce::MidiMessage& message)
{
    std::function<void (int)> callback;
    std::function<void()> upgrade;
    int count = 0;
    bool isUpgradeRequest = false;

    {
        const juce::ScopedLock sl (lock);
        const auto* bytes = message.getRawData();
        const auto size = message.getRawDataSize();
        received.emplace_back (bytes, bytes + size);

        // The firmware upgrade request: F0 1D 03 <pid hi> <pid lo> 00 7F 7F F7. The
        // device acts on its own product's request and ignores any other product's.
        const bool isUpgradeShaped = size == 9 && bytes[0] == sysexStart && bytes[1] == 0x1D && bytes[2] == 0x03
                                  && bytes[5] == 0x00 && bytes[6] == 0x7F && bytes[7] == 0x7F;
        isUpgradeRequest = isUpgradeShaped && ((bytes[3] << 7) | bytes[4]) == productId;

        if (! isUpgradeShaped)
            handle (bytes, size);

        callback = onMessage;
        upgrade = onUpgradeRequest;
        count = (int) received.size();
    }

    // Outside the lock: these may unplug the device or answer on the bus.
    if (isUpgradeRequest)
    {
        if (upgrade)
            upgrade();

        enterUpgradeMode();
    }

    if (callback)
        callback (count);
}

void SimulatedDalvi::failWith (const juce::String& e)
{
    if (error.isEmpty())
        error = e;

    state = State::idle;
}

void SimulatedDalvi::handle (const juce::uint8* bytes, int size)
{
    const bool isStart = size > 0 && bytes[0] == sysexStart;
    const bool isCarrier = size == 3 && bytes[0] == carrierStatus;
    const bool isEnd = size == 3 && bytes[0] == endStatus && bytes[1] == 0x7F && bytes[2] == 0x7F;

    if (isStart)
    {
        if (state == State::receiving)
            return failWith ("start message in the middle of a transfer");

        if (size != 9 || bytes[1] != 0x1D || bytes[2] != 0x03 || bytes[7] != 0x7F || bytes[8] != sysexEnd)
            return failWith ("malformed start message " + hex (bytes, size));

        const auto pid = (bytes[3] << 7) | bytes[4];

        if (pid != productId)
            return failWith ("start message for product " + juce::String (pid));

        const auto modeByte = bytes[6];

        if (modeByte < 1 || modeByte > 4)
            return failWith ("start message with mode byte " + juce::String (modeByte));

        const bool hui = bytes[5] != 0;

        if (bytes[5] > 1 || hui != (modeByte == 3))
            return failWith ("start message whose HUI flag does not match its mode");

        incoming = {};
        incoming.mode = modeByte - 1;
        incoming.hui = hui;
        numNibbleMessages = 0;
        state = State::receiving;
        return;
    }

    if (state != State::receiving)
        return failWith ("message " + hex (bytes, size) + " outside a transfer");

    if (isCarrier)
    {
        if (bytes[1] > 0x0F || bytes[2] > 0x0F)
            return failWith ("carrier message " + hex (bytes, size) + " with a nibble above 15");

        if (numNibbleMessages >= 2 * numControls)
            return failWith ("more than " + juce::String (numControls) + " controls in one transfer");

        const auto value = (juce::uint8) ((bytes[1] << 4) | bytes[2]);
        incoming.entries[(size_t) (numNibbleMessages / 2)][(size_t) (numNibbleMessages % 2)] = value;
        ++numNibbleMessages;
        return;
    }

    if (isEnd)
    {
        if (numNibbleMessages != 2 * numControls)
            return failWith ("transfer ended after " + juce::String (numNibbleMessages) + " of "
                             + juce::String (2 * numControls) + " control messages");

        last = incoming;
        complete = true;
        ++numTransfers;
        state = State::idle;
        return;
    }

    failWith ("unexpected message " + hex (bytes, size) + " during a transfer");
}
