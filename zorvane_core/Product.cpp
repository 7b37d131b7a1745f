#include "zorvane_core/Product.h"

#include "zorvane_core/XmlGuard.h"

#include <juce_data_structures/juce_data_structures.h>

namespace zorvane
{

namespace
{
    struct NamedProduct
    {
        Product::PID pid;
        const char* name;
    };

    constexpr NamedProduct productNames[] =
    {
        { Product::ostraPro,          "OstraPro" },
        { Product::ostraEx,           "OstraEx" },
        { Product::ostraProR,         "OstraPro R" },
        { Product::merrow3,           "Merrow 3" },
        { Product::merrow4,           "Merrow 4" },
        { Product::merrow5,           "Merrow 5" },
        { Product::merrow6,           "Merrow 6" },
        { Product::merrowT,           "Merrow T" },
        { Product::merrow3T,          "Merrow 3T" },
        { Product::merrow4T,          "Merrow 4T" },
        { Product::merrow5T,          "Merrow 5T" },
        { Product::merrow6T,          "Merrow 6T" },
        { Product::dalviK,            "Dalvi K" },
        { Product::dalviR,            "Dalvi R" },
        { Product::merrow8,           "Merrow 8" },
        { Product::merrow8T,          "Merrow 8T" },
        { Product::ostraProRS,        "OstraPro RS" },
        { Product::merrow3TTesselIII, "Merrow 3T (Tessel III)" },
        { Product::merrow4TTesselIII, "Merrow 4T (Tessel III)" },
        { Product::merrow5TTesselIII, "Merrow 5T (Tessel III)" },
        { Product::merrow6TTesselIII, "Merrow 6T (Tessel III)" },
        { Product::merrow8TTesselIII, "Merrow 8T (Tessel III)" },
        { Product::merrow3Lite,       "Merrow 3 Lite" },
        { Product::merrow4Lite,       "Merrow 4 Lite" },
        { Product::merrow5Lite,       "Merrow 5 Lite" },
        { Product::merrow6Lite,       "Merrow 6 Lite" },
        { Product::merrow8Lite,       "Merrow 8 Lite" },
        { Product::merrow3R,          "Merrow 3R" },
        { Product::merrow4R,          "Merrow 4R" },
        { Product::merrow5R,          "Merrow 5R" },
        { Product::merrow6R,          "Merrow 6R" },
        { Product::merrow8R,          "Merrow 8R" },
        { Product::dalviKPlus,        "Dalvi K+" },
        { Product::dalviRPlus,        "Dalvi R+" },
        { Product::dalviVPlus,        "Dalvi V+" },
        { Product::ostraProG2,        "OstraPro G2" },
        { Product::ostraExG2,         "OstraEx G2" },
        { Product::dalviLite,         "DalviLite" },
        { Product::dalviGo,           "Dalvi Go" }
    };

    struct NamePattern
    {
        const char* pattern;
        Product::PID pid;
    };

