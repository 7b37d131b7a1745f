#include "zorvane_core/MidiPorts.h"

#include <atomic>

namespace zorvane
{

namespace
{
    juce::StringArray namesOf (const juce::Array<juce::MidiDeviceInfo>& devices)
    {
        juce::StringArray names;

        for (const auto& info : devices)
            names.add (info.name);

        return names;
    }

    class JuceOutputPort final : public MidiOutputPort
    {
    public:
        explicit JuceOutputPort (std::unique_ptr<juce::MidiOutput> o) : output (std::move (o)) {}

        void sendMessageNow (const juce::MidiMessage& m) override    { output->sendMessageNow (m); }
        void sendBlockOfMessagesNow (const juce::MidiBuffer& b) override { output->sendBlockOfMessagesNow (b); }

    private:
        std::unique_ptr<juce::MidiOutput> output;
    };

    class JuceInputPort final : public MidiInputPort
    {
    public:
        explicit JuceInputPort (std::unique_ptr<juce::MidiInput> i) : input (std::move (i)) {}
        ~JuceInputPort() override { input->stop(); }

        void start() override { input->start(); }
        void stop() override  { input->stop(); }

    private:
        std::unique_ptr<juce::MidiInput> input;
    };

    std::atomic<MidiBackend*> installedBackend { nullptr };
}

//==============================================================================
juce::StringArray JuceMidiBackend::getOutputNames() { return namesOf (juce::MidiOutput::getAvailableDevices()); }
juce::StringArray JuceMidiBackend::getInputNames()  { return namesOf (juce::MidiInput::getAvailableDevices()); }

std::unique_ptr<MidiOutputPort> JuceMidiBackend::openOutput (int index)
{
    const auto devices = juce::MidiOutput::getAvailableDevices();

    if (! juce::isPositiveAndBelow (index, devices.size()))
        return {};

    if (auto output = juce::MidiOutput::openDevice (devices[index].identifier))
        return std::make_unique<JuceOutputPort> (std::move (output));

    return {};
}

std::unique_ptr<MidiInputPort> JuceMidiBackend::openInput (int index, juce::MidiInputCallback& callback)
{
    const auto devices = juce::MidiInput::getAvailableDevices();

    if (! juce::isPositiveAndBelow (index, devices.size()))
        return {};

    if (auto input = juce::MidiInput::openDevice (devices[index].identifier, &callback))
        return std::make_unique<JuceInputPort> (std::move (input));

    return {};
}

//==============================================================================
MidiBackend& MidiPorts::get()
{
    if (auto* backend = installedBackend.load())
        return *backend;

    static JuceMidiBackend juceBackend;
    return juceBackend;
}

void MidiPorts::install (MidiBackend* backend)
{
    installedBackend = backend;
}

std::unique_ptr<MidiOutputPort> MidiPorts::openOutputNamed (MidiBackend& backend, const juce::String& name)
{
    const auto index = backend.getOutputNames().indexOf (name);
    return index >= 0 ? backend.openOutput (index) : nullptr;
}

} // namespace zorvane
