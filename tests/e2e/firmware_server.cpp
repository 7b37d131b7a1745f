// A firmware server on 127.0.0.1 for the end-to-end test of the upgrader: it
// serves a firmware list with one Dalvi V+ entry and that entry's image, and
// runs until it is sent SIGTERM or SIGINT.
//
// usage: travik_firmware_server IMAGE BASE_URL_FILE
//
// The base address ("http://127.0.0.1:<port>/") is written to BASE_URL_FILE once
// the server listens; the requested paths go to standard output as they come.

#include "tests/support/LocalHttpServer.h"

#include <csignal>
#include <iostream>

namespace
{
    volatile std::sig_atomic_t stopRequested = 0;

    void requestStop (int)
    {
        stopRequested = 1;
    }

    const char* const imagePath = "fw/dalvi_v_plus_1_3.bin";
}

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: " << argv[0] << " IMAGE BASE_URL_FILE\n";
        return 2;
    }

    const juce::File image (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const juce::File baseUrlFile (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));

    juce::MemoryBlock imageData;

    if (! image.loadFileAsData (imageData))
    {
        std::cerr << "cannot read " << image.getFullPathName() << "\n";
        return 1;
    }

    std::signal (SIGTERM, requestStop);
    std::signal (SIGINT, requestStop);

    testsupport::LocalHttpServer server;

    if (server.getBaseUrl().isEmpty())
    {
        std::cerr << "no port to listen on\n";
        return 1;
    }

    server.serve ("/firmware.xml", 200,
                  juce::String ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<firmwares>\n")
                      + "  <firmware pid=\"161\" name=\"Dalvi R+\" version=\"2.0\" fw=\"fw/dalvi_r_plus_2_0.bin\"/>\n"
                      + "  <firmware pid=\"170\" name=\"Dalvi V+\" version=\"1.3\" fw=\"" + imagePath + "\"/>\n"
                      + "</firmwares>\n");
    server.serve (imagePath, 200, imageData);

    // Written in one go, so the test never reads half an address.
    if (! baseUrlFile.replaceWithText (server.getBaseUrl()))
    {
        std::cerr << "cannot write " << baseUrlFile.getFullPathName() << "\n";
        return 1;
    }

    int numReported = 0;

    while (stopRequested == 0)
    {
        juce::Thread::sleep (50);

        const auto paths = server.getRequestedPaths();

        for (; numReported < paths.size(); ++numReported)
            std::cout << paths[numReported] << std::endl;
    }

    return 0;
}
