#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

//==============================================================================
/** The modal pieces of the editor: file choosers, the port dialog, alerts, the
    About box and the firmware upgrader.

    The main view asks these instead of opening JUCE's dialogs itself, so a test
    can answer them without a person; the program passes JuceEditorDialogs.
*/
class EditorDialogs
{
public:
    virtual ~EditorDialogs() = default;

    /** "Load File": a file to open, or nothing when the user cancelled. */
    virtual std::optional<juce::File> chooseFileToLoad() = 0;

    /** "Save File": a file to save to, or nothing when the user cancelled. */
    virtual std::optional<juce::File> chooseFileToSave() = 0;

    /** "Connect": the output port the user chose, or nothing when the dialog was closed. */
    virtual std::optional<juce::String> chooseOutputPort (juce::Component& centreAround) = 0;

    /** A message box with the warning symbol and one button; returns at once. */
    virtual void showAlert (const juce::String& title, const juce::String& message) = 0;

    /** The About box; returns at once. */
    virtual void showAbout() = 0;

    /** The firmware upgrade wizard for the Dalvi V+; returns when it closes. */
    virtual void runFirmwareUpgrade (juce::Component& centreAround) = 0;
};
