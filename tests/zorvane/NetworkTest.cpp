#include "tests/support/LocalHttpServer.h"
#include "tests/support/TempFolder.h"
#include "zorvane_core/Network.h"
#include "zorvane_core/Product.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using testsupport::LocalHttpServer;
using zorvane::Network;

namespace
{
    const char* const firmwareList =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<firmwares>\n"
        "  <firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.2\" fw=\"dalvi/dalvi_v_plus_1_2.bin\"/>\n"
        "  <firmware pid=\"161\" name=\"Dalvi R+\" version=\"2.0\" fw=\"dalvi_r_plus_2_0.bin\"/>\n"
        "  <firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.3\" fw=\"dalvi/dalvi_v_plus_1_3.bin\"><notes>Faster</notes></firmware>\n"
        "  <firmware name=\"Without pid\" version=\"0.1\" fw=\"none.bin\"/>\n"
        "</firmwares>\n";

    const char* const specialList =
        "<list>"
        "<entry pid=\"94\" name=\"OstraPro R\" version=\"3.1\" fw=\"ostra_pro_r_3_1.bin\"/>"
        "<entry pid=\"130\" name=\"OstraPro RS\" version=\"1.0\" fw=\"ostra_pro_rs_1_0.bin\"/>"
        "</list>";

    Network::Settings settingsFor (const LocalHttpServer& server)
    {
        Network::Settings settings;
        settings.serverBase = server.getBaseUrl();
        settings.connectionTimeoutMs = 2000;
        settings.stallTimeoutMs = 300;
        settings.totalTimeoutMs = 20000;
        return settings;
    }

    juce::MemoryBlock bytes (size_t size, int seed)
    {
        juce::MemoryBlock block (size);
        juce::Random random (seed);

        for (size_t i = 0; i < size; ++i)
            block[i] = (char) random.nextInt (256);

        return block;
    }

    juce::StringArray versionsIn (const juce::ValueTree& tree)
    {
        juce::StringArray versions;

        for (const auto& entry : tree)
            versions.add (entry["version"].toString());

        return versions;
    }

    /** Sets an environment variable for one scope, putting back what was there. */
    class ScopedEnvironmentVariable
    {
    public:
        ScopedEnvironmentVariable (const char* n, const char* value) : name (n)
        {
            if (auto* old = std::getenv (name))
                previous = old;

            hadValue = std::getenv (name) != nullptr;

            if (value != nullptr)
                setenv (name, value, 1);
            else
                unsetenv (name);
        }

        ~ScopedEnvironmentVariable()
        {
            if (hadValue)
                setenv (name, previous.toRawUTF8(), 1);
            else
                unsetenv (name);
        }

    private:
        const char* name;
        juce::String previous;
        bool hadValue = false;
    };
}

//==============================================================================
TEST (FirmwareList, ListFileAndEntriesFollowTheProduct)
{
    struct Case
    {
        int pid;
        const char* path;
        const char* rootType;
        juce::StringArray versions;
    };

    const Case cases[] =
    {
        {  94, "/firmware-special.xml", "list",      { "3.1" } },
        { 130, "/firmware-special.xml", "list",      { "1.0" } },
        { 170, "/firmware.xml",         "firmwares", { "1.2", "1.3" } },
        { 161, "/firmware.xml",         "firmwares", { "2.0" } }
    };

    for (const auto& c : cases)
    {
        LocalHttpServer server;
        server.serve ("/firmware.xml", 200, juce::String (firmwareList));
        server.serve ("/firmware-special.xml", 200, juce::String (specialList));

        juce::ValueTree tree ("firmwares");
        const auto result = zorvane::Product::fetchAvailableFirmwares (c.pid, tree, settingsFor (server));

        ASSERT_TRUE (result.wasOk()) << c.pid << ": " << result.getErrorMessage();
        EXPECT_EQ (tree.getType().toString(), c.rootType) << c.pid;
        EXPECT_EQ (versionsIn (tree), c.versions) << c.pid;

        // The probe and the read, both on the product's list.
        EXPECT_EQ (server.getRequestedPaths(), juce::StringArray ({ c.path, c.path })) << c.pid;
    }
}

