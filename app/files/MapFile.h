#pragma once

#include <juce_data_structures/juce_data_structures.h>

//==============================================================================
/** Map files ("*.travik"): one map as UTF-8 XML.

    A map file comes from anywhere (mail, forums), so reading bounds its size,
    parses it through zorvane::XmlGuard and then checks that it is a proper map
    before anything of the program sees it.
*/
namespace MapFile
{
    /** A proper map is a few kB; anything larger is refused before it is read. */
    constexpr juce::int64 maxFileSize = 1 << 20;

    /** map > controls > control. */
    constexpr int maxDepth = 3;

    /** Writes a map tree in the file format, replacing the file atomically: on
        failure an existing file is left as it was.
    */
    juce::Result write (const juce::ValueTree& map, const juce::File& file);

    /** Reads, checks and returns a map with its canonical "mode" and "name" first.
        Fails with "Could not load mapping data" (and what was wrong with the map,
        when it is well-formed) and leaves `map` untouched.
    */
    juce::Result read (const juce::File& file, juce::ValueTree& map);

    /** The same for the bytes of a map file already in memory. */
    juce::Result parse (const void* data, size_t numBytes, juce::ValueTree& map);

    /** Every problem that keeps a tree from being a proper map, one text each,
        naming the control and the field; empty for a proper map.
    */
    juce::StringArray findProblems (const juce::ValueTree& map);

    /** The problems of a file: "Could not load mapping data" alone when it cannot
        be read or is not well-formed, else those of findProblems.
    */
    juce::StringArray checkFile (const juce::File& file);

    /** The text of a map file for this tree, exactly as write() stores it. */
    juce::String toText (const juce::ValueTree& map);
}
