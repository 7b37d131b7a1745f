#include "zorvane_core/Network.h"

#include <atomic>

namespace zorvane
{

namespace
{
    // A reserved example domain stands in for the maker's server until
    // ZORVANE_FIRMWARE_SERVER names the real one (or a test server).
    constexpr auto builtInServerBase = "https://firmware.example.com/zorvane/";
    constexpr auto serverEnvironmentVariable = "ZORVANE_FIRMWARE_SERVER";

    constexpr int maxRedirects = 5;
    constexpr int waitSliceMs = 32;
    constexpr int readChunkBytes = 1024;

    bool isHttpScheme (const juce::String& scheme)
    {
        return scheme.equalsIgnoreCase ("http") || scheme.equalsIgnoreCase ("https");
    }

    bool isHttpAddress (const juce::String& text)
    {
        return text.startsWithIgnoreCase ("http://") || text.startsWithIgnoreCase ("https://");
    }

    //==============================================================================
    /** One fetch, run on its own thread so that the caller can give up on it.

        JUCE's HTTP client blocks in connect() until the first body bytes arrive, and
        in read() until its buffer is full, so a server that stops sending would hold
        the caller for as long as libcurl cares to wait. Here the caller watches the
        thread's last sign of life and cancels the stream instead.
    */
    class FetchThread final : public juce::Thread
    {
    public:
        enum class Outcome
        {
            pending,
            ok,
            noConnection,
            refusedRedirect,
            tooManyRedirects,
            badStatus,
            tooLarge,
            broken,
            abandoned
        };

        FetchThread (const juce::URL& u, juce::int64 limit, bool shouldReadBody, int timeoutMs)
            : juce::Thread ("Firmware server fetch"),
              startUrl (u), maxBytes (limit), readBody (shouldReadBody), connectionTimeoutMs (timeoutMs)
        {
        }

        ~FetchThread() override
        {
            abandon();
            waitForThreadToExit (-1);
        }

        void run() override
        {
            settle (fetch());
            finished.signal();
        }

        /** Stops the transfer from another thread; run() returns soon after. */
        void abandon()
        {
            settle (Outcome::abandoned);
            signalThreadShouldExit();

            const juce::ScopedLock sl (streamLock);

            if (currentStream != nullptr)
                currentStream->cancel();
        }

        juce::uint32 millisecondsSinceLastActivity() const
        {
            return juce::Time::getMillisecondCounter() - lastActivity.load();
        }

        std::atomic<Outcome> outcome { Outcome::pending };
        juce::WaitableEvent finished { true };

        // Written by the thread before `finished` is signalled, read afterwards.
        juce::MemoryBlock body;
        int statusCode = 0;

    private:
        void touch() { lastActivity = juce::Time::getMillisecondCounter(); }

        // Whichever comes first, the end of the transfer or the caller giving up, decides.
        void settle (Outcome result)
        {
            auto expected = Outcome::pending;
            outcome.compare_exchange_strong (expected, result);
        }

        Outcome fetch()
        {
            auto url = startUrl;

            for (int hop = 0;; ++hop)
            {
                juce::WebInputStream stream (url, false);
                stream.withConnectionTimeout (connectionTimeoutMs);
                stream.withNumRedirectsToFollow (0);

                {
                    const juce::ScopedLock sl (streamLock);

                    if (threadShouldExit())
                        return Outcome::abandoned;

                    currentStream = &stream;
                }

                const auto result = transfer (stream, url);

                {
                    const juce::ScopedLock sl (streamLock);
                    currentStream = nullptr;
                }

                if (result != Outcome::pending)
                    return result;

                if (hop >= maxRedirects)
                    return Outcome::tooManyRedirects;
            }
        }

        // Returns pending (with url changed) when a redirect is to be followed.
        Outcome transfer (juce::WebInputStream& stream, juce::URL& url)
        {
            const auto connected = stream.connect (nullptr);
            touch();

            if (threadShouldExit())
                return Outcome::abandoned;

            statusCode = stream.getStatusCode();

            // A status means the server answered; whether the body arrives whole
            // is only known once it has been read.
            if (! connected || statusCode <= 0)
                return Outcome::noConnection;

            if (statusCode >= 300 && statusCode < 400)
            {
                const auto location = stream.getResponseHeaders().getValue ("Location", {});

                if (location.isEmpty())
                    return Outcome::badStatus;

                const auto next = Network::resolveLocation (url, location);

                if (! Network::isAllowedRedirect (url, next))
                    return Outcome::refusedRedirect;

                url = next;
                return Outcome::pending;
            }

            if (statusCode < 200 || statusCode >= 300)
                return Outcome::badStatus;

            if (! readBody)
                return Outcome::ok;

            juce::HeapBlock<char> chunk (readChunkBytes);

            for (;;)
            {
                // Once libcurl has failed, JUCE's read would go round without end.
                if (stream.isError())
                    return Outcome::broken;

                const auto numRead = stream.read (chunk.get(), readChunkBytes);
                touch();

                if (threadShouldExit())
                    return Outcome::abandoned;

                if (numRead <= 0)
                    break;

                if ((juce::int64) body.getSize() + numRead > maxBytes)
                    return Outcome::tooLarge;

                body.append (chunk.get(), (size_t) numRead);
            }

            // libcurl reports a connection that broke off before the promised length.
            return stream.isError() ? Outcome::broken : Outcome::ok;
        }

        const juce::URL startUrl;
        const juce::int64 maxBytes;
        const bool readBody;
        const int connectionTimeoutMs;

