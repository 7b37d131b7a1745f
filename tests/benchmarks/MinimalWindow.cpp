// The baseline of the start-up measurement (scripts/startup-bench.sh): the least a
// JUCE program needs to show a window like the editor's, built with the same
// flags and JUCE library. One window of the editor's size with a content that
// fills itself, and the same first-paint probe.

#include "app/shell/FirstPaintProbe.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
    class FilledComponent final : public juce::Component
    {
    public:
        FilledComponent() { setSize (1000, 576); }

        void paint (juce::Graphics& g) override { g.fillAll (juce::Colour (0xffeeeeee)); }
    };

    class MinimalWindowApp final : public juce::JUCEApplication
    {
    public:
        const juce::String getApplicationName() override    { return "Minimal Window"; }
        const juce::String getApplicationVersion() override { return "1.0"; }
        bool moreThanOneInstanceAllowed() override          { return true; }

        void initialise (const juce::String&) override
        {
            window = std::make_unique<juce::DocumentWindow> ("Minimal Window", juce::Colour (0xffeeeeee),
                                                             juce::DocumentWindow::minimiseButton
                                                                 | juce::DocumentWindow::closeButton);
            window->setUsingNativeTitleBar (true);
            window->setContentOwned (new FilledComponent(), true);
            window->centreWithSize (window->getWidth(), window->getHeight());
            window->setVisible (true);
            window->setResizable (false, false);

            if (FirstPaintProbe::isRequested())
                probe = std::make_unique<FirstPaintProbe> (*window);
        }

        void shutdown() override
        {
            probe = nullptr;
            window = nullptr;
        }

    private:
        std::unique_ptr<juce::DocumentWindow> window;
        std::unique_ptr<FirstPaintProbe> probe;
    };
}

START_JUCE_APPLICATION (MinimalWindowApp)
