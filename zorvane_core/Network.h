#pragma once

#include "zorvane_core/Waits.h"

#include <juce_core/juce_core.h>

namespace zorvane
{

//==============================================================================
/** The firmware server: its address, the reachability probe and bounded fetches.

    The server's base address is built in, and can be replaced for a test server
    or a mirror through the environment variable ZORVANE_FIRMWARE_SERVER, which
    must hold an http:// or https:// address (a missing trailing "/" is added;
    anything else in the variable is ignored).

    Everything here is careful with what comes back, because the answers come from
    a network we don't control:
    - redirects are followed by hand, at most 5, only to http or https, and never
      from https down to plain http;
    - a body is read in chunks up to a size limit, and a transfer that stalls or
      drags on past its limits is abandoned;
    - only a status of 200 to 299 counts as an answer.
    The calls block the calling thread but keep the message loop running through
    the Waits while the transfer goes on in the background.
*/
class Network
{
public:
    //==============================================================================
    /** Where the server is, and how long we are prepared to wait for it. */
    struct Settings
    {
        /** The server's base address, ending in "/". */
        juce::String serverBase;

        /** Passed to the HTTP client for connecting (and its own low-speed cut-off). */
        int connectionTimeoutMs = 4000;

        /** Giving up when no data has come in for this long. */
        int stallTimeoutMs = 15000;

        /** Giving up on any one fetch after this long, however slowly it trickles. */
        int totalTimeoutMs = 120000;

        /** The waits that keep the message loop alive; nullptr means the real ones. */
        Waits* waits = nullptr;

        /** The built-in server (or the environment's) with the default limits. */
        static Settings standard();
    };

    /** The largest firmware list we accept from the server. */
    static constexpr juce::int64 maxFirmwareListBytes = 256 * 1024;

    /** The image sizes the bootloader takes: 1 to 124 blocks of 512 bytes, less one byte. */
    static constexpr juce::int64 minFirmwareImageBytes = 512;
    static constexpr juce::int64 maxFirmwareImageBytes = 63487;

    //==============================================================================
    /** The base address the program ships with, or the environment's replacement. */
    static juce::String getFirmwareServerBase();

    /** True when the server answers this address with a status of 200 to 299. */
    static bool canConnectToWebsite (const juce::URL& url);
    static bool canConnectToWebsite (const juce::URL& url, const Settings& settings);

    /** Reads a whole answer of at most maxBytes. Fails on a status outside
        200 to 299, a larger body, a refused redirect, a stall or a broken transfer;
        `body` is only written on success.
    */
    static juce::Result fetchBody (const juce::URL& url, juce::int64 maxBytes,
                                   juce::MemoryBlock& body, const Settings& settings);

    /** Downloads a firmware image into `target`. Fails with "Could not download
        firmware file" when the fetch fails or the image is not 512 to 63,487 bytes
        long; then `target` is left untouched.
    */
    static juce::Result downloadFirmwareImage (const juce::URL& url, const juce::File& target,
                                               const Settings& settings);

    /** Whether a redirect from one address to the other may be followed. */
    static bool isAllowedRedirect (const juce::URL& from, const juce::URL& to);

    /** The address a Location header points to, seen from the address that sent it. */
    static juce::URL resolveLocation (const juce::URL& current, const juce::String& location);
};

} // namespace zorvane
