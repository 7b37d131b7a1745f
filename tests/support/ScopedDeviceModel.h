#pragma once

#include "app/device/ThisProduct.h"
#include "app/model/Arrays.h"
#include "tests/support/FakeWaits.h"
#include "tests/support/TempFolder.h"
#include "zorvane_core/VirtualMidiBackend.h"

namespace testsupport
{

/** A fresh device model installed as the process's DalviPlus singleton, with its
    settings in a temporary folder, a virtual MIDI bus and instant waits. The code
    tables start from zero, as at process start. Deleting it writes the settings
    file into the temporary folder, as shutdown does.
*/
class ScopedDeviceModel
{
public:
    ScopedDeviceModel()
    {
        DalviPlus::singletonHolder.deleteInstance();
        Defa::resetCodeTables();
        Defa::fillPitchNames();

        DalviPlus::Environment env;
        env.settingsFolder = settings.get();
        env.midi = &midi;
        env.waits = &waits;
        DalviPlus::createInstance (env);
    }

    ~ScopedDeviceModel() { DalviPlus::singletonHolder.deleteInstance(); }

    DalviPlus& operator*() const  { return *DalviPlus::singletonHolder.instance.load(); }
    DalviPlus* operator->() const { return DalviPlus::singletonHolder.instance.load(); }

    juce::File settingsFile() const { return settings.get().getChildFile ("DalviVPlus.conf"); }

    TempFolder settings;
    zorvane::VirtualMidiBackend midi;
    FakeWaits waits;
};

} // namespace testsupport
