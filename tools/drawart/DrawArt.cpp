// Draws the three images the editor embeds (the background, the product wordmark
// and the maker's logo) and writes them as PNGs into the folder given on the
// command line. Everything is drawn with JUCE's own renderer so the artwork can be
// reproduced on any machine that builds the program.
//
// The geometry here is tied to the editor's layout: the panel matches the rounded
// rectangle the main view paints when the background is missing, the recessed
// plates sit behind the 5 x 10 grid of control buttons, and the wordmark and logo
// keep the sizes the view lays out and hit-tests against.

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <iostream>

namespace
{

//==============================================================================
juce::Colour grey (int level, float alpha = 1.0f)
{
    return juce::Colour::greyLevel ((float) level / 255.0f).withAlpha (alpha);
}

// The fonts shipped with every Linux box we build on; JUCE falls back to its
// default sans-serif face if the family is missing.
juce::Font dejaVu (const juce::String& style, float height)
{
    return juce::Font ("DejaVu Sans", style, height);
}

/** The outline of a line of text, letter-spaced by `tracking` (a fraction of the height). */
juce::Path textPath (const juce::String& text, const juce::Font& font, float tracking = 0.0f)
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font.withExtraKerningFactor (tracking), text, 0.0f, 0.0f);

    juce::Path path;
    glyphs.createPath (path);
    return path;
}

/** Slants a path about its baseline (y == 0), as an italic would. */
juce::Path slanted (juce::Path path, float slant)
{
    path.applyTransform (juce::AffineTransform::shear (-slant, 0.0f));
    return path;
}

