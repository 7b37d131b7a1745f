#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace zorvane
{

//==============================================================================
/** Parses XML that came from outside (a map file from a forum, a firmware list
    from a server) without letting it near the corners of JUCE's parser that hang
    or crash on hostile input.

    The text is checked first: strict UTF-8, one root element, matching tags,
    attributes with quoted values, only the predefined and numeric character
    references, comments and CDATA that end, and a nesting depth within the limit.
    A document type declaration, or any processing instruction but the XML
    declaration at the very start, is refused. Only a text that passes is handed
    to juce::XmlDocument.
*/
class XmlGuard
{
public:
    /** Checks the text; a failure says what was wrong and where. */
    static juce::Result check (const void* data, size_t numBytes, int maxDepth);

    /** The parsed document element, or nullptr when the text fails the check or does not parse. */
    static std::unique_ptr<juce::XmlElement> parse (const void* data, size_t numBytes, int maxDepth);

    /** Reads a whole file of at most maxBytes; a larger one is refused before it is read. */
    static bool readFile (const juce::File& file, juce::int64 maxBytes, juce::MemoryBlock& bytes);
};

} // namespace zorvane