    // The order matters: every name is tested against the more specific patterns
    // first ("ostra pro r" also matches "ostra pro rs", "merrow?3t" also matches
    // "merrow 3t vst"). Between the words, "?" takes any one character, so ports
    // named with an underscore or a dash are recognised too.
    constexpr NamePattern namePatterns[] =
    {
        { "*ostra pro rs*",         Product::ostraProRS },
        { "*ostra pro r*",          Product::ostraProR },
        { "*ostra?pro?g2*",         Product::ostraProG2 },
        { "*ostra?ex*g2*",          Product::ostraExG2 },
        { "*ostra pro*",            Product::ostraPro },
        { "*ostra ex*",             Product::ostraEx },
        { "*dalvi?k+*",             Product::dalviKPlus },
        { "*dalvi?k*",              Product::dalviK },
        { "*dalvi?r+*",             Product::dalviRPlus },
        { "*dalvi?r*",              Product::dalviR },
        { "*dalvi?v+*",             Product::dalviVPlus },
        { "*dalvi?go*",             Product::dalviGo },
        { "*dalvilite*",            Product::dalviLite },
        { "*merrow?3r*",            Product::merrow3R },
        { "*merrow?4r*",            Product::merrow4R },
        { "*merrow?5r*",            Product::merrow5R },
        { "*merrow?6r*",            Product::merrow6R },
        { "*merrow?8r*",            Product::merrow8R },
        { "*merrow?3t?vst*",        Product::merrow3TTesselIII },
        { "*merrow?3t?(ts?iii)*",   Product::merrow3TTesselIII },
        { "*merrow?4t?vst*",        Product::merrow4TTesselIII },
        { "*merrow?4t?(ts?iii)*",   Product::merrow4TTesselIII },
        { "*merrow?5t?vst*",        Product::merrow5TTesselIII },
        { "*merrow?5t?(ts?iii)*",   Product::merrow5TTesselIII },
        { "*merrow?6t?vst*",        Product::merrow6TTesselIII },
        { "*merrow?6t?(ts?iii)*",   Product::merrow6TTesselIII },
        { "*merrow?8t?vst*",        Product::merrow8TTesselIII },
        { "*merrow?8t?(ts?iii)*",   Product::merrow8TTesselIII },
        { "*merrow?3t*",            Product::merrow3T },
        { "*merrow?4t*",            Product::merrow4T },
        { "*merrow?5t*",            Product::merrow5T },
        { "*merrow?6t*",            Product::merrow6T },
        { "*merrow?8t*",            Product::merrow8T },
        { "*merrow?3?lite*",        Product::merrow3Lite },
        { "*merrow?4?lite*",        Product::merrow4Lite },
        { "*merrow?5?lite*",        Product::merrow5Lite },
        { "*merrow?6?lite*",        Product::merrow6Lite },
        { "*merrow?8?lite*",        Product::merrow8Lite },
        { "*mer?row?3*",            Product::merrow3 },
        { "*mer?row?4*",            Product::merrow4 },
        { "*mer?row?5*",            Product::merrow5 },
        { "*mer?row?6*",            Product::merrow6 },
        { "*mer?row?8*",            Product::merrow8 }
    };

    // Elements deeper than this in a firmware list mean it isn't one.
    constexpr int maxFirmwareListDepth = 32;

    const juce::Identifier pidProperty ("pid");
}

//==============================================================================
juce::String Product::getName (PID pid)
{
    for (const auto& entry : productNames)
        if (entry.pid == pid)
            return entry.name;

    return "Unknown";
}

bool Product::validPID (int pid) noexcept
{
    return pid != unknown;
}

Product Product::fromDeviceName (const juce::String& portName)
{
    const auto name = portName.toLowerCase().trim();

    for (const auto& entry : namePatterns)
        if (name.matchesWildcard (entry.pattern, true))
            return Product (entry.pid);

    return Product (unknown);
}

//==============================================================================
juce::Result Product::fetchAvailableFirmwares (int pid, juce::ValueTree& firmwares)
{
    return fetchAvailableFirmwares (pid, firmwares, Network::Settings::standard());
}

juce::Result Product::fetchAvailableFirmwares (int pid, juce::ValueTree& firmwares,
                                               const Network::Settings& settings)
{
    if (pid < 0 || pid == unknown)
        return juce::Result::fail ("Cannot fetch firmware details for Unknown product");

    const auto isSpecial = (pid == ostraProR || pid == ostraProRS);
    const juce::URL listUrl (settings.serverBase + (isSpecial ? "firmware-special.xml" : "firmware.xml"));

    if (! Network::canConnectToWebsite (listUrl, settings))
        return juce::Result::fail ("The firmware server is currently unavailable.");

    juce::MemoryBlock body;

    if (Network::fetchBody (listUrl, Network::maxFirmwareListBytes, body, settings).failed())
        return juce::Result::fail ("Error connecting to server");

    const auto xml = XmlGuard::parse (body.getData(), body.getSize(), maxFirmwareListDepth);

    if (xml == nullptr)
        return juce::Result::fail ("Error connecting to server");

    const auto list = juce::ValueTree::fromXml (*xml);

    if (! list.isValid())
        return juce::Result::fail ("Could not read server response");

    firmwares = list;

    for (int i = firmwares.getNumChildren(); --i >= 0;)
        if ((int) firmwares.getChild (i)[pidProperty] != pid)
            firmwares.removeChild (i, nullptr);

    if (firmwares.getNumChildren() == 0)
        return juce::Result::fail ("No firmware matches in the server, please try again manually!");

    return juce::Result::ok();
}

} // namespace zorvane
