// libFuzzer target: everything a map file goes through when it is loaded, from
// the raw bytes to a checked map, and on to the User Defined code table.

#include "app/files/MapFile.h"
#include "app/model/Arrays.h"
#include "app/model/ControllerMap.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    juce::ValueTree map;

    if (MapFile::parse (data, size, map).wasOk())
    {
        // A map that passed the checks must be usable everywhere without surprises.
        const CtMap ctMap (map);
        const int mode = ctMap.getCtMode();

        for (int id = 1; id <= 50; ++id)
        {
            const auto control = ctMap.getControlById (id);

            if (! control.isValid())
                __builtin_trap();

            const int value = control[Tags::value];
            Defa::getName3 (mode, 0, Defa::selForval2 (mode, 0, value), Defa::getMsgType (mode, id));
        }

        juce::ignoreUnused (MapFile::toText (map));
    }

    return 0;
}
