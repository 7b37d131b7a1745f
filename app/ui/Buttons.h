#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** One control button of the panel: bound to a control of the current map, it
    shows what the control sends and is the only place where the editor writes
    a control, both into the mode's code table (what the device receives) and
    into the control's tree (what files and settings store).
*/
class MappableButton : public juce::TextButton
{
public:
    explicit MappableButton (const juce::String& name);
    ~MappableButton() override;

    //==============================================================================
    /** Binds the button to a control tree of the current map and relabels it. */
    void setMapping (juce::ValueTree control);

    /** The note or controller number 0..127 (a function index in Pro Tools). */
    void setValue (int v);

    /** The MIDI channel, 1..16. */
    void setChan (int c);

    /** The message-type code: 9 (Note On), 11 (Control Change) or 14 (Pitch Bend). */
    void setMsgType (int code);

    //==============================================================================
    /** The short text the button shows for its control. */
    virtual juce::String getLabelText();

    /** Refreshes the shown text and the accessible title and description. */
    virtual void updateText();

    /** What the control sends, in words a screen reader can speak,
        e.g. "Note On, channel 1, C4".
    */
    juce::String getSpokenAssignment() const;

    //==============================================================================
    /** The bound control's id, 1..50; -1 until setMapping. */
    int id = -1;

    /** Passed to the value lookups; always 0 on this device. */
    int flag = 0;

    /** The control's "type", "chan" and "value" properties once bound. */
    juce::Value type { juce::var (0) };
    juce::Value chan;
    juce::Value value { juce::var (0) };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MappableButton)
};

//==============================================================================
/** A button of the main view's command row; the view recognises its commands by
    this class.
*/
class CommandButton : public juce::TextButton
{
public:
    CommandButton();
    ~CommandButton() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CommandButton)
};
