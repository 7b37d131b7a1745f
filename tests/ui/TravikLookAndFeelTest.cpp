#include "app/ui/TravikLookAndFeel.h"
#include "app/ui/TravikSans.h"

#include "BinaryData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

// The embedded typeface stands in for the system's DejaVu Sans and must draw
// exactly what that drew: these compare it with the typeface the framework picks
// for the same font when no look and feel intervenes.

juce::Typeface::Ptr systemTypefaceFor (const juce::Font& font)
{
    return juce::Font::getDefaultTypefaceForFont (font);
}

bool systemSansIsDejaVu()
{
    return systemTypefaceFor (juce::Font (14.0f))->getName() == "DejaVu Sans";
}

std::vector<juce::Font> fontsTheEditorUses()
{
    const auto sans = juce::Font::getDefaultSansSerifFontName();

    return {
        juce::Font (14.0f),
        juce::Font (15.0f, juce::Font::plain).withTypefaceStyle ("Regular"),
        juce::Font (sans, 50.0f, juce::Font::plain).withTypefaceStyle ("Bold"),
        juce::Font (15.0f, juce::Font::bold),
        juce::Font (15.0f, juce::Font::italic),
        juce::Font (15.0f, juce::Font::bold | juce::Font::italic),
    };
}

juce::String describe (const juce::Font& font)
{
    return font.getTypefaceName() + " / " + font.getTypefaceStyle();
}

const juce::StringArray sampleTexts {
    "Control Mode", "Message", "Channel", "Msg Type", "Function", "About..",
    "Save File", "Load File", "Send Data", "Firmware Upgrade", "Connect",
    " C(4)", "C#(-1)", "CC64", "PB.1", "ErrOnMidiMsgType", "12) Note On",
    "Dalvi V+ Travik V1.07", "Select your device", "Done!",
    "AVAWATo Ty LT fi ff \"quoted\" 'x' (a) [b] {c} 100% & @ # $ ~ ^ * + = / \\ | < > ? ! , . ; :",
    juce::String (juce::CharPointer_UTF8 ("\xc2\xa9 2024 Zorvane \xe2\x80\x94 \xc3\x84\xc3\x96\xc3\x9c\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f "
                                          "\xe2\x80\x9cgr\xc3\xbc\xc3\x9f\xe2\x80\x9d \xe2\x82\xac 5 \xe2\x80\xa6")),
};

// Text with characters outside the embedded set goes to the system's typeface as a whole.
const juce::StringArray uncoveredTexts {
    juce::String (juce::CharPointer_UTF8 ("\xd0\x9f\xd1\x91\xd1\x82\xd1\x80 map.travik")),
    juce::String (juce::CharPointer_UTF8 ("\xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1 V+")),
    "tab\there",
};

/** resources/fonts in the source tree: found from the test data folder ctest
    names, or else from this file's path, which the compiler may have been given
    relative to the build folder (the folder above the test program's).
*/
juce::File fontSources()
{
    const auto testData = juce::SystemStats::getEnvironmentVariable ("TRAVIK_TEST_DATA", {});

    if (testData.isNotEmpty())
        return juce::File (testData).getParentDirectory().getSiblingFile ("resources").getChildFile ("fonts");

    const auto buildFolder = juce::File::getSpecialLocation (juce::File::currentExecutableFile)
                                 .getParentDirectory().getParentDirectory();

    return buildFolder.getChildFile (__FILE__).getParentDirectory().getParentDirectory()
                      .getSiblingFile ("resources").getChildFile ("fonts");
}

juce::String everyCoveredCharacter()
{
    juce::String text;

    for (juce::juce_wchar c = 0x20; c < 0x10000; ++c)
        if (TravikSans::covers (c))
            text += juce::String::charToString (c);

    return text;
}

} // namespace