TEST (FirmwareList, EntriesKeepEverythingTheServerSent)
{
    LocalHttpServer server;
    server.serve ("/firmware.xml", 200, juce::String (firmwareList));

    juce::ValueTree tree ("firmwares");
    ASSERT_TRUE (zorvane::Product::fetchAvailableFirmwares (170, tree, settingsFor (server)).wasOk());

    ASSERT_EQ (tree.getNumChildren(), 2);
    EXPECT_EQ (tree.getChild (0)["fw"].toString(), "dalvi/dalvi_v_plus_1_2.bin");
    EXPECT_EQ (tree.getChild (1)["name"].toString(), "Dalvi V+");
    EXPECT_EQ (tree.getChild (1).getChild (0).getType().toString(), "notes");
}

TEST (FirmwareList, FailuresLeaveTheTreeAsItWas)
{
    const auto unavailable = "The firmware server is currently unavailable.";
    const auto badAnswer = "Error connecting to server";

    juce::String oversized ("<firmwares>");
    while (oversized.length() <= (int) Network::maxFirmwareListBytes)
        oversized << "<firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.0\" fw=\"dalvi_v_plus.bin\"/>\n";
    oversized << "</firmwares>";

    struct Case
    {
        const char* name;
        int pid;
        std::function<void (LocalHttpServer&)> setUp;
        const char* message;
        bool bareRoot;
    };

    const Case cases[] =
    {
        { "unknown product", 2000, [] (auto& s) { s.serve ("/firmware.xml", 200, juce::String (firmwareList)); },
          "Cannot fetch firmware details for Unknown product", false },
        { "negative product", -1, [] (auto& s) { s.serve ("/firmware.xml", 200, juce::String (firmwareList)); },
          "Cannot fetch firmware details for Unknown product", false },
        { "status 404", 170, [] (auto&) {}, unavailable, false },
        { "status 500", 170, [] (auto& s) { s.serve ("/firmware.xml", 500, juce::String (firmwareList)); }, unavailable, false },
        { "stalled", 170, [] (auto& s) { s.stall ("/firmware.xml"); }, unavailable, false },
        { "redirect to a local file", 170, [] (auto& s) { s.redirect ("/firmware.xml", "file:///etc/hostname"); }, unavailable, false },
        { "endless redirects", 170, [] (auto& s) { s.redirect ("/firmware.xml", "/firmware.xml"); }, unavailable, false },
        { "unclosed element", 170, [] (auto& s) { s.serve ("/firmware.xml", 200, "<firmwares><firmware pid=\"170\"></firmwares>"); }, badAnswer, false },
        { "not XML", 170, [] (auto& s) { s.serve ("/firmware.xml", 200, "Service temporarily down"); }, badAnswer, false },
        { "empty body", 170, [] (auto& s) { s.serve ("/firmware.xml", 200, juce::String()); }, badAnswer, false },
        { "entity expansion", 170, [] (auto& s) { s.serve ("/firmware.xml", 200,
              "<?xml version=\"1.0\"?><!DOCTYPE f [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
              "<firmwares><firmware pid=\"170\" name=\"&b;\"/></firmwares>"); }, badAnswer, false },
        { "oversized", 170, [oversized] (auto& s) { s.serve ("/firmware.xml", 200, oversized); }, badAnswer, false },
        { "no entry for the product", 186, [] (auto& s) { s.serve ("/firmware.xml", 200, juce::String (firmwareList)); },
          "No firmware matches in the server, please try again manually!", true }
    };

    for (const auto& c : cases)
    {
        LocalHttpServer server;
        c.setUp (server);

        juce::ValueTree tree ("firmwares");
        tree.appendChild (juce::ValueTree ("earlier"), nullptr);
        const auto original = tree;

        const auto result = zorvane::Product::fetchAvailableFirmwares (c.pid, tree, settingsFor (server));

        EXPECT_EQ (result.getErrorMessage(), c.message) << c.name;

        if (c.bareRoot)
        {
            EXPECT_EQ (tree.getType().toString(), "firmwares") << c.name;
            EXPECT_EQ (tree.getNumChildren(), 0) << c.name;
        }
        else
        {
            EXPECT_EQ (tree, original) << c.name;
            EXPECT_EQ (tree.getNumChildren(), 1) << c.name;
        }

        if (c.pid == 2000 || c.pid < 0)
        {
            EXPECT_TRUE (server.getRequestedPaths().isEmpty()) << c.name;
        }
    }
}

