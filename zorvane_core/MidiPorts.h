#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

namespace zorvane
{

//==============================================================================
/** An open MIDI output port. Closing is deleting. */
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;
    virtual void sendBlockOfMessagesNow (const juce::MidiBuffer& buffer) = 0;
};

/** An open MIDI input port that delivers to the callback it was opened with.
    Closing is deleting; a port is stopped before it goes.
*/
class MidiInputPort
{
public:
    virtual ~MidiInputPort() = default;

    virtual void start() = 0;
    virtual void stop() = 0;
};

//==============================================================================
/** The MIDI ports as the operating system (or a stand-in for it) lists them.

    Everything in the program that lists or opens MIDI ports goes through one of
    these, so the same code runs against JUCE's MIDI service and against the
    in-process virtual bus that the simulated devices sit on.
*/
class MidiBackend
{
public:
    virtual ~MidiBackend() = default;

    /** Port names in the order the system lists them; duplicates are kept. */
    virtual juce::StringArray getOutputNames() = 0;
    virtual juce::StringArray getInputNames() = 0;

    /** Opens the port at this position of the current list, or returns nullptr. */
    virtual std::unique_ptr<MidiOutputPort> openOutput (int index) = 0;
    virtual std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) = 0;
};

//==============================================================================
/** The operating system's MIDI service, through juce::MidiOutput and juce::MidiInput. */
class JuceMidiBackend final : public MidiBackend
{
public:
    juce::StringArray getOutputNames() override;
    juce::StringArray getInputNames() override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override;
};

//==============================================================================
namespace MidiPorts
{
    /** The backend the program uses: JUCE's, unless another was installed. */
    MidiBackend& get();

    /** Replaces the process's backend (nullptr goes back to JUCE's). The caller
        keeps the backend alive for as long as it is installed.
    */
    void install (MidiBackend* backend);

    /** Opens the first output whose name equals `name` exactly, or returns nullptr. */
    std::unique_ptr<MidiOutputPort> openOutputNamed (MidiBackend& backend, const juce::String& name);
}

} // namespace zorvane