juce::Result writePng (const juce::Image& image, const juce::File& target)
{
    juce::TemporaryFile temp (target);

    {
        juce::FileOutputStream out (temp.getFile());

        if (out.failedToOpen())
            return juce::Result::fail ("Cannot write " + temp.getFile().getFullPathName());

        juce::PNGImageFormat png;

        if (! png.writeImageToStream (image, out))
            return juce::Result::fail ("Cannot encode " + target.getFileName());
    }

    if (! temp.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("Cannot replace " + target.getFullPathName());

    return juce::Result::ok();
}

//==============================================================================
// The background, 1000 x 600 and opaque. The view shows its top 576 rows; the combo
// boxes and command buttons sit on the plain ground below the panel.
namespace Background
{
    constexpr int width = 1000, height = 600;

    // The panel's outer edge covers the pixels (13, 12) to (986, 465); the two-pixel
    // outline is stroked on its centre line, one pixel in from that edge.
    const juce::Rectangle<float> outlineCentre { 14.0f, 13.0f, 972.0f, 452.0f };
    constexpr float cornerRadius = 14.0f;

    // Control buttons in view coordinates: 60 x 36 at x = 60 + 85 c, y = 122 + 64 r.
    juce::Rectangle<float> buttonArea (int firstColumn, int lastColumn)
    {
        const auto left = 60 + 85 * firstColumn;
        const auto right = 60 + 85 * lastColumn + 60;
        return { (float) left, 122.0f, (float) (right - left), (float) (64 * 4 + 36) };
    }

    void drawRecessedPlate (juce::Graphics& g, juce::Rectangle<float> area)
    {
        constexpr float radius = 7.0f;

        g.setColour (grey (192));
        g.fillRoundedRectangle (area, radius);

        // Light from above: the rim of the recess is in shadow at the top and
        // catches the light at the bottom.
        juce::Path rim;
        rim.addRoundedRectangle (area.reduced (0.5f), radius);

        g.setGradientFill (juce::ColourGradient::vertical (grey (166), area.getY(), grey (216), area.getBottom()));
        g.strokePath (rim, juce::PathStrokeType (1.0f));
    }

    /** A status LED, off, with its legend underneath. */
    void drawIndicator (juce::Graphics& g, juce::Point<float> centre, const juce::String& legend)
    {
        const auto lens = juce::Rectangle<float> (7.0f, 7.0f).withCentre (centre);

        g.setColour (grey (214));
        g.fillEllipse (lens.expanded (1.5f));
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xff8a4a46), lens.getTopLeft(),
                                                 juce::Colour (0xff5a2b28), lens.getBottomRight(), false));
        g.fillEllipse (lens);
        g.setColour (juce::Colours::white.withAlpha (0.35f));
        g.fillEllipse (juce::Rectangle<float> (2.5f, 2.0f).withCentre (lens.getCentre().translated (-1.2f, -1.4f)));

        g.setColour (grey (145));
        g.setFont (dejaVu ("Bold", 8.5f).withExtraKerningFactor (0.12f));
        g.drawText (legend, juce::Rectangle<float> (60.0f, 12.0f).withCentre (centre.translated (0.0f, 13.0f)),
                    juce::Justification::centred, false);
    }

    void drawScrew (juce::Graphics& g, juce::Point<float> centre)
    {
        const auto head = juce::Rectangle<float> (9.0f, 9.0f).withCentre (centre);

        g.setGradientFill (juce::ColourGradient (grey (214), head.getTopLeft(),
                                                 grey (170), head.getBottomRight(), false));
        g.fillEllipse (head);
        g.setColour (grey (150));
        g.drawEllipse (head, 0.8f);

        juce::Path slot;
        slot.startNewSubPath (centre.translated (-2.6f, 2.6f));
        slot.lineTo (centre.translated (2.6f, -2.6f));
        g.setColour (grey (140));
        g.strokePath (slot, juce::PathStrokeType (1.1f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    juce::Image draw()
    {
        juce::Image image (juce::Image::RGB, width, height, true);
        juce::Graphics g (image);

        g.fillAll (juce::Colour (0xffeeeeee));

        juce::Path panel;
        panel.addRoundedRectangle (outlineCentre, cornerRadius);
        g.setColour (grey (199));
        g.fillPath (panel);

        // A faint bevel just inside the outline gives the panel some thickness.
        juce::Path bevel;
        bevel.addRoundedRectangle (outlineCentre.reduced (1.5f), cornerRadius - 1.5f);
        g.setGradientFill (juce::ColourGradient::vertical (grey (214), outlineCentre.getY(),
                                                           grey (199, 0.0f), outlineCentre.getY() + 60.0f));
        g.strokePath (bevel, juce::PathStrokeType (1.0f));

        g.setColour (grey (178));
        g.strokePath (panel, juce::PathStrokeType (2.0f));

        // The header with the maker's logo and the product name, set off from the
        // control area by an engraved line.
        const auto engraveY = 88.0f;
        g.setColour (grey (181));
        g.fillRect (juce::Rectangle<float> (34.0f, engraveY, 932.0f, 1.0f));
        g.setColour (grey (211));
        g.fillRect (juce::Rectangle<float> (34.0f, engraveY + 1.0f, 932.0f, 1.0f));

        // Eight channel strips and the global section to their right.
        constexpr float margin = 12.0f;
        drawRecessedPlate (g, buttonArea (0, 7).expanded (margin));
        drawRecessedPlate (g, buttonArea (8, 9).expanded (margin));

        for (auto c : { 26.0f, 974.0f })
        {
            drawScrew (g, { c, 100.0f });
            drawScrew (g, { c, 440.0f });
        }

        // The status lights in the free strip right of the buttons.
        const auto lightsX = std::round ((buttonArea (8, 9).getRight() + margin + outlineCentre.getRight()) * 0.5f);
        drawIndicator (g, { lightsX, 134.0f }, "USB");
        drawIndicator (g, { lightsX, 174.0f }, "MIDI");

        // Printed legends at the foot of the panel.
        g.setColour (grey (150));
        g.setFont (dejaVu ("Bold", 10.0f).withExtraKerningFactor (0.18f));
        g.drawText ("CHANNEL", buttonArea (0, 7).withY (440.0f).withHeight (14.0f).toNearestInt(),
                    juce::Justification::centred, false);
        g.drawText ("GLOBAL", buttonArea (8, 9).withY (440.0f).withHeight (14.0f).toNearestInt(),
                    juce::Justification::centred, false);

        // The seam of the window frame along the very top.
        g.setColour (grey (85));
        g.fillRect (0, 0, width, 1);

        return image;
    }
}

//==============================================================================
// The product wordmark, 430 x 40 on a transparent ground, centred in its box.
namespace Wordmark
{
    constexpr int width = 430, height = 40;

    juce::Image draw()
    {
        juce::Image image (juce::Image::ARGB, width, height, true);
        juce::Graphics g (image);

        const auto ink = juce::Colour (0xff3c3c3c);
        const auto lightInk = juce::Colour (0xff6a6a6a);

        // Name: a bold, tightly set oblique with cap height about 24 px.
        auto name = slanted (textPath ("Dalvi V+", dejaVu ("Bold", 33.0f), -0.02f), 0.2f);

        // Tagline: small spaced capitals beside the name, after a thin rule.
        auto tagline = textPath ("DAW CONTROL SURFACE", dejaVu ("Book", 10.5f), 0.16f);

        const auto nameBounds = name.getBounds();
        const auto tagBounds = tagline.getBounds();
        constexpr float gap = 14.0f;
        const auto total = nameBounds.getWidth() + 2.0f * gap + 1.0f + tagBounds.getWidth();
        const auto left = std::floor (((float) width - total) * 0.5f);
        constexpr float baseline = 32.0f;

        name.applyTransform (juce::AffineTransform::translation (left - nameBounds.getX(), baseline));
        g.setColour (ink);
        g.fillPath (name);

        const auto ruleX = std::round (left + nameBounds.getWidth() + gap);
        g.setColour (lightInk.withAlpha (0.8f));
        g.fillRect (juce::Rectangle<float> (ruleX, 9.0f, 1.0f, 24.0f));

        tagline.applyTransform (juce::AffineTransform::translation (ruleX + 1.0f + gap - tagBounds.getX(), baseline - 7.0f));
        g.setColour (lightInk);
        g.fillPath (tagline);

        return image;
    }
}

//==============================================================================
// The maker's logo, 156 x 50 on a transparent ground. The view shows it at half
// size, so the shapes are kept bold enough to survive that.
namespace MakerLogo
{
    constexpr int width = 156, height = 50;

    juce::Image draw()
    {
        juce::Image image (juce::Image::ARGB, width, height, true);
        juce::Graphics g (image);

        const auto red = juce::Colour (0xffc62828);
        const auto ink = juce::Colour (0xff2e2e2e);

        // The mark: a disc with a Z cut through it.
        const juce::Rectangle<float> disc (3.0f, 5.0f, 40.0f, 40.0f);
        const auto d = disc.reduced (10.0f, 11.0f);

        juce::Path zed;
        zed.startNewSubPath (d.getX(), d.getY());
        zed.lineTo (d.getRight(), d.getY());
        zed.lineTo (d.getX(), d.getBottom());
        zed.lineTo (d.getRight(), d.getBottom());

        juce::Path zedStroke;
        juce::PathStrokeType (4.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::square)
            .createStrokedPath (zedStroke, zed);

        juce::Path mark;
        mark.addEllipse (disc);
        mark.addPath (zedStroke);
        mark.setUsingNonZeroWinding (false);

        g.setColour (red);
        g.fillPath (mark);

        // The name in spaced capitals, fitted to the room right of the mark.
        auto word = textPath ("ZORVANE", dejaVu ("Bold", 21.0f), 0.06f);
        const auto area = juce::Rectangle<float> (50.0f, 17.0f, 103.0f, 16.0f);
        word.applyTransform (word.getTransformToScaleToFit (area, true, juce::Justification::centredLeft));
        g.setColour (ink);
        g.fillPath (word);

        return image;
    }
}

} // namespace

//==============================================================================
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    if (argc != 2)
    {
        std::cerr << "usage: travik_drawart <output folder>\n";
        return 2;
    }

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1])));

    if (! folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }

    struct Output
    {
        const char* fileName;
        juce::Image image;
    };

    const Output outputs[] { { "bg.png", Background::draw() },
                             { "prod.png", Wordmark::draw() },
                             { "ZorvaneLogo.png", MakerLogo::draw() } };

    for (const auto& output : outputs)
    {
        const auto target = folder.getChildFile (output.fileName);
        const auto result = writePng (output.image, target);

        if (result.failed())
        {
            std::cerr << result.getErrorMessage() << "\n";
            return 1;
        }

        std::cout << target.getFullPathName() << "\n";
    }

    return 0;
}
