#include "zorvane_core/VirtualMidiBackend.h"

#include <vector>

namespace zorvane
{

//==============================================================================
// The bus is shared with the ports the host holds, so a port may outlive the
// backend (or its device) without dangling.
struct VirtualMidiBackend::Bus
{
    struct Plug
    {
        juce::String name;
        VirtualMidiDevice* device = nullptr;
        juce::uint64 generation = 0;
    };

    struct OpenInput
    {
        juce::String name;
        juce::uint64 generation = 0;
        juce::MidiInputCallback* callback = nullptr;
        bool started = false;
    };

    juce::CriticalSection lock;
    std::vector<Plug> plugs;
    juce::StringArray refusing;
    std::map<int, OpenInput> inputs;
    int nextInputId = 1;
    int openOutputs = 0;
    juce::uint64 nextGeneration = 1;

    /** The port at this place of the list, unless it is set to refuse opening. */
    const Plug* findOpenablePlug (int index) const
    {
        if (! juce::isPositiveAndBelow (index, (int) plugs.size()))
            return nullptr;

        const auto& plug = plugs[(size_t) index];
        return refusing.contains (plug.name) ? nullptr : &plug;
    }

    const Plug* findPlug (const juce::String& name, juce::uint64 generation) const
    {
        for (const auto& p : plugs)
            if (p.name == name && p.generation == generation)
                return &p;

        return nullptr;
    }
};

namespace
{
    class VirtualOutputPort final : public MidiOutputPort
    {
    public:
        VirtualOutputPort (std::shared_ptr<VirtualMidiBackend::Bus> b, juce::String n, juce::uint64 g)
            : bus (std::move (b)), name (std::move (n)), generation (g)
        {
            const juce::ScopedLock sl (bus->lock);
            ++bus->openOutputs;
        }

        ~VirtualOutputPort() override
        {
            const juce::ScopedLock sl (bus->lock);
            --bus->openOutputs;
        }

        void sendMessageNow (const juce::MidiMessage& m) override
        {
            const juce::ScopedLock sl (bus->lock);

            if (auto* plug = bus->findPlug (name, generation))
                plug->device->receive (name, m);
        }

        void sendBlockOfMessagesNow (const juce::MidiBuffer& buffer) override
        {
            for (const auto metadata : buffer)
                sendMessageNow (metadata.getMessage());
        }

    private:
        std::shared_ptr<VirtualMidiBackend::Bus> bus;
        juce::String name;
        juce::uint64 generation;
    };

    class VirtualInputPort final : public MidiInputPort
    {
    public:
        VirtualInputPort (std::shared_ptr<VirtualMidiBackend::Bus> b, int i) : bus (std::move (b)), id (i) {}

        ~VirtualInputPort() override
        {
            const juce::ScopedLock sl (bus->lock);
            bus->inputs.erase (id);
        }

        void start() override { setStarted (true); }
        void stop() override  { setStarted (false); }

    private:
        void setStarted (bool shouldRun)
        {
            const juce::ScopedLock sl (bus->lock);
            const auto it = bus->inputs.find (id);

            if (it != bus->inputs.end())
                it->second.started = shouldRun;
        }

        std::shared_ptr<VirtualMidiBackend::Bus> bus;
        int id;
    };
}

//==============================================================================
VirtualMidiBackend::VirtualMidiBackend() : bus (std::make_shared<Bus>()) {}
VirtualMidiBackend::~VirtualMidiBackend() = default;

void VirtualMidiBackend::plugIn (const juce::String& portName, VirtualMidiDevice& device)
{
    const juce::ScopedLock sl (bus->lock);
    bus->plugs.push_back ({ portName, &device, bus->nextGeneration++ });
}

void VirtualMidiBackend::unplug (const juce::String& portName)
{
    const juce::ScopedLock sl (bus->lock);

    for (auto it = bus->plugs.begin(); it != bus->plugs.end(); ++it)
    {
        if (it->name == portName)
        {
            bus->plugs.erase (it);
            return;
        }
    }
}

bool VirtualMidiBackend::isPluggedIn (const juce::String& portName) const
{
    const juce::ScopedLock sl (bus->lock);

    for (const auto& p : bus->plugs)
        if (p.name == portName)
            return true;

    return false;
}

void VirtualMidiBackend::setRefusesToOpen (const juce::String& portName, bool shouldRefuse)
{
    const juce::ScopedLock sl (bus->lock);

    if (shouldRefuse)
        bus->refusing.addIfNotAlreadyThere (portName);
    else
        bus->refusing.removeString (portName);
}

void VirtualMidiBackend::sendToHost (const juce::String& portName, const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (bus->lock);

    for (const auto& [id, input] : bus->inputs)
        if (input.started && input.name == portName && bus->findPlug (input.name, input.generation) != nullptr)
            input.callback->handleIncomingMidiMessage (nullptr, message);
}

int VirtualMidiBackend::getNumOpenOutputs() const
{
    const juce::ScopedLock sl (bus->lock);
    return bus->openOutputs;
}

int VirtualMidiBackend::getNumOpenInputs() const
{
    const juce::ScopedLock sl (bus->lock);
    return (int) bus->inputs.size();
}

//==============================================================================
juce::StringArray VirtualMidiBackend::getOutputNames()
{
    const juce::ScopedLock sl (bus->lock);
    juce::StringArray names;

    for (const auto& p : bus->plugs)
        names.add (p.name);

    return names;
}

juce::StringArray VirtualMidiBackend::getInputNames()
{
    return getOutputNames();
}

std::unique_ptr<MidiOutputPort> VirtualMidiBackend::openOutput (int index)
{
    const juce::ScopedLock sl (bus->lock);

    if (auto* plug = bus->findOpenablePlug (index))
        return std::make_unique<VirtualOutputPort> (bus, plug->name, plug->generation);

    return {};
}

std::unique_ptr<MidiInputPort> VirtualMidiBackend::openInput (int index, juce::MidiInputCallback& callback)
{
    const juce::ScopedLock sl (bus->lock);

    if (auto* plug = bus->findOpenablePlug (index))
    {
        const auto id = bus->nextInputId++;
        bus->inputs[id] = { plug->name, plug->generation, &callback, false };
        return std::make_unique<VirtualInputPort> (bus, id);
    }

    return {};
}

} // namespace zorvane
