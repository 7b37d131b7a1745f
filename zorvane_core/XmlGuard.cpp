#include "zorvane_core/XmlGuard.h"

#include <limits>
#include <string_view>
#include <vector>

namespace zorvane
{

namespace
{
    // A single forward pass over the bytes with an explicit stack of open tags:
    // nothing here recurses, so neither the nesting nor the length of the input
    // can exhaust the call stack, and every loop advances by at least one byte.
    class Checker
    {
    public:
        Checker (const char* d, size_t n, int depthLimit)
            : data (reinterpret_cast<const unsigned char*> (d)), size (n), maxDepth (depthLimit) {}

        juce::Result run()
        {
            if (data == nullptr || size == 0)
            {
                fail ("the document is empty");
                return error;
            }

            if (! isValidUtf8())
                return error;

            if (startsWith ("\xEF\xBB\xBF"))
                pos = 3;

            if (startsWith ("<?xml") && pos + 5 < size && isSpace (data[pos + 5]))
                if (! skipPast ("?>", "an unterminated XML declaration"))
                    return error;

            if (! skipMisc())
                return error;

            if (pos >= size || data[pos] != '<')
            {
                fail ("no document element");
                return error;
            }

            if (! parseElements())
                return error;

            if (! skipMisc())
                return error;

            if (pos < size)
            {
                fail ("content after the document element");
                return error;
            }

            return juce::Result::ok();
        }

        juce::Result error { juce::Result::ok() };

    private:
        //==============================================================================
        bool fail (const juce::String& what)
        {
            error = juce::Result::fail (what + " (at byte " + juce::String ((juce::int64) pos) + ")");
            return false;
        }

        bool startsWith (std::string_view s) const
        {
            return size - pos >= s.size() && std::string_view (reinterpret_cast<const char*> (data + pos), s.size()) == s;
        }

