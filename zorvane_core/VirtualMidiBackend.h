#pragma once

#include "zorvane_core/MidiPorts.h"

#include <map>
#include <memory>

namespace zorvane
{

//==============================================================================
/** Something that sits on the virtual MIDI bus: it receives what the host sends
    to its port, and answers through VirtualMidiBackend::sendToHost.
*/
class VirtualMidiDevice
{
public:
    virtual ~VirtualMidiDevice() = default;

    /** A message the host sent to the port `portName`, on the sender's thread. */
    virtual void receive (const juce::String& portName, const juce::MidiMessage& message) = 0;
};

//==============================================================================
/** An in-process MIDI bus standing in for the operating system's MIDI service.

    A device plugs in under a port name and then appears both as an output and as
    an input of that name, as a USB MIDI device does. Unplugging removes the name
    from both lists at once; ports the host still holds open stay valid objects but
    carry nothing any more, which is what a vanished USB device looks like.

    Messages to a device are delivered synchronously on the sender's thread; a
    device's answers reach the callbacks of the host's open inputs of that port on
    the device's thread. All of it is safe to call from any thread.
*/
class VirtualMidiBackend final : public MidiBackend
{
public:
    VirtualMidiBackend();
    ~VirtualMidiBackend() override;

    //==============================================================================
    void plugIn (const juce::String& portName, VirtualMidiDevice& device);
    void unplug (const juce::String& portName);
    bool isPluggedIn (const juce::String& portName) const;

    /** Makes opening this port fail (a port the system lists but will not open). */
    void setRefusesToOpen (const juce::String& portName, bool shouldRefuse);

    /** Delivers a message from the device behind `portName` to the host's open inputs of that port. */
    void sendToHost (const juce::String& portName, const juce::MidiMessage& message);

    /** How many host ports of each kind are open now (for checks that nothing was left open). */
    int getNumOpenOutputs() const;
    int getNumOpenInputs() const;

    //==============================================================================
    juce::StringArray getOutputNames() override;
    juce::StringArray getInputNames() override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override;

    /** The shared state behind the backend and the ports it opened. */
    struct Bus;

private:
    std::shared_ptr<Bus> bus;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualMidiBackend)
};

} // namespace zorvane
