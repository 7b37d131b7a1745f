#pragma once

#include "app/ui/JuceEditorDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class FirstPaintProbe;
class SimulationMode;
class TravikLookAndFeel;

//==============================================================================
/** The application object: keeps the program to one running instance, prepares
    the pitch names and the device model, opens the main window, and takes it all
    down again in a fixed order, which is when the settings file is written.
*/
class MainApp : public juce::JUCEApplication
{
public:
    MainApp();
    ~MainApp() override;

    //==============================================================================
    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;
    void systemRequestedQuit() override;

    //==============================================================================
    /** The one window of the program; its content is the main editor view. */
    class MainWindow : public juce::DocumentWindow
    {
    public:
        explicit MainWindow (const juce::String& title);
        ~MainWindow() override;

        //==============================================================================
        bool keyPressed (const juce::KeyPress& key) override;
        void closeButtonPressed() override;

        //==============================================================================
        /** The program shows no menu of its own; on macOS the menu bar carries
            only the framework's application menu, whose Quit arrives as
            systemRequestedQuit().
        */
        class MenuBar : public juce::MenuBarModel
        {
        public:
            juce::StringArray getMenuBarNames() override;
            juce::PopupMenu getMenuForIndex (int topLevelMenuIndex, const juce::String& menuName) override;
            void menuItemSelected (int menuItemID, int topLevelMenuIndex) override;
        };

    private:
        // The view keeps a reference to these, so they must outlive it: the
        // destructor removes the view before the members go.
        JuceEditorDialogs dialogs;
        MenuBar menuBar;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
    };

private:
    //==============================================================================
    // The default look while the program runs; declared before the window, which
    // must go first.
    std::unique_ptr<TravikLookAndFeel> lookAndFeel;
    std::unique_ptr<MainWindow> mainWindow;

    // Only when the environment asks for them (see RunOptions): the simulated
    // MIDI bus, which must outlive the device model, and the start-up probe.
    std::unique_ptr<SimulationMode> simulation;
    std::unique_ptr<FirstPaintProbe> firstPaintProbe;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainApp)
};