TEST (TravikSans, TheEmbeddedTypefacesAreTheTrueTypeFilesGlyphForGlyph)
{
    const auto folder = fontSources();

    if (! folder.isDirectory())
        GTEST_SKIP() << "resources/fonts not found; run through ctest";

    const std::tuple<const char*, const char*, int> fonts[] {
        { "TravikSans-Regular.ttf", BinaryData::TravikSansRegular_typeface, BinaryData::TravikSansRegular_typefaceSize },
        { "TravikSans-Bold.ttf", BinaryData::TravikSansBold_typeface, BinaryData::TravikSansBold_typefaceSize },
    };

    for (auto [fileName, serialised, size] : fonts)
    {
        SCOPED_TRACE (fileName);

        juce::MemoryBlock trueType;
        ASSERT_TRUE (folder.getChildFile (fileName).loadFileAsData (trueType));
        auto fromTrueType = juce::Typeface::createSystemTypefaceFor (trueType.getData(), trueType.getSize());

        juce::MemoryInputStream stream (serialised, (size_t) size, false);
        juce::Typeface::Ptr embedded (new juce::CustomTypeface (stream));

        EXPECT_EQ (embedded->getAscent(), fromTrueType->getAscent());
        EXPECT_EQ (embedded->getDescent(), fromTrueType->getDescent());

        const auto characters = everyCoveredCharacter();
        juce::StringArray texts { characters };

        for (auto c = characters.getCharPointer(); ! c.isEmpty();)
        {
            const auto character = c.getAndAdvance();
            const auto glyph = juce::String::charToString (character);

            // Every pair with this character, on either side, for the kerning.
            juce::String pairs;

            for (auto other = characters.getCharPointer(); ! other.isEmpty();)
                pairs << glyph << juce::String::charToString (other.getAndAdvance());

            texts.add (pairs + glyph);

            juce::Path a, b;
            EXPECT_TRUE (embedded->getOutlineForGlyph ((int) character, a));
            EXPECT_TRUE (fromTrueType->getOutlineForGlyph ((int) character, b));
            EXPECT_TRUE (a == b) << "outline of U+" << juce::String::toHexString ((int) character);
        }

        for (const auto& text : texts)
        {
            juce::Array<int> embeddedGlyphs, trueTypeGlyphs;
            juce::Array<float> embeddedOffsets, trueTypeOffsets;
            embedded->getGlyphPositions (text, embeddedGlyphs, embeddedOffsets);
            fromTrueType->getGlyphPositions (text, trueTypeGlyphs, trueTypeOffsets);

            EXPECT_EQ (embeddedGlyphs, trueTypeGlyphs) << text;
            EXPECT_EQ (embeddedOffsets, trueTypeOffsets) << text;
        }
    }
}

TEST (TravikLookAndFeel, CoversPrintableLatin1AndTheUsualSymbols)
{
    for (juce::juce_wchar c = 0x20; c <= 0x7e; ++c)
        EXPECT_TRUE (TravikSans::covers (c)) << (int) c;

    for (juce::juce_wchar c = 0xa0; c <= 0xff; ++c)
        EXPECT_TRUE (TravikSans::covers (c)) << (int) c;

    for (juce::juce_wchar c : { 0x2013, 0x2014, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2026, 0x20ac, 0x2122 })
        EXPECT_TRUE (TravikSans::covers (c)) << (int) c;

    for (juce::juce_wchar c : { 0x00, 0x09, 0x0a, 0x1f, 0x7f, 0x80, 0x9f, 0x100, 0x41f, 0x3b1, 0x25cf, 0x4e00 })
        EXPECT_FALSE (TravikSans::covers (c)) << (int) c;
}

TEST (TravikLookAndFeel, OtherFontsAreTheFrameworksChoice)
{
    TravikLookAndFeel lookAndFeel;
    const juce::Font serif (juce::Font::getDefaultSerifFontName(), 14.0f, juce::Font::plain);

    EXPECT_EQ (lookAndFeel.getTypefaceForFont (serif)->getName(), systemTypefaceFor (serif)->getName());
}

