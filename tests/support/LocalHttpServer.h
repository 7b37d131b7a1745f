#pragma once

#include <juce_core/juce_core.h>

#include <map>
#include <memory>

namespace testsupport
{

//==============================================================================
/** A small HTTP/1.1 server on 127.0.0.1 for the tests of the firmware server code.

    It listens on a free port from construction to destruction, answers one
    request per connection with what was configured for the request's path (404
    for anything else), and closes the connection. A "stalled" path gets its
    status line and headers, promising a body that never comes, and the
    connection is held open until the server goes.

    Requests are read with a size and time limit, so a test that misbehaves
    can't hang it. Configure paths before the requests that use them.
*/
class LocalHttpServer
{
public:
    LocalHttpServer();
    ~LocalHttpServer();

    /** "http://127.0.0.1:<port>/", or empty when no port could be opened. */
    juce::String getBaseUrl() const;
    int getPort() const noexcept    { return port; }

    //==============================================================================
    void serve (const juce::String& path, int status, const juce::MemoryBlock& body);
    void serve (const juce::String& path, int status, const juce::String& body);
    void redirect (const juce::String& path, const juce::String& location, int status = 302);
    void stall (const juce::String& path);

    /** The paths asked for so far, in order ("/firmware.xml"). */
    juce::StringArray getRequestedPaths() const;

private:
    struct Route
    {
        enum class Kind { body, redirect, stall };

        Kind kind = Kind::body;
        int status = 200;
        juce::MemoryBlock body;
        juce::String location;
    };

    class Worker;
    friend class Worker;

    void handle (std::unique_ptr<juce::StreamingSocket> connection);
    void setRoute (const juce::String& path, Route route);

    juce::StreamingSocket listener;
    int port = 0;

    juce::CriticalSection lock;
    std::map<juce::String, Route> routes;
    juce::StringArray requestedPaths;
    juce::OwnedArray<juce::StreamingSocket> heldOpen;

    std::unique_ptr<Worker> worker;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LocalHttpServer)
};

} // namespace testsupport