TEST (FirmwareList, RedirectsOverHttpAreFollowed)
{
    LocalHttpServer server;
    server.redirect ("/firmware.xml", "lists/current.xml", 301);
    server.redirect ("/lists/current.xml", server.getBaseUrl() + "lists/v2.xml", 307);
    server.serve ("/lists/v2.xml", 200, juce::String (firmwareList));

    juce::ValueTree tree ("firmwares");
    const auto result = zorvane::Product::fetchAvailableFirmwares (170, tree, settingsFor (server));

    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_EQ (versionsIn (tree), juce::StringArray ({ "1.2", "1.3" }));
}

TEST (FirmwareList, ServerFromTheEnvironment)
{
    LocalHttpServer server;
    server.serve ("/firmware.xml", 200, juce::String (firmwareList));

    // Without the trailing "/", which is added.
    const ScopedEnvironmentVariable env ("ZORVANE_FIRMWARE_SERVER", server.getBaseUrl().dropLastCharacters (1).toRawUTF8());

    juce::ValueTree tree ("firmwares");
    const auto result = zorvane::Product::fetchAvailableFirmwares (170, tree);

    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_EQ (tree.getNumChildren(), 2);
}

TEST (FirmwareServer, BaseAddress)
{
    struct Case
    {
        const char* environment;
        const char* expected;     // nullptr: the built-in one
    };

    const Case cases[] =
    {
        { nullptr,                         nullptr },
        { "",                              nullptr },
        { "ftp://mirror.example.org/fw/",  nullptr },
        { "mirror.example.org",            nullptr },
        { "https://mirror.example.org/fw", "https://mirror.example.org/fw/" },
        { " http://127.0.0.1:8080/ ",      "http://127.0.0.1:8080/" }
    };

    for (const auto& c : cases)
    {
        const ScopedEnvironmentVariable env ("ZORVANE_FIRMWARE_SERVER", c.environment);
        const auto base = Network::getFirmwareServerBase();

        if (c.expected != nullptr)
        {
            EXPECT_EQ (base, c.expected);
        }
        else
        {
            EXPECT_TRUE (base.startsWith ("https://") && base.endsWithChar ('/')) << base;
            EXPECT_EQ (Network::Settings::standard().serverBase, base);
        }
    }
}

//==============================================================================
TEST (FirmwareServer, Probe)
{
    struct Case
    {
        const char* name;
        std::function<void (LocalHttpServer&)> setUp;
        bool reachable;
    };

    const Case cases[] =
    {
        { "status 200",  [] (auto& s) { s.serve ("/probe", 200, "ok"); },         true },
        { "status 204",  [] (auto& s) { s.serve ("/probe", 204, juce::String()); }, true },
        { "status 404",  [] (auto&) {},                                            false },
        { "status 503",  [] (auto& s) { s.serve ("/probe", 503, "busy"); },       false },
        { "stalled",     [] (auto& s) { s.stall ("/probe"); },                     false },
        { "redirected",  [] (auto& s) { s.redirect ("/probe", "/here"); s.serve ("/here", 200, "ok"); }, true }
    };

    for (const auto& c : cases)
    {
        LocalHttpServer server;
        c.setUp (server);

        EXPECT_EQ (Network::canConnectToWebsite (juce::URL (server.getBaseUrl() + "probe"), settingsFor (server)), c.reachable) << c.name;
    }

    // Nobody listening.
    juce::StreamingSocket closedPort;
    ASSERT_TRUE (closedPort.createListener (0, "127.0.0.1"));
    const auto port = closedPort.getBoundPort();
    closedPort.close();

    Network::Settings settings;
    settings.stallTimeoutMs = 300;
    EXPECT_FALSE (Network::canConnectToWebsite (juce::URL ("http://127.0.0.1:" + juce::String (port) + "/"), settings));
}

