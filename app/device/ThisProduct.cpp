#include "app/device/ThisProduct.h"

#include "app/device/Messages.h"
#include "app/device/Settings.h"
#include "app/files/MapFile.h"
#include "app/model/Arrays.h"

namespace
{
    constexpr int dalviPlusProductId = 170;
    const juce::Identifier currentProperty ("current");
}

//==============================================================================
class DalviPlus::Impl
{
public:
    explicit Impl (const Environment& env)
        : settings (env.settingsFolder == juce::File() ? std::make_unique<Settings>()
                                                       : std::make_unique<Settings> (env.settingsFolder)),
          midi (env.midi != nullptr ? *env.midi : zorvane::MidiPorts::get()),
          waits (env.waits != nullptr ? *env.waits : zorvane::Waits::real())
    {
        createDefaultMaps();
    }

    virtual ~Impl() = default;

    //==============================================================================
    void createDefaultMaps()
    {
        if (modesTree.getNumChildren() > 0)
            return;

        for (auto mode : { CtMode::Mackie, CtMode::Logic, CtMode::ProTools, CtMode::UserDefined })
            modesTree.appendChild (createDefaultMapFor (mode), nullptr);

        setCurrentMode (CtMode::Mackie);
    }

    juce::ValueTree createDefaultMapFor (CtMode mode)
    {
        return CtMap (mode).getTree();
    }

    void setCurrentMode (CtMode mode)
    {
        currentMode = mode;
        currentMap = findMode (mode);
        modesTree.setProperty (currentProperty, CtMode::slugForType (mode), nullptr);
    }

    juce::ValueTree findMode (CtMode mode) const
    {
        const auto slug = CtMode::slugForType (mode);

        for (const auto& map : modesTree)
            if (map[Tags::mode].toString() == slug)
                return map;

        return {};
    }

    void saveSettings()
    {
        auto* common = settings->getProperties().getCommonSettings (true);

        if (common == nullptr)
            return;

        if (auto xml = modesTree.createXml())
            common->setValue ("modes", xml.get());
    }

    //==============================================================================
    juce::Result openFile (const juce::File& file)
    {
        juce::ValueTree loaded;
        const auto result = MapFile::read (file, loaded);

        if (result.failed())
            return result;

        const auto mode = CtMap (loaded).getCtMode();
        const auto old = findMode (mode);
        const auto index = modesTree.indexOf (old);

        if (index >= 0)
            modesTree.removeChild (index, nullptr);

        modesTree.addChild (loaded, index, nullptr);
        setCurrentMode (mode);

        if (mode == CtMode::UserDefined)
            rebuildUserDefinedTable (CtMap (loaded));

        return juce::Result::ok();
    }

    /** The device receives the code table, not the map's properties, so a loaded
        User Defined map is copied into it control by control.
    */
    static void rebuildUserDefinedTable (const CtMap& map)
    {
        for (int id = 1; id <= 50; ++id)
        {
            const auto control = map.getControlById (id);
            const auto slot = Defa::slotForId (id);
            const auto code = Defa::getMstyForSel (CtType (control[Tags::type].toString()));
            const int chan = control.getProperty (Tags::chan, 1);
            const int value = control.getProperty (Tags::value, 0);

            ud[slot][0] = (juce::uint8) (((code * 16) | ((chan - 1) & 0xFF)) & 0xFF);
            ud[slot][1] = (juce::uint8) (value & 0xFF);
        }
    }

    juce::Result saveCurrentMapping (const juce::File& file) const
    {
        if (! currentMap.isValid())
            return juce::Result::fail ("Could not save current mapping to disk");

        return MapFile::write (currentMap, file);
    }

    //==============================================================================
    juce::Result sendCurrentMapping()
    {
        const CtMap map (currentMap);
        const int mode = map.getCtMode();

        if (outputDeviceName.isEmpty())
            return juce::Result::fail ("No device selected");

        const auto index = midi.getOutputNames().indexOf (outputDeviceName);

        if (index < 0)
            return juce::Result::fail (outputDeviceName + ": device does not exist");

        auto port = midi.openOutput (index);

        if (port == nullptr)
            return juce::Result::fail (outputDeviceName + ": could not open device");

        port->sendMessageNow (Messages::makeStart (dalviPlusProductId, mode));

        juce::MidiBuffer buffer;

        for (int aid = 0; aid < 50; ++aid)
        {
            Messages::mapButton (buffer, mode, map.getControlById (cids[aid]));
            port->sendBlockOfMessagesNow (buffer);
            buffer.clear();
            waits.sleep (2);
        }

        port->sendMessageNow (Messages::makeEnd());
        port.reset();

        // Nothing acknowledges a transfer, and the system takes messages for a
        // port that has gone without complaint: a device that was unplugged on
        // the way shows only as a port that is no longer listed.
        if (! midi.getOutputNames().contains (outputDeviceName))
            return juce::Result::fail (outputDeviceName + ": device disconnected during transfer");

        return juce::Result::ok();
    }

    //==============================================================================
    std::unique_ptr<Settings> settings;
    juce::String outputDeviceName;
    juce::ValueTree modesTree { Tags::modes };
    juce::ValueTree currentMap;
    CtMode currentMode { CtMode::Mackie };

    zorvane::MidiBackend& midi;
    zorvane::Waits& waits;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Impl)
};

//==============================================================================
juce::SingletonHolder<DalviPlus, juce::CriticalSection, true> DalviPlus::singletonHolder;

DalviPlus::DalviPlus() : DalviPlus (Environment {}) {}

DalviPlus::DalviPlus (const Environment& environment)
    : pimpl (std::make_unique<Impl> (environment))
{
}

DalviPlus& DalviPlus::createInstance (const Environment& environment)
{
    singletonHolder.deleteInstance();
    auto* instance = new DalviPlus (environment);
    singletonHolder.instance = instance;
    return *instance;
}

DalviPlus::~DalviPlus()
{
    pimpl->saveSettings();
    pimpl.reset();   // closing the settings storage writes the file
    singletonHolder.clear (this);
}

CtMode DalviPlus::getCurrentCtMode() const                  { return CtMap (pimpl->currentMap).getCtMode(); }
void DalviPlus::setCtMode (CtMode mode)                      { pimpl->setCurrentMode (mode); }
void DalviPlus::setCurrentOutputDevice (const juce::String& name) { pimpl->outputDeviceName = name; }
juce::String DalviPlus::getCurrentOutputDevice() const      { return pimpl->outputDeviceName; }
CtMap DalviPlus::getCurrentMap() const                      { return CtMap (pimpl->currentMap); }
juce::ValueTree DalviPlus::getModesTree() const             { return pimpl->modesTree; }

juce::Result DalviPlus::openFile (const juce::File& file)             { return pimpl->openFile (file); }
juce::Result DalviPlus::saveCurrentMapping (const juce::File& file)   { return pimpl->saveCurrentMapping (file); }
juce::Result DalviPlus::sendCurrentMapping()                          { return pimpl->sendCurrentMapping(); }

juce::PropertiesFile::Options DalviPlus::getSettingsOptions()         { return Settings::makeOptions(); }
