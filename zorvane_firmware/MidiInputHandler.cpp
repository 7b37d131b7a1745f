#include "zorvane_firmware/MidiInputHandler.h"

#include "zorvane_firmware/FirmwareMessages.h"

namespace zorvane
{

int _mac_major = 0;

namespace
{
    constexpr int sliceMs = 33;
    constexpr int slicesPerWait = 180;

    // As long as any other answer is awaited: long enough for a slow flash page,
    // short enough to notice a device that went away.
    constexpr int slicesPerBlock = 180;

    constexpr double progressBase = 0.8;
    constexpr double progressSpan = 0.2;
}

//==============================================================================
MidiInputHandler::MidiInputHandler (TransferObserver& o, int productId, MidiBackend& m, Waits& w)
    : owner (o), midi (m), waits (w), pid (productId)
{
}

MidiInputHandler::~MidiInputHandler()
{
    programData.reset();
    midiOutput.reset();
    midiInput.reset();
}

//==============================================================================
void MidiInputHandler::start (const juce::String& portName)
{
    stop();

    const auto inputIndex = midi.getInputNames().indexOf (portName);
    auto newInput = inputIndex >= 0 ? midi.openInput (inputIndex, *this) : nullptr;
    auto newOutput = MidiPorts::openOutputNamed (midi, portName);

    midiInput = std::move (newInput);
    midiOutput = std::move (newOutput);

    if (midiInput != nullptr)
        midiInput->start();
}

void MidiInputHandler::stop()
{
    if (midiInput == nullptr)
        return;

    midiInput->stop();
    midiInput.reset();
    midiOutput.reset();
}

//==============================================================================
void MidiInputHandler::openProgram (const juce::File& file)
{
    programSize = 0;
    programData.reset();
    programFile = file;

    juce::FileInputStream in (file);

    if (in.failedToOpen())
        return;

    // One byte more than the largest image is enough to know that a file is too
    // large, without reading a huge file that was picked by mistake.
    in.readIntoMemoryBlock (programData, (juce::pointer_sized_int) FirmwareLimits::maxImageSize + 1);
    programSize = (juce::uint64) programData.getSize();
}

//==============================================================================
juce::Result MidiInputHandler::sendProgram()
{
    if (midiInput == nullptr)
        return juce::Result::fail ("No MIDI input device is open");

    if (midiOutput == nullptr)
        return juce::Result::fail ("No MIDI output device is open");

    clearFlags();

    if (programSize < (juce::uint64) FirmwareLimits::minImageSize
         || programSize > (juce::uint64) FirmwareLimits::maxImageSize)
        return juce::Result::fail ("Wrong file or cannot find this file!");

    const auto result = [this]
    {
        const auto total = programSize + 3;

        setProgressForStep (0, total);
        owner.setStatusText ("Connecting...");

        const auto connect = makeConnectPacket();
        sendPacket (connect.data(), connect.size(), 1, 0);

        if (! waitFor (connectAck))
            return juce::Result::fail ("Could not connect to hardware");

        setProgressForStep (1, total);
        owner.setStatusText ("Erasing...");

        const auto erase = makeErasePacket (pid);
        sendPacket (erase.data(), erase.size(), 0, 1);
        waits.sleep (100);

        if (! waitFor (eraseAck))
            return juce::Result::fail ("Could not erase existing firmware");

        setProgressForStep (2, total);
        owner.setStatusText ("Installing...");

        int messagesSent = 0;

        for (int block = 0; (juce::uint64) block * FirmwareLimits::blockSize < programSize; ++block)
        {
            writeAck = false;
            sendBlock (block, messagesSent);

            if (! waitForBlock())
                return juce::Result::fail ("Could not write new firmware");

            setProgressForStep ((juce::uint64) (block + 1) * FirmwareLimits::blockSize, total);
        }

        owner.setStatusText ("Resetting...");

        resetAck = false;
        const auto reset = makeResetPacket();
        sendPacket (reset.data(), reset.size(), 2, 0);

        if (! waitFor (resetAck))
            return juce::Result::fail ("Could not reset the device");

        return juce::Result::ok();
    }();

    clearFlags();
    return result;
}

//==============================================================================
void MidiInputHandler::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    if (message.getRawDataSize() < 2)
        return;

    switch (message.getRawData()[1])
    {
        case 0x7F:  connectAck = true; break;
        case 0x00:  eraseAck = true;   break;
        case 0x01:  writeAck = true;   break;
        case 0x02:  resetAck = true;   break;
        default:    break;
    }
}

void MidiInputHandler::handlePartialSysexMessage (juce::MidiInput*, const juce::uint8*, int, double)
{
}

//==============================================================================
bool MidiInputHandler::waitFor (const std::atomic<bool>& flag)
{
    for (int slice = 0; slice < slicesPerWait; ++slice)
    {
        if (flag)
            return true;

        waits.runMessageLoop (sliceMs);
    }

    return flag;
}

bool MidiInputHandler::waitForBlock()
{
    // Writing a block to flash takes the device a while, so the first look
    // comes after one slice.
    for (int slice = 0; slice < slicesPerBlock; ++slice)
    {
        waits.runMessageLoop (sliceMs);

        if (writeAck)
            return true;
    }

    return false;
}

void MidiInputHandler::clearFlags() noexcept
{
    connectAck = false;
    eraseAck = false;
    writeAck = false;
    resetAck = false;
}

void MidiInputHandler::setProgressForStep (juce::uint64 step, juce::uint64 total)
{
    // The last block of an image that doesn't fill it counts as a whole block,
    // which would take the bar past its end.
    owner.setProgress (juce::jmin (1.0, progressBase + progressSpan * (double) step / (double) total));
}

void MidiInputHandler::sendPacket (const juce::uint8* data, size_t size, int pauseBeforeEachMs, int pauseAfterEachMs)
{
    zorvane::sendPacket (*midiOutput, data, size, waits, pauseBeforeEachMs, pauseAfterEachMs);
}

void MidiInputHandler::sendBlock (int blockNumber, int& messagesSent)
{
    const auto packet = makeDataPacket (blockNumber, programData.getData(), (size_t) programSize);
    const auto paced = _mac_major >= 15;

    // Each message goes out alone, as the one event of its buffer. The pacing
    // counts over the whole write phase, so it carries on across blocks.
    juce::MidiBuffer buffer;

    for (auto byte : packet)
    {
        ++messagesSent;

        if (paced && messagesSent % 2 == 0)
            waits.sleep (1);

        buffer.addEvent (makeCarrierMessage (byte), 0);
        midiOutput->sendBlockOfMessagesNow (buffer);
        buffer.clear();
    }
}

} // namespace zorvane
