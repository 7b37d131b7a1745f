#include "app/ui/TravikLookAndFeel.h"

#include "app/ui/TravikSans.h"

#include "BinaryData.h"

namespace
{
    /** The embedded typeface, with the system's typeface for the same font behind
        it for text the embedded one does not cover.

        The decision is made per string rather than per character, so that a
        string with an uncovered character keeps the system font's widths and
        kerning throughout. Glyph numbers are character codes in both typefaces
        (juce::CustomTypeface, which JUCE's FreeType typefaces are as well,
        numbers glyphs that way), and a covered character has the same outline
        in both, so drawing a glyph can go to either by its number.
    */
    class EmbeddedTypeface final : public juce::Typeface
    {
    public:
        EmbeddedTypeface (const void* serialisedTypeface, size_t size, const juce::String& systemStyle)
            : juce::Typeface ("Travik Sans", systemStyle),
              embedded (load (serialisedTypeface, size))
        {
        }

        float getAscent() const override                { return embedded->getAscent(); }
        float getDescent() const override               { return embedded->getDescent(); }
        float getHeightToPointsFactor() const override  { return embedded->getHeightToPointsFactor(); }

        float getStringWidth (const juce::String& text) override
        {
            return typefaceFor (text).getStringWidth (text);
        }

        void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs, juce::Array<float>& xOffsets) override
        {
            typefaceFor (text).getGlyphPositions (text, glyphs, xOffsets);
        }

        bool getOutlineForGlyph (int glyphNumber, juce::Path& path) override
        {
            return typefaceFor (glyphNumber).getOutlineForGlyph (glyphNumber, path);
        }

        juce::EdgeTable* getEdgeTableForGlyph (int glyphNumber, const juce::AffineTransform& transform,
                                               float fontHeight) override
        {
            // The tables are used as JUCE makes them. Shrinking them to what they hold
            // (EdgeTable::optimiseTable) saves memory, but sends every later clip of a
            // glyph through the path where JUCE's EdgeTable grows a full line, which
            // copies between overlapping memory.
            return typefaceFor (glyphNumber).getEdgeTableForGlyph (glyphNumber, transform, fontHeight);
        }

    private:
        static juce::Typeface::Ptr load (const void* serialisedTypeface, size_t size)
        {
            juce::MemoryInputStream stream (serialisedTypeface, size, false);
            return new juce::CustomTypeface (stream);
        }

        static bool isCovered (const juce::String& text) noexcept
        {
            for (auto t = text.getCharPointer(); ! t.isEmpty();)
                if (! TravikSans::covers (t.getAndAdvance()))
                    return false;

            return true;
        }

        juce::Typeface& typefaceFor (const juce::String& text)
        {
            return isCovered (text) ? *embedded : getSystemTypeface();
        }

        juce::Typeface& typefaceFor (int glyphNumber)
        {
            return TravikSans::covers ((juce::juce_wchar) glyphNumber) ? *embedded : getSystemTypeface();
        }

        /** What the framework would have used for the default sans-serif font in
            this style; made only when first needed, since finding it scans the
            system's fonts.
        */
        juce::Typeface& getSystemTypeface()
        {
            const juce::ScopedLock sl (systemLock);

            if (system == nullptr)
                system = juce::Font::getDefaultTypefaceForFont (juce::Font (juce::Font::getDefaultSansSerifFontName(),
                                                                            style, 10.0f));

            return *system;
        }

