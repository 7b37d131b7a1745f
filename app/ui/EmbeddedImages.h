#pragma once

#include <juce_graphics/juce_graphics.h>

//==============================================================================
/** Images compiled into the program (BinaryData), decoded the lean way.

    JUCE's PNG loader first decodes a whole image into a temporary buffer of four
    bytes a pixel and only then converts it; for the 1000 x 600 background that
    buffer was 2.4 MB on top of the 1.8 MB image, the largest single allocation of
    the start-up. This decodes one row at a time straight into the image, and
    looks the rows of an indexed PNG (as the background is stored) up in its
    palette instead of having libpng expand and reorder them.
*/
namespace EmbeddedImages
{
    /** The same image, with the same pixel format and pixels, that
        juce::ImageCache::getFromMemory (data, size) gives, shared through the
        image cache under the same key, so either way finds it there. Formats the
        row-by-row decoder does not handle (interlaced PNGs, anything that is not
        a PNG) go to JUCE's own loader.
    */
    juce::Image getFromMemory (const void* data, int size);

    /** Only the decoding, without the cache: an invalid image when the data is
        not a PNG this decoder handles.
    */
    juce::Image decodePng (const void* data, size_t size);
}