TEST (TravikLookAndFeel, DrawsTheSameGlyphsAsTheSystemsDejaVuSans)
{
    if (! systemSansIsDejaVu())
        GTEST_SKIP() << "the system's sans-serif font is not DejaVu Sans";

    TravikLookAndFeel lookAndFeel;

    for (const auto& font : fontsTheEditorUses())
    {
        SCOPED_TRACE (describe (font).toStdString());

        auto embedded = lookAndFeel.getTypefaceForFont (font);
        auto system = systemTypefaceFor (font);
        ASSERT_NE (embedded, nullptr);

        EXPECT_EQ (embedded->getAscent(), system->getAscent());
        EXPECT_EQ (embedded->getDescent(), system->getDescent());
        EXPECT_EQ (embedded->getHeightToPointsFactor(), system->getHeightToPointsFactor());

        // Every character of the set: outline, advance, and the kerning with each
        // of a few partners.
        juce::String everyCharacter;

        for (juce::juce_wchar c = 0x20; c < 0x3000; ++c)
            if (TravikSans::covers (c))
                everyCharacter += juce::String::charToString (c);

        auto texts = sampleTexts;

        for (auto c = everyCharacter.getCharPointer(); ! c.isEmpty();)
        {
            const auto character = juce::String::charToString (c.getAndAdvance());
            texts.add (character + "AVTWYaeoy.,-" + character);

            juce::Path fromEmbedded, fromSystem;
            EXPECT_TRUE (embedded->getOutlineForGlyph ((int) character[0], fromEmbedded));
            EXPECT_TRUE (system->getOutlineForGlyph ((int) character[0], fromSystem));
            EXPECT_TRUE (fromEmbedded == fromSystem) << "outline of U+" << juce::String::toHexString ((int) character[0]);
        }

        texts.add (everyCharacter);
        texts.addArray (uncoveredTexts);

        for (const auto& text : texts)
        {
            juce::Array<int> embeddedGlyphs, systemGlyphs;
            juce::Array<float> embeddedOffsets, systemOffsets;
            embedded->getGlyphPositions (text, embeddedGlyphs, embeddedOffsets);
            system->getGlyphPositions (text, systemGlyphs, systemOffsets);

            EXPECT_EQ (embeddedGlyphs, systemGlyphs) << text;
            EXPECT_EQ (embeddedOffsets, systemOffsets) << text;
            EXPECT_EQ (embedded->getStringWidth (text), system->getStringWidth (text)) << text;
        }

        for (const auto& text : uncoveredTexts)
        {
            for (auto c = text.getCharPointer(); ! c.isEmpty();)
            {
                const auto glyph = (int) c.getAndAdvance();
                juce::Path fromEmbedded, fromSystem;
                embedded->getOutlineForGlyph (glyph, fromEmbedded);
                system->getOutlineForGlyph (glyph, fromSystem);
                EXPECT_TRUE (fromEmbedded == fromSystem) << "outline of U+" << juce::String::toHexString (glyph);
            }
        }
    }
}

