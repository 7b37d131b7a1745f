#include "tests/support/LocalHttpServer.h"

#include <cerrno>
#include <sys/socket.h>

namespace testsupport
{

namespace
{
    constexpr int maxRequestBytes = 16 * 1024;
    constexpr int requestTimeoutMs = 2000;
    constexpr int writeTimeoutMs = 5000;
    constexpr int acceptPollMs = 20;

    juce::String reasonPhrase (int status)
    {
        switch (status)
        {
            case 200: return "OK";
            case 301: return "Moved Permanently";
            case 302: return "Found";
            case 307: return "Temporary Redirect";
            case 404: return "Not Found";
            case 500: return "Internal Server Error";
            default:  return "Status";
        }
    }

    // The socket was left non-blocking by the read of the request, so a full send
    // buffer means waiting until the client has read some. A client that has seen
    // enough closes early; that must not raise SIGPIPE, which would end the run.
    bool writeAll (juce::StreamingSocket& socket, const void* data, size_t numBytes)
    {
       #ifdef MSG_NOSIGNAL
        constexpr int flags = MSG_NOSIGNAL;
       #else
        constexpr int flags = 0;
       #endif

        auto* bytes = static_cast<const char*> (data);
        const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) writeTimeoutMs;

        while (numBytes > 0)
        {
            const auto written = ::send (socket.getRawSocketHandle(), bytes, juce::jmin (numBytes, (size_t) 65536), flags);

            if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)
                 && juce::Time::getMillisecondCounter() < deadline)
            {
                socket.waitUntilReady (false, 50);
                continue;
            }

            if (written <= 0)
                return false;

            bytes += written;
            numBytes -= (size_t) written;
        }

        return true;
    }

    /** The request's path, or empty when no whole request head came in time. */
    juce::String readRequestPath (juce::StreamingSocket& socket)
    {
        juce::MemoryBlock head;
        const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) requestTimeoutMs;

        while (head.toString().indexOf ("\r\n\r\n") < 0)
        {
            if ((int) head.getSize() >= maxRequestBytes || juce::Time::getMillisecondCounter() > deadline)
                return {};

            if (socket.waitUntilReady (true, 50) <= 0)
                continue;

            char chunk[1024];
            const auto numRead = socket.read (chunk, (int) sizeof (chunk), false);

            if (numRead <= 0)
                return {};

            head.append (chunk, (size_t) numRead);
        }

        const auto requestLine = head.toString().upToFirstOccurrenceOf ("\r\n", false, false);
        const auto target = requestLine.fromFirstOccurrenceOf (" ", false, false)
                                       .upToFirstOccurrenceOf (" ", false, false);

        return target.upToFirstOccurrenceOf ("?", false, false);
    }
}

//==============================================================================
class LocalHttpServer::Worker final : public juce::Thread
{
public:
    explicit Worker (LocalHttpServer& s) : juce::Thread ("Local HTTP server"), server (s) {}

    void run() override
    {
        while (! threadShouldExit())
        {
            if (server.listener.waitUntilReady (true, acceptPollMs) <= 0)
                continue;

            if (auto* connection = server.listener.waitForNextConnection())
                server.handle (std::unique_ptr<juce::StreamingSocket> (connection));
        }
    }

private:
    LocalHttpServer& server;
};

//==============================================================================
LocalHttpServer::LocalHttpServer()
{
    if (listener.createListener (0, "127.0.0.1"))
    {
        port = listener.getBoundPort();
        worker = std::make_unique<Worker> (*this);
        worker->startThread();
    }
}

LocalHttpServer::~LocalHttpServer()
{
    if (worker != nullptr)
    {
        worker->signalThreadShouldExit();
        worker->waitForThreadToExit (-1);
    }

    heldOpen.clear();
    listener.close();
}

juce::String LocalHttpServer::getBaseUrl() const
{
    return port > 0 ? "http://127.0.0.1:" + juce::String (port) + "/" : juce::String();
}

//==============================================================================
void LocalHttpServer::serve (const juce::String& path, int status, const juce::MemoryBlock& body)
{
    Route route;
    route.status = status;
    route.body = body;
    setRoute (path, std::move (route));
}

void LocalHttpServer::serve (const juce::String& path, int status, const juce::String& body)
{
    serve (path, status, juce::MemoryBlock (body.toRawUTF8(), body.getNumBytesAsUTF8()));
}

void LocalHttpServer::redirect (const juce::String& path, const juce::String& location, int status)
{
    Route route;
    route.kind = Route::Kind::redirect;
    route.status = status;
    route.location = location;
    setRoute (path, std::move (route));
}

void LocalHttpServer::stall (const juce::String& path)
{
    Route route;
    route.kind = Route::Kind::stall;
    setRoute (path, std::move (route));
}

juce::StringArray LocalHttpServer::getRequestedPaths() const
{
    const juce::ScopedLock sl (lock);
    return requestedPaths;
}

void LocalHttpServer::setRoute (const juce::String& path, Route route)
{
    const juce::ScopedLock sl (lock);
    routes[path.startsWithChar ('/') ? path : "/" + path] = std::move (route);
}

//==============================================================================
void LocalHttpServer::handle (std::unique_ptr<juce::StreamingSocket> connection)
{
    const auto path = readRequestPath (*connection);

    if (path.isEmpty())
        return;

    Route route;
    route.status = 404;
    route.body = juce::MemoryBlock ("Not found", 9);

    {
        const juce::ScopedLock sl (lock);
        requestedPaths.add (path);

        const auto found = routes.find (path);

        if (found != routes.end())
            route = found->second;
    }

    juce::String head;
    head << "HTTP/1.1 " << route.status << " " << reasonPhrase (route.status) << "\r\n"
         << "Connection: close\r\n";

    switch (route.kind)
    {
        case Route::Kind::body:
            head << "Content-Type: application/octet-stream\r\n"
                 << "Content-Length: " << (juce::int64) route.body.getSize() << "\r\n\r\n";
            writeAll (*connection, head.toRawUTF8(), head.getNumBytesAsUTF8());
            writeAll (*connection, route.body.getData(), route.body.getSize());
            break;

        case Route::Kind::redirect:
            head << "Location: " << route.location << "\r\n"
                 << "Content-Length: 0\r\n\r\n";
            writeAll (*connection, head.toRawUTF8(), head.getNumBytesAsUTF8());
            break;

        case Route::Kind::stall:
            // A body is promised and never sent; the connection stays open so the
            // client sees a server that has stopped, not one that has gone.
            head << "Content-Type: application/octet-stream\r\n"
                 << "Content-Length: 4096\r\n\r\n";
            writeAll (*connection, head.toRawUTF8(), head.getNumBytesAsUTF8());

            {
                const juce::ScopedLock sl (lock);
                heldOpen.add (connection.release());
            }
            break;
    }
}

} // namespace testsupport