        static bool isSpace (unsigned char c)      { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
        // Names are plain ASCII: nothing this program reads needs more, and JUCE's
        // parser is least surprising there.
        static bool isNameStart (unsigned char c)  { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':'; }
        static bool isNameChar (unsigned char c)   { return isNameStart (c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

        void skipSpace()
        {
            while (pos < size && isSpace (data[pos]))
                ++pos;
        }

        /** Moves past the next occurrence of `terminator`, or fails. */
        bool skipPast (std::string_view terminator, const char* whatIfMissing)
        {
            const std::string_view rest (reinterpret_cast<const char*> (data + pos), size - pos);
            const auto found = rest.find (terminator);

            if (found == std::string_view::npos)
                return fail (whatIfMissing);

            pos += found + terminator.size();
            return true;
        }

        /** White space and comments between the declaration, the root and the end. */
        bool skipMisc()
        {
            for (;;)
            {
                skipSpace();

                if (pos >= size)
                    return true;

                if (startsWith ("<!--"))
                {
                    pos += 4;

                    if (! skipPast ("-->", "an unterminated comment"))
                        return false;

                    continue;
                }

                if (startsWith ("<!"))
                    return fail ("a document type or markup declaration, which is not accepted");

                if (startsWith ("<?"))
                    return fail ("a processing instruction, which is not accepted");

                if (data[pos] != '<')
                    return fail ("text outside the document element");

                return true;
            }
        }

        std::string_view readName()
        {
            const auto start = pos;

            if (pos < size && isNameStart (data[pos]))
                while (pos < size && isNameChar (data[pos]))
                    ++pos;

            return { reinterpret_cast<const char*> (data + start), pos - start };
        }

        /** Checks an entity or character reference starting at '&'. */
        bool checkReference()
        {
            ++pos;
            const auto start = pos;

            while (pos < size && data[pos] != ';' && pos - start < 12)
                ++pos;

            if (pos >= size || data[pos] != ';')
                return fail ("a malformed character reference");

            const std::string_view ref (reinterpret_cast<const char*> (data + start), pos - start);
            ++pos;

            if (ref == "lt" || ref == "gt" || ref == "amp" || ref == "quot" || ref == "apos")
                return true;

            if (ref.size() < 2 || ref[0] != '#')
                return fail ("a reference to an undeclared entity");

            const bool hex = ref[1] == 'x';
            const auto digits = ref.substr (hex ? 2 : 1);

            if (digits.empty() || digits.size() > 8)
                return fail ("a malformed character reference");

            juce::uint32 code = 0;

            for (auto c : digits)
            {
                int v = -1;

                if (c >= '0' && c <= '9')                 v = c - '0';
                else if (hex && c >= 'a' && c <= 'f')     v = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')     v = c - 'A' + 10;

                if (v < 0)
                    return fail ("a malformed character reference");

                code = code * (hex ? 16u : 10u) + (juce::uint32) v;
            }

            const bool allowed = code == 0x9 || code == 0xA || code == 0xD
                              || (code >= 0x20 && code <= 0xD7FF)
                              || (code >= 0xE000 && code <= 0xFFFD)
                              || (code >= 0x10000 && code <= 0x10FFFF);

            return allowed || fail ("a character reference to a character XML does not allow");
        }

        /** The attributes of a start tag, up to and including '>' or '/>'. */
        bool parseAttributes (bool& selfClosing)
        {
            std::vector<std::string_view> seen;

            for (;;)
            {
                const auto before = pos;
                skipSpace();

                if (pos >= size)
                    return fail ("an unterminated start tag");

                if (data[pos] == '>')
                {
                    ++pos;
                    selfClosing = false;
                    return true;
                }

                if (startsWith ("/>"))
                {
                    pos += 2;
                    selfClosing = true;
                    return true;
                }

                if (pos == before)
                    return fail ("a malformed start tag");

                const auto name = readName();

                if (name.empty())
                    return fail ("a malformed attribute");

                for (const auto& other : seen)
                    if (other == name)
                        return fail ("a repeated attribute");

                if (seen.size() >= 256)
                    return fail ("too many attributes");

                seen.push_back (name);
                skipSpace();

                if (pos >= size || data[pos] != '=')
                    return fail ("an attribute without a value");

                ++pos;
                skipSpace();

                if (pos >= size || (data[pos] != '"' && data[pos] != '\''))
                    return fail ("an attribute value without quotes");

                const auto quote = data[pos++];

                for (;;)
                {
                    if (pos >= size)
                        return fail ("an unterminated attribute value");

                    const auto c = data[pos];

                    if (c == quote)
                    {
                        ++pos;
                        break;
                    }

                    if (c == '<')
                        return fail ("a '<' inside an attribute value");

                    if (c == '&')
                    {
                        if (! checkReference())
                            return false;
                    }
                    else
                    {
                        ++pos;
                    }
                }
            }
        }

        bool parseElements()
        {
            std::vector<std::string_view> open;

            for (;;)
            {
                if (pos >= size)
                    return fail ("an unterminated element");

                const auto c = data[pos];

                if (c != '<')
                {
                    if (c == '&')
                    {
                        if (! checkReference())
                            return false;
                    }
                    else
                    {
                        ++pos;
                    }

                    continue;
                }

                if (startsWith ("<!--"))
                {
                    pos += 4;

                    if (! skipPast ("-->", "an unterminated comment"))
                        return false;

                    continue;
                }

                if (startsWith ("<![CDATA["))
                {
                    pos += 9;

                    if (! skipPast ("]]>", "an unterminated CDATA section"))
                        return false;

                    continue;
                }

                if (startsWith ("<!"))
                    return fail ("a markup declaration inside an element");

                if (startsWith ("<?"))
                    return fail ("a processing instruction, which is not accepted");

                if (startsWith ("</"))
                {
                    pos += 2;
                    const auto name = readName();
                    skipSpace();

                    if (pos >= size || data[pos] != '>')
                        return fail ("a malformed end tag");

                    ++pos;

                    if (open.empty() || open.back() != name)
                        return fail ("an end tag that does not match its start tag");

                    open.pop_back();

                    if (open.empty())
                        return true;

                    continue;
                }

                ++pos;
                const auto name = readName();

                if (name.empty())
                    return fail ("a malformed start tag");

                bool selfClosing = false;

                if (! parseAttributes (selfClosing))
                    return false;

                if (selfClosing)
                {
                    if (open.empty())
                        return true;

                    if ((int) open.size() + 1 > maxDepth)
                        return fail ("elements nested too deeply");

                    continue;
                }

                if ((int) open.size() + 1 > maxDepth)
                    return fail ("elements nested too deeply");

                open.push_back (name);
            }
        }

        //==============================================================================
        /** Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF,
            and no control characters but tab, line feed and carriage return.
        */
        bool isValidUtf8()
        {
            for (size_t i = 0; i < size;)
            {
                const auto c = data[i];
                pos = i;

                if (c < 0x80)
                {
                    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                        return fail ("a control character");

                    ++i;
                    continue;
                }

                size_t length = 0;
                juce::uint32 code = 0, minimum = 0;

                if ((c & 0xE0) == 0xC0)      { length = 2; code = c & 0x1Fu; minimum = 0x80; }
                else if ((c & 0xF0) == 0xE0) { length = 3; code = c & 0x0Fu; minimum = 0x800; }
                else if ((c & 0xF8) == 0xF0) { length = 4; code = c & 0x07u; minimum = 0x10000; }
                else                          return fail ("text that is not UTF-8");

                if (size - i < length)
                    return fail ("text that is not UTF-8");

                for (size_t k = 1; k < length; ++k)
                {
                    const auto next = data[i + k];

                    if ((next & 0xC0) != 0x80)
                        return fail ("text that is not UTF-8");

                    code = (code << 6) | (next & 0x3Fu);
                }

                if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    return fail ("text that is not UTF-8");

                i += length;
            }

            pos = 0;
            return true;
        }

        const unsigned char* data;
        size_t size;
        int maxDepth;
        size_t pos = 0;
    };

    bool hasByteOrderMark (const char* data, size_t numBytes)
    {
        return numBytes >= 3 && std::string_view (data, 3) == "\xEF\xBB\xBF";
    }
}

//==============================================================================
juce::Result XmlGuard::check (const void* data, size_t numBytes, int maxDepth)
{
    Checker checker (static_cast<const char*> (data), numBytes, maxDepth);
    const auto result = checker.run();
    return result.wasOk() ? result : juce::Result::fail ("Not a plain XML document: " + result.getErrorMessage());
}

std::unique_ptr<juce::XmlElement> XmlGuard::parse (const void* data, size_t numBytes, int maxDepth)
{
    if (numBytes > (size_t) std::numeric_limits<int>::max() || check (data, numBytes, maxDepth).failed())
        return {};

    auto* text = static_cast<const char*> (data);

    if (hasByteOrderMark (text, numBytes))
    {
        text += 3;
        numBytes -= 3;
    }

    // The bytes are known to be valid UTF-8 by now, so this reads exactly numBytes.
    juce::XmlDocument document (juce::String::fromUTF8 (text, (int) numBytes));
    auto element = document.getDocumentElement();

    if (document.getLastParseError().isNotEmpty())
        return {};

    return element;
}

bool XmlGuard::readFile (const juce::File& file, juce::int64 maxBytes, juce::MemoryBlock& bytes)
{
    if (! file.existsAsFile() || file.getSize() > maxBytes)
        return false;

    juce::FileInputStream in (file);

    if (! in.openedOk())
        return false;

    // The file may grow between the size check and the read, so read one byte
    // more than allowed and refuse if it arrives.
    juce::MemoryBlock block;
    in.readIntoMemoryBlock (block, (ssize_t) maxBytes + 1);

    if ((juce::int64) block.getSize() > maxBytes)
        return false;

    bytes = std::move (block);
    return true;
}

} // namespace zorvane
