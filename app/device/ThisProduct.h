#pragma once

#include "app/model/ControllerMap.h"
#include "zorvane_core/MidiPorts.h"
#include "zorvane_core/Waits.h"

#include <juce_data_structures/juce_data_structures.h>

#include <memory>

//==============================================================================
/** The Dalvi V+ as the program knows it: one map per control mode, the current
    mode, the MIDI output port the user chose, and the settings storage.

    There is one per process, reached through singletonHolder.get(); the
    application creates it at start-up and deletes it at shutdown, which is when
    the settings file is written.
*/
class DalviPlus
{
public:
    /** Where the settings go and what the transfer talks to. The program uses the
        defaults; tests point them at a temporary folder, a virtual MIDI bus and
        instant waits.
    */
    struct Environment
    {
        /** Empty: the system's application-support folders. Otherwise the folder
            that holds the settings file (both the common and the user's).
        */
        juce::File settingsFolder;
        zorvane::MidiBackend* midi = nullptr;   // nullptr: zorvane::MidiPorts::get()
        zorvane::Waits* waits = nullptr;        // nullptr: zorvane::Waits::real()
    };

    DalviPlus();
    explicit DalviPlus (const Environment& environment);
    virtual ~DalviPlus();

    //==============================================================================
    CtMode getCurrentCtMode() const;
    void setCtMode (CtMode mode);
    void setCurrentOutputDevice (const juce::String& name);
    CtMap getCurrentMap() const;

    juce::Result openFile (const juce::File& file);
    juce::Result saveCurrentMapping (const juce::File& file);
    juce::Result sendCurrentMapping();

    /** The port chosen with setCurrentOutputDevice (empty until one is chosen). */
    juce::String getCurrentOutputDevice() const;

    /** The store of the four maps (type "modes"), for inspection. */
    juce::ValueTree getModesTree() const;

    //==============================================================================
    static juce::SingletonHolder<DalviPlus, juce::CriticalSection, true> singletonHolder;

    /** Creates the instance with this environment instead of the defaults; the
        command-line tool and the tests use it before anything asks for the
        instance. An instance that exists already is deleted first.
    */
    static DalviPlus& createInstance (const Environment& environment);

    /** The settings file the program writes by default (the common one). */
    static juce::PropertiesFile::Options getSettingsOptions();

    class Impl;

private:
    std::unique_ptr<Impl> pimpl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DalviPlus)
};
