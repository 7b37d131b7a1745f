#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/** The characters of Travik Sans, the typeface embedded in the editor: a subset
    of DejaVu Sans made by resources/make-fonts.sh, whose list must match this one.
*/
namespace TravikSans
{
    /** True for the characters the embedded typeface has: printable ASCII,
        Latin-1, dashes, curly quotes, bullet, ellipsis, euro and trade mark.
    */
    inline bool covers (juce::juce_wchar c) noexcept
    {
        if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff))
            return true;

        switch (c)
        {
            case 0x2013: case 0x2014: case 0x2018: case 0x2019: case 0x201c: case 0x201d:
            case 0x2022: case 0x2026: case 0x20ac: case 0x2122:
                return true;

            default:
                return false;
        }
    }
}