TEST (TravikLookAndFeel, PaintsTextPixelForPixelAsBefore)
{
    if (! systemSansIsDejaVu())
        GTEST_SKIP() << "the system's sans-serif font is not DejaVu Sans";

    const auto paint = [] (juce::LookAndFeel& lookAndFeel)
    {
        // Fonts resolve their typeface through the default look and feel, and
        // cache it: both go for the time of the painting.
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        juce::Typeface::clearTypefaceCache();

        auto texts = sampleTexts;
        texts.addArray (uncoveredTexts);

        juce::Image image (juce::Image::RGB, 400, 40 * texts.size(), true);

        {
            juce::Graphics g (image);
            g.fillAll (juce::Colours::white);
            g.setColour (juce::Colours::black);

            const auto fonts = fontsTheEditorUses();

            for (int i = 0; i < texts.size(); ++i)
            {
                g.setFont (fonts[(size_t) i % fonts.size()].withHeight (13.0f + (float) (i % 5)));
                g.drawFittedText (texts[i], 2, i * 40, 396, 38, juce::Justification::centredLeft, 2);
            }
        }

        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        juce::Typeface::clearTypefaceCache();
        return image;
    };

    juce::LookAndFeel_V4 framework;
    TravikLookAndFeel travik;
    const auto before = paint (framework);
    const auto after = paint (travik);

    const juce::Image::BitmapData a (before, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData b (after, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < a.height; ++y)
        ASSERT_EQ (std::memcmp (a.getLinePointer (y), b.getLinePointer (y), (size_t) (a.width * a.pixelStride)), 0)
            << "row " << y;
}

namespace
{

template <typename Paint>
juce::Image paintInto (juce::Rectangle<int> size, Paint&& paint)
{
    juce::Image image (juce::Image::ARGB, size.getWidth(), size.getHeight(), true);
    juce::Graphics g (image);
    paint (g);
    return image;
}

bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;

    return true;
}

bool samePixels (const juce::Image& a, const juce::Image& b)
{
    const juce::Image::BitmapData x (a, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData y (b, juce::Image::BitmapData::readOnly);

    for (int row = 0; row < x.height; ++row)
        if (std::memcmp (x.getLinePointer (row), y.getLinePointer (row), (size_t) (x.width * x.pixelStride)) != 0)
            return false;

    return true;
}

const juce::StringArray buttonAndLabelTexts {
    "Connect", "Firmware Upgrade", "C#(-1)", " C(4)", "CC64", "ErrOnMidiMsgType", "",
    "A caption far too long for the space it is given, so it has to be squeezed or cut",
    "two\nlines",
};

} // namespace

TEST (TravikLookAndFeel, DrawsButtonTextAsLookAndFeelV2)
{
    TravikLookAndFeel lookAndFeel;
    auto painted = 0;

    for (const auto& text : buttonAndLabelTexts)
    {
        for (auto size : { juce::Rectangle<int> (60, 36), juce::Rectangle<int> (94, 23), juce::Rectangle<int> (12, 10) })
        {
            for (int state = 0; state < 4; ++state)
            {
                juce::TextButton button (text);
                button.setBounds (size);
                button.setToggleState ((state & 1) != 0, juce::dontSendNotification);
                button.setEnabled ((state & 2) == 0);
                button.setConnectedEdges (state == 3 ? juce::Button::ConnectedOnLeft : 0);
                button.setLookAndFeel (&lookAndFeel);

                const auto ours = paintInto (size, [&] (juce::Graphics& g) { lookAndFeel.drawButtonText (g, button, false, false); });
                const auto v2 = paintInto (size, [&] (juce::Graphics& g) { lookAndFeel.juce::LookAndFeel_V2::drawButtonText (g, button, false, false); });

                EXPECT_TRUE (samePixels (ours, v2)) << text << " in " << size.toString() << ", state " << state;
                painted += isBlank (ours) ? 0 : 1;
                button.setLookAndFeel (nullptr);
            }
        }
    }

    EXPECT_GT (painted, 50);
}

TEST (TravikLookAndFeel, DrawsLabelsAsLookAndFeelV2)
{
    TravikLookAndFeel lookAndFeel;
    auto painted = 0;

    for (const auto& text : buttonAndLabelTexts)
    {
        for (auto size : { juce::Rectangle<int> (200, 22), juce::Rectangle<int> (66, 24), juce::Rectangle<int> (40, 40) })
        {
            for (int state = 0; state < 4; ++state)
            {
                juce::Label label ({}, text);
                label.setBounds (size);
                label.setJustificationType (state == 1 ? juce::Justification::centredLeft : juce::Justification::centred);
                label.setMinimumHorizontalScale (state == 2 ? 1.0f : 0.0f);
                label.setEnabled (state != 3);
                label.setColour (juce::Label::backgroundColourId, juce::Colour (0x0affffff));
                label.setColour (juce::Label::outlineColourId, juce::Colours::red);
                label.setLookAndFeel (&lookAndFeel);

                const auto ours = paintInto (size, [&] (juce::Graphics& g) { lookAndFeel.drawLabel (g, label); });
                const auto v2 = paintInto (size, [&] (juce::Graphics& g) { lookAndFeel.juce::LookAndFeel_V2::drawLabel (g, label); });

                EXPECT_TRUE (samePixels (ours, v2)) << text << " in " << size.toString() << ", state " << state;
                painted += isBlank (ours) ? 0 : 1;
                label.setLookAndFeel (nullptr);
            }
        }
    }

    EXPECT_GT (painted, 50);
}