TEST (FirmwareDownload, OnlyWholeImagesOfAPossibleSize)
{
    struct Case
    {
        const char* name;
        std::function<void (LocalHttpServer&, const juce::MemoryBlock&)> setUp;
        size_t imageSize;
        bool ok;
    };

    const auto serveImage = [] (int status)
    {
        return [status] (LocalHttpServer& s, const juce::MemoryBlock& image) { s.serve ("/fw/image.bin", status, image); };
    };

    const Case cases[] =
    {
        { "image",                serveImage (200),  1000, true },
        { "smallest image",       serveImage (200),   512, true },
        { "largest image",        serveImage (200), 63487, true },
        { "too small",            serveImage (200),   511, false },
        { "too large",            serveImage (200), 63488, false },
        { "error page, 500",      serveImage (500),  1000, false },
        { "error page, 404",      serveImage (404),  1000, false },
        { "nothing there",        [] (auto&, auto&) {},  1000, false },
        { "stalled",              [] (auto& s, auto&) { s.stall ("/fw/image.bin"); }, 1000, false },
        { "redirected",           [] (auto& s, auto& image) { s.redirect ("/fw/image.bin", "/cdn/image.bin"); s.serve ("/cdn/image.bin", 200, image); }, 2000, true },
        { "redirected to a file", [] (auto& s, auto&) { s.redirect ("/fw/image.bin", "file:///etc/hostname"); }, 1000, false }
    };

    for (const auto& c : cases)
    {
        LocalHttpServer server;
        testsupport::TempFolder temp;

        const auto image = bytes (c.imageSize, (int) c.imageSize);
        c.setUp (server, image);

        const auto target = temp / "download.bin";
        ASSERT_TRUE (target.replaceWithText ("earlier content"));

        const auto result = Network::downloadFirmwareImage (juce::URL (server.getBaseUrl() + "fw/image.bin"), target, settingsFor (server));

        if (c.ok)
        {
            ASSERT_TRUE (result.wasOk()) << c.name << ": " << result.getErrorMessage();

            juce::MemoryBlock written;
            ASSERT_TRUE (target.loadFileAsData (written));
            EXPECT_EQ (written, image) << c.name;
        }
        else
        {
            EXPECT_EQ (result.getErrorMessage(), "Could not download firmware file") << c.name;
            EXPECT_EQ (target.loadFileAsString(), "earlier content") << c.name;
        }
    }
}

//==============================================================================
TEST (FirmwareServer, RedirectPolicy)
{
    struct Case
    {
        const char* from;
        const char* to;
        bool allowed;
    };

    const Case cases[] =
    {
        { "https://firmware.example.com/a.xml", "https://cdn.example.net/a.xml", true },
        { "https://firmware.example.com/a.xml", "HTTPS://cdn.example.net/a.xml", true },
        { "https://firmware.example.com/a.xml", "http://firmware.example.com/a.xml", false },
        { "https://firmware.example.com/a.xml", "file:///etc/passwd", false },
        { "https://firmware.example.com/a.xml", "ftp://firmware.example.com/a.xml", false },
        { "https://firmware.example.com/a.xml", "https://", false },
        { "http://127.0.0.1:8080/a.xml",        "http://127.0.0.1:8080/b.xml", true },
        { "http://127.0.0.1:8080/a.xml",        "https://firmware.example.com/a.xml", true },
        { "http://127.0.0.1:8080/a.xml",        "gopher://127.0.0.1/", false },
        { "http://127.0.0.1:8080/a.xml",        "", false }
    };

    for (const auto& c : cases)
        EXPECT_EQ (Network::isAllowedRedirect (juce::URL (c.from), juce::URL (c.to)), c.allowed) << c.from << " -> " << c.to;
}

TEST (FirmwareServer, RedirectLocations)
{
    struct Case
    {
        const char* current;
        const char* location;
        const char* expected;
    };

    const Case cases[] =
    {
        { "https://firmware.example.com/zorvane/firmware.xml", "/other/list.xml",            "https://firmware.example.com/other/list.xml" },
        { "https://firmware.example.com/zorvane/firmware.xml", "v2/list.xml",                "https://firmware.example.com/zorvane/v2/list.xml" },
        { "https://firmware.example.com/zorvane/firmware.xml", "//cdn.example.net/list.xml", "https://cdn.example.net/list.xml" },
        { "https://firmware.example.com/zorvane/firmware.xml", "http://cdn.example.net/x",   "http://cdn.example.net/x" },
        { "https://firmware.example.com",                      "list.xml",                   "https://firmware.example.com/list.xml" },
        { "http://127.0.0.1:8080/a/b.xml",                     "/c.xml",                     "http://127.0.0.1:8080/c.xml" },
        { "http://127.0.0.1:8080/a/b.xml",                     "  c.xml ",                   "http://127.0.0.1:8080/a/c.xml" }
    };

    for (const auto& c : cases)
        EXPECT_EQ (Network::resolveLocation (juce::URL (c.current), c.location).toString (true), c.expected) << c.location;
}
