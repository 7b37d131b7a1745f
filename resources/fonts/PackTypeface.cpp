// Converts a Travik Sans .ttf into JUCE's own serialised typeface format, the
// form the editor embeds (see resources/make-fonts.sh):
//
//   travik_packtypeface <font.ttf> <output.typeface>
//
// The conversion is JUCE's: the font is opened with JUCE's FreeType typeface,
// every character of the set is loaded through it (outline, advance and its
// kerning against every other character of the font), and the result is written
// with juce::CustomTypeface::writeToStream. The editor reads it back with
// juce::CustomTypeface's stream constructor and so draws exactly what JUCE would
// draw from the .ttf, without starting FreeType, scanning the system's fonts or
// looking up kerning pairs one by one at start-up.

#include "app/ui/TravikSans.h"

#include <juce_graphics/juce_graphics.h>

#include <iostream>

int main (int argc, char* argv[])
{
    if (argc != 3)
    {
        std::cerr << "usage: travik_packtypeface <font.ttf> <output.typeface>\n";
        return 2;
    }

    const juce::File source (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const juce::File destination (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));

    juce::MemoryBlock fontData;

    if (! source.loadFileAsData (fontData) || fontData.isEmpty())
    {
        std::cerr << "cannot read " << source.getFullPathName() << "\n";
        return 1;
    }

    auto typeface = juce::Typeface::createSystemTypefaceFor (fontData.getData(), fontData.getSize());
    auto* glyphs = dynamic_cast<juce::CustomTypeface*> (typeface.get());

    if (glyphs == nullptr || typeface->getName().isEmpty())
    {
        std::cerr << source.getFullPathName() << " is not a font FreeType can open\n";
        return 1;
    }

    // Asking for a character's position loads its glyph and its kerning pairs.
    for (juce::juce_wchar c = 0; c < 0x10000; ++c)
    {
        if (TravikSans::covers (c))
        {
            juce::Array<int> glyphNumbers;
            juce::Array<float> offsets;
            typeface->getGlyphPositions (juce::String::charToString (c), glyphNumbers, offsets);
        }
    }

    juce::MemoryOutputStream serialised;

    if (! glyphs->writeToStream (serialised))
    {
        std::cerr << "cannot serialise " << source.getFullPathName() << "\n";
        return 1;
    }

    if (! destination.replaceWithData (serialised.getData(), serialised.getDataSize()))
    {
        std::cerr << "cannot write " << destination.getFullPathName() << "\n";
        return 1;
    }

    std::cout << destination.getFullPathName() << ": " << typeface->getName() << " " << typeface->getStyle()
              << ", " << serialised.getDataSize() << " bytes\n";
    return 0;
}
