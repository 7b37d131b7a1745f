#include "app/shell/MainApp.h"

#include "app/device/ThisProduct.h"
#include "app/model/Arrays.h"
#include "app/shell/FirstPaintProbe.h"
#include "app/shell/RunOptions.h"
#include "app/shell/SimulationMode.h"
#include "app/ui/ContentComponent.h"
#include "app/ui/TravikLookAndFeel.h"
#include "zorvane_core/MidiPorts.h"

namespace
{
    constexpr auto applicationName = "Dalvi V+ Travik";
    constexpr auto versionNumber = "1.07";
    constexpr int escapeKeyCode = 27;

    const juce::Colour windowBackground { 0xffeeeeee };
}

//==============================================================================
MainApp::MainApp() = default;

MainApp::~MainApp()
{
    firstPaintProbe = nullptr;
    mainWindow = nullptr;
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

const juce::String MainApp::getApplicationName()    { return applicationName; }
const juce::String MainApp::getApplicationVersion() { return juce::String ("V") + versionNumber; }
bool MainApp::moreThanOneInstanceAllowed()          { return false; }

void MainApp::initialise (const juce::String&)
{
    // 1. One instance only: the framework has already checked once, and a
    //    second process that gets this far hands over and goes.
    if (sendCommandLineToPreexistingInstance())
    {
        quit();
        return;
    }

    // 2. The pitch-bend names the value lists show.
    Defa::fillPitchNames();

    // 3. MIDI and the device model. The simulated bus has to be in place before
    //    the first listing, and the device model takes the backend it finds.
    const auto options = RunOptions::fromEnvironment();

    if (options.simulatedMidi)
        simulation = std::make_unique<SimulationMode> (options.simulationLog);

    auto& midi = zorvane::MidiPorts::get();
    juce::ignoreUnused (midi.getInputNames(), midi.getOutputNames());

    if (options.settingsFolder != juce::File())
    {
        DalviPlus::Environment environment;
        environment.settingsFolder = options.settingsFolder;
        options.settingsFolder.createDirectory();
        DalviPlus::createInstance (environment);
    }
    else
    {
        DalviPlus::singletonHolder.get();
    }

    // 4. The main window, drawn with the program's own typeface.
    lookAndFeel = std::make_unique<TravikLookAndFeel>();
    juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel.get());

    mainWindow = std::make_unique<MainWindow> (getApplicationName() + " " + getApplicationVersion());

    if (FirstPaintProbe::isRequested())
        firstPaintProbe = std::make_unique<FirstPaintProbe> (*mainWindow);
}

void MainApp::shutdown()
{
    firstPaintProbe = nullptr;

    // The window and with it the view first (reset() lets go of the pointer
    // before deleting), then the device model, whose destructor writes the
    // settings. A model that was never made (a second instance) is not made
    // now: the holder creates only on get().
    mainWindow = nullptr;

    // Nothing that could still use the look is left.
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    lookAndFeel = nullptr;

    if (DalviPlus::singletonHolder.instance != nullptr)
        DalviPlus::singletonHolder.deleteInstance();

    // The device model held on to the backend, so the simulated bus goes last.
    simulation = nullptr;
}

void MainApp::anotherInstanceStarted (const juce::String&)
{
    if (mainWindow != nullptr)
        mainWindow->toFront (true);
}

void MainApp::systemRequestedQuit()
{
    quit();
}

//==============================================================================
MainApp::MainWindow::MainWindow (const juce::String& title)
    : DocumentWindow (title, windowBackground, DocumentWindow::minimiseButton | DocumentWindow::closeButton, true)
{
    setUsingNativeTitleBar (true);
    setContentOwned (new ContentComponent (dialogs), true);
    centreWithSize (getWidth(), getHeight());
    setVisible (true);
    setResizable (false, false);

    if (auto* content = getContentComponent())
        content->grabKeyboardFocus();
}

MainApp::MainWindow::~MainWindow()
{
    clearContentComponent();

   #if JUCE_MAC
    juce::MenuBarModel::setMacMainMenu (nullptr);
   #endif
}

bool MainApp::MainWindow::keyPressed (const juce::KeyPress& key)
{
    // The view leaves its keys unconsumed, so Escape quits from anywhere in the
    // window, whatever the modifier keys.
    if (key.getKeyCode() == escapeKeyCode)
    {
        juce::JUCEApplicationBase::quit();
        return true;
    }

    return juce::Component::keyPressed (key);
}

void MainApp::MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}

//==============================================================================
juce::StringArray MainApp::MainWindow::MenuBar::getMenuBarNames()
{
    return {};
}

juce::PopupMenu MainApp::MainWindow::MenuBar::getMenuForIndex (int, const juce::String&)
{
    return {};
}

void MainApp::MainWindow::MenuBar::menuItemSelected (int, int)
{
}
