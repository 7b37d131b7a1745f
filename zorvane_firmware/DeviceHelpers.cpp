#include "zorvane_firmware/DeviceHelpers.h"

namespace zorvane
{

juce::StringArray DeviceHelpers::getDeviceNames (bool outputs, MidiBackend& midi)
{
    auto names = outputs ? midi.getOutputNames() : midi.getInputNames();

    // Some drivers list one device twice; a picker should show it once.
    names.removeDuplicates (false);
    names.removeEmptyStrings (true);
    return names;
}

} // namespace zorvane