        juce::Typeface::Ptr embedded;
        juce::Typeface::Ptr system;
        juce::CriticalSection systemLock;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EmbeddedTypeface)
    };

    const juce::String boldStyle { "Bold" };

    /** What juce::Graphics::drawFittedText draws, laid out afresh each time.

        Graphics::drawFittedText keeps the layout of the last 128 texts it drew,
        each in a GlyphArrangement with room for 128 glyphs (6.4 kB): the editor's
        fifty-odd buttons and labels held 380 kB of layouts for a few hundred
        characters. Laying out a button's few characters again when it repaints
        costs next to nothing.
    */
    void drawFittedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area,
                         juce::Justification justification, int maximumNumberOfLines,
                         float minimumHorizontalScale = 0.0f)
    {
        if (text.isEmpty() || area.isEmpty() || ! g.clipRegionIntersects (area))
            return;

        const auto bounds = area.toFloat();

        juce::GlyphArrangement arrangement;
        arrangement.addFittedText (g.getCurrentFont(), text, bounds.getX(), bounds.getY(),
                                   bounds.getWidth(), bounds.getHeight(), justification,
                                   maximumNumberOfLines, minimumHorizontalScale);
        arrangement.draw (g);
    }
}

//==============================================================================
TravikLookAndFeel::TravikLookAndFeel() = default;

TravikLookAndFeel::~TravikLookAndFeel() = default;

juce::Typeface::Ptr TravikLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    if (font.getTypefaceName() != juce::Font::getDefaultSansSerifFontName())
        return juce::LookAndFeel_V4::getTypefaceForFont (font);

    // The framework looks a style up by its name among the system font's styles,
    // where DejaVu Sans has "Bold" but no "Italic" or "Bold Italic": only "Bold"
    // ever got the bold face, every other style the regular one.
    //
    // Both are made when first asked for; the bold one only the About box uses.
    if (font.getTypefaceStyle() == boldStyle)
    {
        if (boldTypeface == nullptr)
            boldTypeface = new EmbeddedTypeface (BinaryData::TravikSansBold_typeface,
                                                 (size_t) BinaryData::TravikSansBold_typefaceSize, boldStyle);

        return boldTypeface;
    }

    if (regularTypeface == nullptr)
        regularTypeface = new EmbeddedTypeface (BinaryData::TravikSansRegular_typeface,
                                                (size_t) BinaryData::TravikSansRegular_typefaceSize, "Regular");

    return regularTypeface;
}

//==============================================================================
// These two are LookAndFeel_V2's (JUCE 7.0.5) with only the text drawing changed.

void TravikLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto font = getTextButtonFont (button, button.getHeight());
    g.setFont (font);
    g.setColour (button.findColour (button.getToggleState() ? juce::TextButton::textColourOnId
                                                            : juce::TextButton::textColourOffId)
                       .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));

    const auto yIndent = juce::jmin (4, button.proportionOfHeight (0.3f));
    const auto cornerSize = juce::jmin (button.getHeight(), button.getWidth()) / 2;

    const auto fontHeight = juce::roundToInt (font.getHeight() * 0.6f);
    const auto leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const auto rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const auto textWidth = button.getWidth() - leftIndent - rightIndent;

    if (textWidth > 0)
        drawFittedText (g, button.getButtonText(),
                        { leftIndent, yIndent, textWidth, button.getHeight() - yIndent * 2 },
                        juce::Justification::centred, 2);
}

void TravikLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    g.fillAll (label.findColour (juce::Label::backgroundColourId));

    if (! label.isBeingEdited())
    {
        const auto alpha = label.isEnabled() ? 1.0f : 0.5f;
        const auto font = getLabelFont (label);

        g.setColour (label.findColour (juce::Label::textColourId).withMultipliedAlpha (alpha));
        g.setFont (font);

        const auto textArea = getLabelBorderSize (label).subtractedFrom (label.getLocalBounds());

        drawFittedText (g, label.getText(), textArea, label.getJustificationType(),
                        juce::jmax (1, (int) ((float) textArea.getHeight() / font.getHeight())),
                        label.getMinimumHorizontalScale());

        g.setColour (label.findColour (juce::Label::outlineColourId).withMultipliedAlpha (alpha));
    }
    else if (label.isEnabled())
    {
        g.setColour (label.findColour (juce::Label::outlineColourId));
    }

    g.drawRect (label.getLocalBounds());
}
