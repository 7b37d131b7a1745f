#pragma once

#include "zorvane_core/Network.h"

#include <juce_data_structures/juce_data_structures.h>

namespace zorvane
{

//==============================================================================
/** One of Zorvane's devices, known by its product id.

    The id picks the display name, the firmware list on the server, the code in
    the upgrade request and the erase parameter of the bootloader.
*/
class Product
{
public:
    enum PID : int
    {
        ostraPro            = 79,
        ostraEx             = 89,
        ostraProR           = 94,
        merrow3             = 101,
        merrow4             = 102,
        merrow5             = 103,
        merrow6             = 104,
        merrowT             = 110,
        merrow3T            = 111,
        merrow4T            = 112,
        merrow5T            = 113,
        merrow6T            = 114,
        dalviK              = 117,
        dalviR              = 118,
        merrow8             = 125,
        merrow8T            = 126,
        ostraProRS          = 130,
        merrow3TTesselIII   = 133,
        merrow4TTesselIII   = 134,
        merrow5TTesselIII   = 135,
        merrow6TTesselIII   = 136,
        merrow8TTesselIII   = 137,
        merrow3Lite         = 141,
        merrow4Lite         = 142,
        merrow5Lite         = 143,
        merrow6Lite         = 144,
        merrow8Lite         = 145,
        merrow3R            = 147,
        merrow4R            = 148,
        merrow5R            = 149,
        merrow6R            = 150,
        merrow8R            = 151,
        dalviKPlus          = 156,
        dalviRPlus          = 161,
        dalviVPlus          = 170,
        ostraProG2          = 176,
        ostraExG2           = 177,
        dalviLite           = 179,
        dalviGo             = 186,

        unknown             = 2000
    };

    //==============================================================================
    Product() = default;
    explicit Product (PID productId) noexcept : pid (productId) {}

    PID getPID() const noexcept                         { return pid; }
    bool operator== (const Product& other) const noexcept { return pid == other.pid; }
    bool operator!= (const Product& other) const noexcept { return pid != other.pid; }

    //==============================================================================
    /** The display name, or "Unknown" for 2000 and for any id we don't make. */
    static juce::String getName (PID pid);

    /** Only 2000 is refused: ids of products newer than this table still count. */
    static bool validPID (int pid) noexcept;

    /** Recognises a product from the name its MIDI port shows, or gives 2000. */
    static Product fromDeviceName (const juce::String& portName);

    //==============================================================================
    /** Fetches the server's firmware list and keeps only the entries of this product,
        in the server's order. On failure the tree is left as it was, except when
        the list had no entry for the product: then it holds the bare root.
    */
    static juce::Result fetchAvailableFirmwares (int pid, juce::ValueTree& firmwares);

    /** The same against a chosen server and waits (tests, tools). */
    static juce::Result fetchAvailableFirmwares (int pid, juce::ValueTree& firmwares,
                                                 const Network::Settings& settings);

private:
    PID pid = unknown;
};

} // namespace zorvane