        std::atomic<juce::uint32> lastActivity { juce::Time::getMillisecondCounter() };
        juce::CriticalSection streamLock;
        juce::WebInputStream* currentStream = nullptr;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FetchThread)
    };

    juce::String describe (FetchThread::Outcome outcome, int statusCode)
    {
        switch (outcome)
        {
            case FetchThread::Outcome::ok:                return {};
            case FetchThread::Outcome::noConnection:      return "No connection to the server";
            case FetchThread::Outcome::refusedRedirect:   return "The server redirected to an address we don't follow";
            case FetchThread::Outcome::tooManyRedirects:  return "The server redirected too often";
            case FetchThread::Outcome::badStatus:         return "The server answered with status " + juce::String (statusCode);
            case FetchThread::Outcome::tooLarge:          return "The server's answer is too large";
            case FetchThread::Outcome::broken:            return "The transfer broke off";
            case FetchThread::Outcome::pending:
            case FetchThread::Outcome::abandoned:         break;
        }

        return "The server stopped answering";
    }

    /** Runs one fetch to its end, keeping the message loop alive meanwhile. */
    juce::Result runFetch (const juce::URL& url, juce::int64 maxBytes, bool readBody,
                           const Network::Settings& settings, juce::MemoryBlock* body)
    {
        auto& waits = settings.waits != nullptr ? *settings.waits : Waits::real();

        FetchThread fetch (url, maxBytes, readBody, settings.connectionTimeoutMs);
        const auto startTime = juce::Time::getMillisecondCounter();

        if (! fetch.startThread())
            return juce::Result::fail ("Could not start the transfer");

        while (! fetch.finished.wait (0))
        {
            waits.runMessageLoop (waitSliceMs);

            // Keeps a fake (instant) wait from spinning the processor.
            if (fetch.finished.wait (1))
                break;

            const auto elapsed = juce::Time::getMillisecondCounter() - startTime;

            if (fetch.millisecondsSinceLastActivity() > (juce::uint32) juce::jmax (0, settings.stallTimeoutMs)
                 || elapsed > (juce::uint32) juce::jmax (0, settings.totalTimeoutMs))
            {
                fetch.abandon();
                break;
            }
        }

        fetch.waitForThreadToExit (-1);

        const auto outcome = fetch.outcome.load();

        if (outcome != FetchThread::Outcome::ok)
            return juce::Result::fail (describe (outcome, fetch.statusCode));

        if (body != nullptr)
            body->swapWith (fetch.body);

        return juce::Result::ok();
    }
}

//==============================================================================
Network::Settings Network::Settings::standard()
{
    Settings settings;
    settings.serverBase = getFirmwareServerBase();
    return settings;
}

juce::String Network::getFirmwareServerBase()
{
    auto base = juce::SystemStats::getEnvironmentVariable (serverEnvironmentVariable, {}).trim();

    if (! isHttpAddress (base))
        return builtInServerBase;

    if (! base.endsWithChar ('/'))
        base << '/';

    return base;
}

bool Network::canConnectToWebsite (const juce::URL& url)
{
    return canConnectToWebsite (url, Settings::standard());
}

bool Network::canConnectToWebsite (const juce::URL& url, const Settings& settings)
{
    return runFetch (url, 0, false, settings, nullptr).wasOk();
}

juce::Result Network::fetchBody (const juce::URL& url, juce::int64 maxBytes,
                                 juce::MemoryBlock& body, const Settings& settings)
{
    return runFetch (url, maxBytes, true, settings, &body);
}

juce::Result Network::downloadFirmwareImage (const juce::URL& url, const juce::File& target,
                                             const Settings& settings)
{
    const auto failed = juce::Result::fail ("Could not download firmware file");

    // An error page or a truncated image must never reach the bootloader, so
    // anything that isn't a whole image of a possible size stops here.
    juce::MemoryBlock image;

    if (fetchBody (url, maxFirmwareImageBytes, image, settings).failed())
        return failed;

    if ((juce::int64) image.getSize() < minFirmwareImageBytes)
        return failed;

    if (! target.replaceWithData (image.getData(), image.getSize()))
        return failed;

    return juce::Result::ok();
}

//==============================================================================
bool Network::isAllowedRedirect (const juce::URL& from, const juce::URL& to)
{
    const auto toScheme = to.getScheme();

    if (! isHttpScheme (toScheme) || to.getDomain().isEmpty())
        return false;

    // A list or an image fetched over https must not come in the clear in the end.
    return ! from.getScheme().equalsIgnoreCase ("https") || toScheme.equalsIgnoreCase ("https");
}

juce::URL Network::resolveLocation (const juce::URL& current, const juce::String& location)
{
    const auto target = location.trim();

    if (target.isEmpty())
        return {};

    // An absolute address carries a scheme before any path, query or fragment.
    const auto colon = target.indexOfChar (':');

    if (colon > 0 && target.substring (0, colon).containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-."))
        return juce::URL (target);

    const auto scheme = current.getScheme();

    if (target.startsWith ("//"))
        return juce::URL (scheme + ":" + target);

    auto base = current.toString (false);
    base = base.upToFirstOccurrenceOf ("?", false, false).upToFirstOccurrenceOf ("#", false, false);

    const auto startOfHost = base.indexOf ("://") + 3;
    const auto startOfPath = base.indexOfChar (startOfHost, '/');
    const auto origin = startOfPath < 0 ? base : base.substring (0, startOfPath);

    if (target.startsWithChar ('/'))
        return juce::URL (origin + target);

    const auto directory = startOfPath < 0 ? origin + "/"
                                           : base.upToLastOccurrenceOf ("/", true, false);
    return juce::URL (directory + target);
}

} // namespace zorvane
