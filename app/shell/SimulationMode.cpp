#include "app/shell/SimulationMode.h"

SimulationMode::SimulationMode (const juce::File& transferLog)
    : log (transferLog)
{
    device.onMessage = [this] (int) { messageReceived(); };

    // After a firmware upgrade (the bootloader's reset), what the bootloader holds.
    auto& bootloader = device.getBootloader();
    bootloader.onReset = [this, leaveUpgradeMode = bootloader.onReset]
    {
        if (leaveUpgradeMode != nullptr)
            leaveUpgradeMode();

        if (log != juce::File())
            log.appendText ("firmware sha256 " + device.getBootloader().getImageSha256() + " "
                                + juce::String ((juce::int64) device.getBootloader().getImage().getSize()) + "\n",
                            false, false, "\n");
    };

    zorvane::MidiPorts::install (&bus);
}

SimulationMode::~SimulationMode()
{
    zorvane::MidiPorts::install (nullptr);
    device.onMessage = nullptr;
}

//==============================================================================
juce::String SimulationMode::formatMessages (const std::vector<std::vector<juce::uint8>>& messages)
{
    juce::String text;

    for (const auto& message : messages)
    {
        juce::StringArray bytes;

        for (auto byte : message)
            bytes.add (juce::String::toHexString ((int) byte).paddedLeft ('0', 2).toUpperCase());

        text << bytes.joinIntoString (" ") << "\n";
    }

    return text;
}

void SimulationMode::messageReceived()
{
    // Called on the sending thread after each message; only the end of a
    // complete transfer is of interest.
    if (device.getNumCompleteTransfers() == 0)
        return;

    auto messages = device.getReceivedMessages();

    // Whatever came before the transfer's start message (a broken transfer, say)
    // is not part of it.
    auto start = messages.end();

    for (auto it = messages.begin(); it != messages.end(); ++it)
        if (! it->empty() && (*it)[0] == 0xF0)
            start = it;

    if (log != juce::File() && start != messages.end())
        log.appendText (formatMessages ({ start, messages.end() }), false, false, "\n");

    // Forgetting keeps the next transfer's messages apart from this one's.
    device.clear();
}
