#include "zorvane_core/XmlGuard.h"

#include <gtest/gtest.h>

namespace
{
    using zorvane::XmlGuard;

    std::unique_ptr<juce::XmlElement> parse (const std::string& text, int depth = 3)
    {
        return XmlGuard::parse (text.data(), text.size(), depth);
    }

    std::string nested (int depth)
    {
        std::string s;

        for (int i = 0; i < depth; ++i)
            s += "<a>";

        for (int i = 0; i < depth; ++i)
            s += "</a>";

        return s;
    }

    struct Case
    {
        const char* what;
        std::string text;
    };
}

// Each of these would reach a corner of JUCE's parser that loops forever,
// overflows the stack or reads past the buffer; the guard must refuse them all
// before the parser sees them.
TEST (XmlGuard, RefusesInputThatBreaksTheParser)
{
    const Case cases[] = {
        { "processing instruction inside an element, then text", "<a><?x?>b</a>" },
        { "processing instruction after the root", "<a/><?pi x?>" },
        { "self-referencing entity", "<!DOCTYPE a [<!ENTITY e \"&e;\">]><a>&e;</a>" },
        { "any document type", "<!DOCTYPE a><a/>" },
        { "undeclared entity", "<a>&e;</a>" },
        { "deep nesting", nested (30000) },
        { "invalid UTF-8 lead byte", "<a b=\"\xff\"/>" },
        { "truncated UTF-8 sequence at the end", "<a/>\xe2\x82" },
        { "overlong UTF-8", "<a>\xc0\xaf</a>" },
        { "UTF-8 surrogate", "<a>\xed\xa0\x80</a>" },
        { "NUL byte", std::string ("<a>\0</a>", 8) },
        { "character reference to NUL", "<a>&#0;</a>" },
        { "character reference beyond Unicode", "<a>&#x110000;</a>" },
        { "unterminated comment", "<a><!-- x </a>" },
        { "unterminated CDATA", "<a><![CDATA[ x </a>" },
        { "unterminated attribute", "<a b=\"1/>" },
        { "unquoted attribute", "<a b=1/>" },
        { "repeated attribute", "<a b=\"1\" b=\"2\"/>" },
        { "mismatched end tag", "<a></b>" },
        { "truncated inside an element", "<map mode=\"Logic\"><controls>" },
        { "two roots", "<a/><b/>" },
        { "text outside the root", "x<a/>" },
        { "empty", "" },
        { "only a declaration", "<?xml version=\"1.0\"?>" },
        { "attributes run together", "<a b=\"1\"c=\"2\"/>" },
        { "non-ASCII element name", "<\xc3\xa9/>" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        EXPECT_TRUE (XmlGuard::check (c.text.data(), c.text.size(), 64).failed());
        EXPECT_EQ (parse (c.text, 64), nullptr);
    }
}

TEST (XmlGuard, AcceptsPlainDocuments)
{
    const Case cases[] = {
        { "declaration, blank line, CR LF", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<map mode=\"Logic\"/>\r\n" },
        { "byte order mark", "\xEF\xBB\xBF<a/>" },
        { "comments around and inside", "<!-- c --><a><!-- d --><b/></a><!-- e -->" },
        { "CDATA and references", "<a x=\"&lt;&amp;&#65;&#x42;\"><![CDATA[<not markup>]]>&gt;</a>" },
        { "single quotes and UTF-8 text", "<a b='caf\xc3\xa9 \xf0\x9f\x8e\xb9'>\xe2\x82\xac</a>" },
        { "exactly the allowed depth", nested (3) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        EXPECT_TRUE (XmlGuard::check (c.text.data(), c.text.size(), 3).wasOk())
            << XmlGuard::check (c.text.data(), c.text.size(), 3).getErrorMessage();
        EXPECT_NE (parse (c.text), nullptr);
    }
}

TEST (XmlGuard, DepthLimitCountsElementsIncludingEmptyOnes)
{
    EXPECT_NE (parse (nested (3), 3), nullptr);
    EXPECT_EQ (parse (nested (4), 3), nullptr);
    EXPECT_NE (parse ("<a><b><c/></b></a>", 3), nullptr);
    EXPECT_EQ (parse ("<a><b><c><d/></c></b></a>", 3), nullptr);
}

TEST (XmlGuard, ParsedDocumentKeepsAttributesAndText)
{
    const auto xml = parse ("<?xml version=\"1.0\"?><a x=\"&quot;1&quot;\" y='\xc3\xa9'>t&amp;u</a>");
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "a");
    EXPECT_EQ (xml->getStringAttribute ("x"), "\"1\"");
    EXPECT_EQ (xml->getStringAttribute ("y"), juce::String (juce::CharPointer_UTF8 ("\xc3\xa9")));
    EXPECT_EQ (xml->getAllSubText(), "t&u");
}

TEST (XmlGuard, FileLargerThanTheLimitIsRefusedUnread)
{
    const auto file = juce::File::createTempFile ("xml");
    ASSERT_TRUE (file.replaceWithText ("<a>" + juce::String::repeatedString ("x", 2000) + "</a>"));

    juce::MemoryBlock bytes;
    EXPECT_FALSE (XmlGuard::readFile (file, 1000, bytes));
    EXPECT_EQ (bytes.getSize(), 0u);
    EXPECT_FALSE (XmlGuard::readFile (file.getSiblingFile ("does-not-exist.xml"), 4096, bytes));
    ASSERT_TRUE (XmlGuard::readFile (file, 4096, bytes));
    EXPECT_EQ (bytes.getSize(), (size_t) file.getSize());
    file.deleteFile();
}
