// travik: the command-line front of the Dalvi V+ editor's own code. Everything it
// prints comes from the same model, file, transfer and device code the editor
// uses; this file only reads arguments and prints.

#include "app/device/ThisProduct.h"
#include "app/files/MapFile.h"
#include "app/model/Arrays.h"
#include "tools/simdevice/SimulatedDalvi.h"
#include "zorvane_core/Product.h"
#include "zorvane_core/VirtualMidiBackend.h"
#include "zorvane_firmware/FirmwareMessages.h"
#include "zorvane_firmware/MidiInputHandler.h"

#include <juce_events/juce_events.h>

#include <iostream>
#include <optional>

namespace
{
    constexpr int exitOk = 0, exitFailed = 1, exitUsage = 2;

    const char* const usageText = R"(usage: travik COMMAND ...

Commands:
  factory MODE [-o FILE]      the factory map of MODE as a map file ("Save File"),
                              to FILE or standard output
  bytes MODE|FILE             the exact transfer of the factory map of MODE, or of a
                              map file: one MIDI message per line, bytes in hex
  show MODE|FILE              the 50 controls in panel order: id, aid, type, channel,
                              value, name and the two bytes the device receives
  check FILE                  "OK" for a proper map file, else one line per problem
  ports                       the MIDI output ports, one per line
  send MODE|FILE --port NAME  sends the map to a MIDI output port
  send MODE|FILE --simulate   sends it to a simulated Dalvi V+ and prints what the
                              device decoded
  recognise NAME              the product a MIDI port name belongs to: id and name
  firmware list [--pid N] [--server URL]
                              the firmware versions the server offers for product N
                              (default 170): "name vVERSION", a tab, the file's URL
  firmware upgrade IMAGE (--port NAME | --simulate) [--pid N]
                              uploads a firmware image to a device's bootloader port;
                              --simulate puts a simulated Dalvi V+ into its upgrade
                              mode first and prints "sha256 HEX SIZE" of what its
                              bootloader wrote
  --help                      this text

MODE is 0 to 3 or a mode name: Mackie, Logic, "Pro Tools", "User Defined" (any
letter case). Exit status: 0 success, 1 the operation failed (the reason on
standard error), 2 usage error.
)";

    struct UsageError
    {
        juce::String message;
    };

    struct Failure
    {
        juce::String message;
    };

    //==============================================================================
    std::optional<CtMode> parseMode (const juce::String& text)
    {
        const auto t = text.trim();

        if (t.length() == 1 && t.containsOnly ("0123"))
            return CtMode ((CtMode::Type) t.getIntValue());

        for (int i = 0; i < CtMode::numTypes; ++i)
            if (t.equalsIgnoreCase (CtMode::slugForType (i)))
                return CtMode ((CtMode::Type) i);

        return std::nullopt;
    }

    /** A device model of its own, with settings in a folder that goes with it and
        the simulated device on a virtual bus, so the tool never touches the
        editor's settings or needs hardware.
    */
    class Session
    {
    public:
        explicit Session (zorvane::MidiBackend* realMidi = nullptr, bool realWaits = false)
        {
            Defa::fillPitchNames();

            DalviPlus::Environment env;
            env.settingsFolder = settingsFolder.getFile();
            env.settingsFolder.createDirectory();
            env.midi = realMidi != nullptr ? realMidi : &bus;
            env.waits = realWaits ? &zorvane::Waits::real() : &noWaits;
            DalviPlus::createInstance (env);
        }

        ~Session()
        {
            DalviPlus::singletonHolder.deleteInstance();
            settingsFolder.getFile().deleteRecursively();
        }

        DalviPlus& model() const { return *DalviPlus::singletonHolder.get(); }

        /** Makes MODE current, or loads FILE (which makes its mode current). */
        void select (const juce::String& modeOrFile)
        {
            if (const auto mode = parseMode (modeOrFile))
            {
                model().setCtMode (*mode);
                return;
            }

            const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (modeOrFile);

            if (! file.existsAsFile())
                throw UsageError { "not a mode and no such file: " + modeOrFile };

            const auto result = model().openFile (file);

            if (result.failed())
                throw Failure { result.getErrorMessage() };
        }

        void sendToSimulator()
        {
            model().setCurrentOutputDevice (simulator.getPortName());
            const auto result = model().sendCurrentMapping();

            if (result.failed())
                throw Failure { result.getErrorMessage() };
        }

        zorvane::VirtualMidiBackend bus;
        SimulatedDalvi simulator { bus };

    private:
        struct NoWaits final : zorvane::Waits
        {
            void sleep (int) override {}
            void runMessageLoop (int) override {}
        };

        NoWaits noWaits;
        juce::TemporaryFile settingsFolder;
    };

    juce::String hexBytes (const juce::uint8* bytes, size_t size)
    {
        juce::StringArray parts;

        for (size_t i = 0; i < size; ++i)
            parts.add (juce::String::toHexString (bytes[i]).paddedLeft ('0', 2).toUpperCase());

        return parts.joinIntoString (" ");
    }

    //==============================================================================
    int runFactory (const juce::StringArray& args)
    {
        if (args.size() != 1 && ! (args.size() == 3 && args[1] == "-o"))
            throw UsageError { "usage: travik factory MODE [-o FILE]" };

        const auto mode = parseMode (args[0]);

        if (! mode)
            throw UsageError { "not a mode: " + args[0] };

        Session session;
        session.model().setCtMode (*mode);

        if (args.size() == 3)
        {
            const auto result = session.model().saveCurrentMapping (juce::File::getCurrentWorkingDirectory().getChildFile (args[2]));

            if (result.failed())
                throw Failure { result.getErrorMessage() };

            return exitOk;
        }

        std::cout << MapFile::toText (session.model().getCurrentMap().getTree()) << std::flush;
        return exitOk;
    }

    int runBytes (const juce::StringArray& args)
    {
        if (args.size() != 1)
            throw UsageError { "usage: travik bytes MODE|FILE" };

        Session session;
        session.select (args[0]);
        session.sendToSimulator();

        for (const auto& message : session.simulator.getReceivedMessages())
            std::cout << hexBytes (message.data(), message.size()) << "\n";

        return exitOk;
    }

    int runShow (const juce::StringArray& args)
    {
        if (args.size() != 1)
            throw UsageError { "usage: travik show MODE|FILE" };

        Session session;
        session.select (args[0]);
        session.sendToSimulator();

        const auto map = session.model().getCurrentMap();
        const int mode = map.getCtMode();
        const auto received = session.simulator.getMapping();

        std::cout << "mode: " << CtMode::slugForType (mode) << " (" << CtMode::nameForType (mode) << ")\n";
        std::cout << juce::String ("id").paddedRight (' ', 4) << juce::String ("aid").paddedRight (' ', 5)
                  << juce::String ("type").paddedRight (' ', 7) << juce::String ("chan").paddedRight (' ', 6)
                  << juce::String ("value").paddedRight (' ', 7) << juce::String ("name").paddedRight (' ', 28)
                  << "bytes\n";

        for (int id = 1; id <= 50; ++id)
        {
            const auto control = map.getControlById (id);
            const auto aid = aids[id - 1];
            const int value = control[Tags::value];
            const auto code = Defa::getMsgType (mode, id);
            const auto sel = Defa::selForval2 (mode, 0, value);
            const juce::String name (sel >= 0 ? Defa::getName3 (mode, 0, sel, code) : "");
            const auto& entry = received.entries[(size_t) aid];

            std::cout << juce::String (id).paddedRight (' ', 4) << juce::String (aid).paddedRight (' ', 5)
                      << control[Tags::type].toString().paddedRight (' ', 7)
                      << control[Tags::chan].toString().paddedRight (' ', 6)
                      << juce::String (value).paddedRight (' ', 7)
                      << name.trimStart().paddedRight (' ', 28)
                      << hexBytes (entry.data(), entry.size()) << "\n";
        }

        return exitOk;
    }

    int runCheck (const juce::StringArray& args)
    {
        if (args.size() != 1)
            throw UsageError { "usage: travik check FILE" };

        const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (args[0]);
        const auto problems = MapFile::checkFile (file);

        if (problems.isEmpty())
        {
            std::cout << "OK\n";
            return exitOk;
        }

        for (const auto& problem : problems)
            std::cout << problem << "\n";

        return exitFailed;
    }

    int runPorts (const juce::StringArray& args)
    {
        if (! args.isEmpty())
            throw UsageError { "usage: travik ports" };

        for (const auto& name : zorvane::MidiPorts::get().getOutputNames())
            std::cout << name << "\n";

        return exitOk;
    }

    int runSend (juce::StringArray args)
    {
        const auto simulate = args.contains ("--simulate");
        const auto portIndex = args.indexOf ("--port");
        juce::String port;

        if (simulate)
            args.removeString ("--simulate");

        if (portIndex >= 0)
        {
            if (portIndex + 1 >= args.size())
                throw UsageError { "--port needs a port name" };

            port = args[portIndex + 1];
            args.removeRange (portIndex, 2);
        }

        if (args.size() != 1 || simulate == (portIndex >= 0))
            throw UsageError { "usage: travik send MODE|FILE (--port NAME | --simulate)" };

        if (simulate)
        {
            Session session;
            session.select (args[0]);
            session.sendToSimulator();

            const auto mapping = session.simulator.getMapping();
            std::cout << "Done!\n";
            std::cout << "device decoded mode " << mapping.mode << " (" << CtMode::slugForType (mapping.mode) << ")"
                      << (mapping.hui ? ", HUI" : "") << "\n";

            for (int aid = 0; aid < SimulatedDalvi::numControls; ++aid)
            {
                const auto& entry = mapping.entries[(size_t) aid];
                std::cout << "control " << juce::String (cids[aid]).paddedLeft (' ', 2) << " (aid "
                          << juce::String (aid).paddedLeft (' ', 2) << "): " << hexBytes (entry.data(), entry.size()) << "\n";
            }

            return exitOk;
        }

        Session session (&zorvane::MidiPorts::get(), true);
        session.select (args[0]);
        session.model().setCurrentOutputDevice (port);
        const auto result = session.model().sendCurrentMapping();

        if (result.failed())
            throw Failure { result.getErrorMessage() };

        std::cout << "Done!\n";
        return exitOk;
    }

    //==============================================================================
    /** Takes "--name VALUE" out of the arguments; empty when it is not there. */
    juce::String takeOption (juce::StringArray& args, const juce::String& name)
    {
        const auto index = args.indexOf (name);

        if (index < 0)
            return {};

        if (index + 1 >= args.size())
            throw UsageError { name + " needs a value" };

        const auto value = args[index + 1];
        args.removeRange (index, 2);
        return value;
    }

    int takePid (juce::StringArray& args)
    {
        const auto text = takeOption (args, "--pid");

        if (text.isEmpty())
            return zorvane::Product::dalviVPlus;

        if (! text.containsOnly ("0123456789") || text.length() > 6)
            throw UsageError { "--pid needs a product id, not " + text };

        return text.getIntValue();
    }

    int runRecognise (const juce::StringArray& args)
    {
        if (args.size() != 1)
            throw UsageError { "usage: travik recognise NAME" };

        const auto product = zorvane::Product::fromDeviceName (args[0]);
        std::cout << (int) product.getPID() << " " << zorvane::Product::getName (product.getPID()) << "\n";
        return exitOk;
    }

    int runFirmwareList (juce::StringArray args)
    {
        const auto pid = takePid (args);
        auto settings = zorvane::Network::Settings::standard();
        const auto server = takeOption (args, "--server");

        if (server.isNotEmpty())
            settings.serverBase = server.endsWithChar ('/') ? server : server + "/";

        if (! args.isEmpty())
            throw UsageError { "usage: travik firmware list [--pid N] [--server URL]" };

        juce::ValueTree firmwares ("firmwares");
        const auto result = zorvane::Product::fetchAvailableFirmwares (pid, firmwares, settings);

        if (result.failed())
            throw Failure { result.getErrorMessage() };

        for (const auto& entry : firmwares)
            std::cout << entry["name"].toString() << " v" << entry["version"].toString() << "\t"
                      << settings.serverBase << entry["fw"].toString() << "\n";

        return exitOk;
    }

    /** Draws the transfer's progress on the terminal. */
    struct TerminalProgress final : zorvane::TransferObserver
    {
        void setProgress (double p) override
        {
            progress = p;
            draw();
        }

        void setStatusText (const juce::String& text) override
        {
            status = text;
            draw();
        }

        void draw() const
        {
            const auto filled = juce::jlimit (0, width, juce::roundToInt (progress * width));
            std::cerr << "\r[" << juce::String::repeatedString ("#", filled) << juce::String::repeatedString (" ", width - filled)
                      << "] " << juce::String (juce::roundToInt (progress * 100)).paddedLeft (' ', 3) << "% "
                      << status.paddedRight (' ', 16) << std::flush;
        }

        static constexpr int width = 40;
        double progress = 0;
        juce::String status;
    };

    int runFirmwareUpgrade (juce::StringArray args)
    {
        const auto pid = takePid (args);
        const auto simulate = args.contains ("--simulate");
        args.removeString ("--simulate");
        const auto hasPort = args.contains ("--port");
        const auto port = takeOption (args, "--port");

        if (args.size() != 1 || simulate == hasPort)
            throw UsageError { "usage: travik firmware upgrade IMAGE (--port NAME | --simulate) [--pid N]" };

        const auto image = juce::File::getCurrentWorkingDirectory().getChildFile (args[0]);

        if (! image.existsAsFile())
            throw Failure { "Wrong file or cannot find this file!" };

        zorvane::VirtualMidiBackend bus;
        std::unique_ptr<SimulatedDalvi> device;
        auto* midi = &zorvane::MidiPorts::get();
        auto bootPort = port;

        if (simulate)
        {
            // The device's normal port gets the upgrade request, as the wizard's
            // second step sends it; the device comes back as its bootloader.
            device = std::make_unique<SimulatedDalvi> (bus);
            midi = &bus;
            bootPort = zorvane::bootloaderPortName;

            if (auto out = zorvane::MidiPorts::openOutputNamed (bus, device->getPortName()))
                zorvane::sendUpgradeModeEntry (*out, pid);
        }

        TerminalProgress progress;
        zorvane::MidiInputHandler handler (progress, pid, *midi, zorvane::Waits::real());
        handler.start (bootPort);

        if (! handler.hasInput() || ! handler.hasOutput())
            throw Failure { "Could not open the selected MIDI input device: " + bootPort };

        handler.openProgram (image);
        const auto result = handler.sendProgram();
        handler.stop();
        std::cerr << "\n";

        if (result.failed())
            throw Failure { result.getErrorMessage() };

        std::cout << "Your firmware has been upgraded!\n";

        if (device != nullptr)
        {
            const auto written = device->getBootloader().getImage();
            std::cout << "sha256 " << SimulatedBootloader::sha256 (written.getData(), written.getSize())
                      << " " << (int) written.getSize() << "\n";
        }

        return exitOk;
    }

    int runFirmware (juce::StringArray args)
    {
        const auto sub = args[0];
        args.remove (0);

        if (sub == "list")    return runFirmwareList (args);
        if (sub == "upgrade") return runFirmwareUpgrade (args);

        throw UsageError { "usage: travik firmware (list | upgrade) ..." };
    }

    int run (const juce::StringArray& argv)
    {
        if (argv.isEmpty())
            throw UsageError { "no command given (try travik --help)" };

        const auto command = argv[0];
        juce::StringArray args (argv);
        args.remove (0);

        if (command == "--help" || command == "-h" || command == "help")
        {
            std::cout << usageText;
            return exitOk;
        }

        if (command == "factory") return runFactory (args);
        if (command == "bytes")   return runBytes (args);
        if (command == "show")    return runShow (args);
        if (command == "check")   return runCheck (args);
        if (command == "ports")   return runPorts (args);
        if (command == "send")    return runSend (args);
        if (command == "recognise") return runRecognise (args);
        if (command == "firmware")  return runFirmware (args);

        throw UsageError { "unknown command: " + command + " (try travik --help)" };
    }
}

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;
    juce::StringArray args;

    for (int i = 1; i < argc; ++i)
        args.add (juce::CharPointer_UTF8 (argv[i]));

    try
    {
        return run (args);
    }
    catch (const UsageError& e)
    {
        std::cerr << "travik: " << e.message << "\n";
        return exitUsage;
    }
    catch (const Failure& e)
    {
        std::cerr << e.message << "\n";
        return exitFailed;
    }
}
