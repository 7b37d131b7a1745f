#include "app/files/MapFile.h"

#include "app/model/ControllerMap.h"
#include "zorvane_core/XmlGuard.h"

#include <array>

namespace MapFile
{

namespace
{
    const juce::String loadFailure ("Could not load mapping data");

    juce::XmlElement::TextFormat fileFormat()
    {
        juce::XmlElement::TextFormat format;
        format.customEncoding = "UTF-8";
        format.lineWrapLength = 60;
        format.newLineChars = "\r\n";
        return format;
    }

    /** A whole number written as the program writes them: decimal digits, no sign
        and no leading zero. Anything else could read as one number here and fail to
        match as another elsewhere ("027" is 27 to an integer reader, but no control
        id equals it as text).
    */
    bool readInteger (const juce::var& v, int& result)
    {
        if (v.isInt() || v.isInt64())
        {
            result = (int) v;
            return true;
        }

        const auto text = v.toString();

        if (text.isEmpty() || text.length() > 4 || ! text.containsOnly ("0123456789")
            || (text.length() > 1 && text.startsWithChar ('0')))
            return false;

        result = text.getIntValue();
        return true;
    }

    /** The whole file, unless it is larger than any map file could be. */
    bool readBounded (const juce::File& file, juce::MemoryBlock& bytes)
    {
        return zorvane::XmlGuard::readFile (file, maxFileSize, bytes);
    }

    juce::String describe (const juce::var& v)
    {
        return "\"" + v.toString() + "\"";
    }
}

//==============================================================================
juce::StringArray findProblems (const juce::ValueTree& map)
{
    juce::StringArray problems;

    if (! map.hasType (Tags::map))
    {
        problems.add ("the document is <" + map.getType().toString() + ">, not <map>");
        return problems;
    }

    const auto controls = map.getChildWithName (Tags::controls);

    if (! controls.isValid())
    {
        problems.add ("the map has no <controls>");
        return problems;
    }

    const auto mode = CtMap (map).getCtMode();
    const auto maxValue = mode == CtMode::ProTools ? 49 : 127;
    std::array<bool, 50> seen {};

    for (const auto& control : controls)
    {
        if (! control.hasType (Tags::control))
        {
            problems.add ("unexpected <" + control.getType().toString() + "> among the controls");
            continue;
        }

        int id = 0;
        const auto idText = control.getProperty (Tags::id);

        if (! control.hasProperty (Tags::id))
        {
            problems.add ("a control has no \"id\"");
            continue;
        }

        if (! readInteger (idText, id) || id < 1 || id > 50)
        {
            problems.add ("a control has \"id\" " + describe (idText) + ", expected 1 to 50");
            continue;
        }

        const auto name = "control " + juce::String (id);

        if (seen[(size_t) (id - 1)])
        {
            problems.add (name + " appears more than once");
            continue;
        }

        seen[(size_t) (id - 1)] = true;

        const auto type = control.getProperty (Tags::type).toString();

        if (! control.hasProperty (Tags::type))
            problems.add (name + " has no \"type\"");
        else if (type != "note" && type != "cc" && type != "pitch")
            problems.add (name + " has \"type\" " + describe (type) + ", expected note, cc or pitch");

        struct Range { const juce::Identifier& property; int low, high; };

        for (const auto& range : { Range { Tags::chan, 1, 16 }, Range { Tags::value, 0, maxValue } })
        {
            const auto v = control.getProperty (range.property);
            int number = 0;

            if (! control.hasProperty (range.property))
                problems.add (name + " has no \"" + range.property.toString() + "\"");
            else if (! readInteger (v, number) || number < range.low || number > range.high)
                problems.add (name + " has \"" + range.property.toString() + "\" " + describe (v)
                              + ", expected " + juce::String (range.low) + " to " + juce::String (range.high));
        }
    }

    for (int id = 1; id <= 50; ++id)
        if (! seen[(size_t) (id - 1)])
            problems.add ("control " + juce::String (id) + " is missing");

    return problems;
}

//==============================================================================
juce::String toText (const juce::ValueTree& map)
{
    if (auto xml = map.createXml())
        return xml->toString (fileFormat());

    return {};
}

juce::Result write (const juce::ValueTree& map, const juce::File& file)
{
    const auto xml = map.createXml();

    if (xml == nullptr)
        return juce::Result::fail ("Could not save current mapping to disk");

    // Written to a temporary file beside the target, which then replaces it.
    if (! xml->writeTo (file, fileFormat()))
        return juce::Result::fail ("Failed to write mapping file");

    return juce::Result::ok();
}

juce::StringArray checkFile (const juce::File& file)
{
    juce::MemoryBlock bytes;
    std::unique_ptr<juce::XmlElement> xml;

    if (readBounded (file, bytes))
        xml = zorvane::XmlGuard::parse (bytes.getData(), bytes.getSize(), maxDepth);

    if (xml == nullptr)
        return { loadFailure };

    return findProblems (juce::ValueTree::fromXml (*xml));
}

juce::Result read (const juce::File& file, juce::ValueTree& map)
{
    juce::MemoryBlock bytes;

    if (! readBounded (file, bytes))
        return juce::Result::fail (loadFailure);

    return parse (bytes.getData(), bytes.getSize(), map);
}

juce::Result parse (const void* data, size_t numBytes, juce::ValueTree& map)
{
    const auto xml = zorvane::XmlGuard::parse (data, numBytes, maxDepth);

    if (xml == nullptr)
        return juce::Result::fail (loadFailure);

    const auto loaded = juce::ValueTree::fromXml (*xml);
    const auto problems = findProblems (loaded);

    if (! problems.isEmpty())
        return juce::Result::fail (loadFailure + ": " + problems[0]);

    // The mode may have come with blanks around it, or not at all: store the map
    // under its mode's exact slug and name, so it is found as that mode's map.
    const auto mode = CtMap (loaded).getCtMode();
    juce::ValueTree canonical (Tags::map);
    canonical.setProperty (Tags::mode, CtMode::slugForType (mode), nullptr);
    canonical.setProperty (Tags::name, CtMode::nameForType (mode), nullptr);

    for (int i = 0; i < loaded.getNumProperties(); ++i)
    {
        const auto property = loaded.getPropertyName (i);

        if (property != Tags::mode && property != Tags::name)
            canonical.setProperty (property, loaded[property], nullptr);
    }

    for (const auto& child : loaded)
        canonical.appendChild (child.createCopy(), nullptr);

    map = canonical;
    return juce::Result::ok();
}

} // namespace MapFile
