#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace testsupport
{

/** A dialog window that is never put on the screen, around a dialog's content:
    it counts close requests (and hides on them only when asked to, as a window
    on the screen does, which ends its modal run with 0), and reports how its
    modal state ended. No display or modal loop is needed.
*/
class OffscreenDialog final : public juce::DialogWindow
{
public:
    explicit OffscreenDialog (juce::Component& content, bool hideOnClose = false)
        : juce::DialogWindow ("Dialog", juce::Colours::lightgrey, true, false),
          hidesOnClose (hideOnClose)
    {
        setContentNonOwned (&content, true);

        // Visible before going modal: the modal manager cancels a run at once
        // for a window that isn't showing.
        setVisible (true);
        enterModalState (false, juce::ModalCallbackFunction::create ([result = exitCode] (int code) { *result = code; }));
    }

    ~OffscreenDialog() override
    {
        if (isCurrentlyModal (false))
            exitModalState (-1);

        waitForExit();
        clearContentComponent();
    }

    void closeButtonPressed() override
    {
        ++closeRequests;

        if (hidesOnClose)
            setVisible (false);
    }

    bool pressEscape()
    {
        return keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
    }

    /** The code the modal run ended with, once the modal manager has reported it. */
    int waitForExit()
    {
        for (int i = 0; i < 100 && *exitCode == notEnded; ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (10);

        return *exitCode;
    }

    static constexpr int notEnded = -100;
    int closeRequests = 0;

private:
    const bool hidesOnClose;
    std::shared_ptr<int> exitCode = std::make_shared<int> (notEnded);
};

} // namespace testsupport
