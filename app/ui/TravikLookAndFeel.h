#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The editor's look: JUCE's standard one, except that the default sans-serif
    font comes from the typeface embedded in the program (Travik Sans, a subset of
    DejaVu Sans made by resources/make-fonts.sh) instead of the system's.

    Loading a glyph from a FreeType typeface looks up its kerning against every
    character the font maps; with a system font of several thousand characters
    that made the text of the first frame cost more than everything else put
    together. The embedded subset has only Latin-1 and a few symbols
    (TravikSans::covers), stored in JUCE's own typeface format, so that FreeType
    is not even started for it.

    Text with a character outside that set is measured and drawn as a whole by
    the system's typeface for the same font, so it looks as it did before.

    Install it with juce::LookAndFeel::setDefaultLookAndFeel before any window is
    made, and take it out again (setDefaultLookAndFeel (nullptr)) after the last
    window has gone, before deleting it.
*/
class TravikLookAndFeel : public juce::LookAndFeel_V4
{
public:
    TravikLookAndFeel();
    ~TravikLookAndFeel() override;

    /** The embedded typeface for the default sans-serif font (bold for the
        "Bold" style, regular for every other), and the framework's choice for
        any other font.
    */
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;

    /** As LookAndFeel_V2 draws them, without keeping the text's layout: see
        drawFittedText in the .cpp.
    */
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isHighlighted, bool isDown) override;
    void drawLabel (juce::Graphics&, juce::Label&) override;

private:
    juce::Typeface::Ptr regularTypeface, boldTypeface;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TravikLookAndFeel)
};
