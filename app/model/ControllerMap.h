#pragma once

#include <juce_core/juce_core.h>
#include <juce_data_structures/juce_data_structures.h>

//==============================================================================
/** The identifiers of the map document. Each one's text is its own name, so the
    XML form of a map reads with the same words as the code.
*/
namespace Tags
{
    inline const juce::Identifier modes    { "modes" };
    inline const juce::Identifier map      { "map" };
    inline const juce::Identifier mode     { "mode" };
    inline const juce::Identifier name     { "name" };
    inline const juce::Identifier controls { "controls" };
    inline const juce::Identifier control  { "control" };
    inline const juce::Identifier id       { "id" };
    inline const juce::Identifier kind     { "kind" };
    inline const juce::Identifier type     { "type" };
    inline const juce::Identifier chan     { "chan" };
    inline const juce::Identifier value    { "value" };
}

//==============================================================================
/** The control mode of the device: which protocol its buttons speak.

    Converts implicitly to its enumerator, so it can be compared, switched on and
    used as an index (the value is the mode's place in every per-mode table).
*/
class CtMode
{
public:
    enum Type
    {
        Mackie = 0,
        Logic = 1,
        ProTools = 2,
        UserDefined = 3
    };

    static constexpr int numTypes = 4;

    CtMode (Type t = Mackie) noexcept : type (t) {}

    /** Parses a slug, ignoring blanks around it; anything else gives Mackie. */
    explicit CtMode (const juce::String& text);

    operator Type() const noexcept   { return type; }

    /** "Mackie", "Logic", "Pro Tools", "User Defined"; empty outside 0..3. */
    static juce::String slugForType (int t);

    /** "MCP", "Logic Pro", "HUI", "User Defined (MCP)"; empty outside 0..3. */
    static juce::String nameForType (int t);

private:
    Type type;
};

//==============================================================================
/** The kind of a physical control. Every mappable control is a button; the other
    kinds only sort controls in CtMap::getControls.
*/
class CtKind
{
public:
    enum Type
    {
        Button = 0,
        Knob = 1,
        JogWheel = 2,
        Fader = 3,
        MasterFader = 4
    };

    static constexpr int numTypes = 5;

    CtKind (Type t = Button) noexcept : type (t) {}

    /** Exact, case-sensitive match of a slug; anything else gives Button. */
    explicit CtKind (const juce::String& text);

    operator Type() const noexcept   { return type; }

    /** "button", "knob", "jog-wheel", "fader", "master-fader"; empty outside 0..4. */
    static juce::String slugForType (int t);

private:
    Type type;
};

//==============================================================================
/** The MIDI message a control sends in the Mackie Control modes. */
class CtType
{
public:
    enum Type
    {
        Note = 0,
        Cc = 1,
        Pitch = 2
    };

    static constexpr int numTypes = 3;

    CtType (Type t = Note) noexcept : type (t) {}

    /** Exact, case-sensitive match of a slug; anything else gives Note. */
    explicit CtType (const juce::String& text);

    operator Type() const noexcept   { return type; }

    /** "note", "cc", "pitch"; empty outside 0..2. */
    static juce::String slugForType (int t);

private:
    Type type;
};

//==============================================================================
/** One controller map: the assignment of the 50 mappable controls in one mode.

    This is a thin handle on a juce::ValueTree. Copies, and every control tree
    handed out, share the same data, so an edit made through one holder is seen
    by all of them (the device model relies on this to let the editor change the
    stored maps in place).
*/
class CtMap
{
public:
    /** A new factory map of the Mackie mode. */
    CtMap();

    /** A new factory map of the given mode. */
    explicit CtMap (CtMode mode);

    /** A view onto an existing map tree, used as it is: nothing is checked or added. */
    explicit CtMap (const juce::ValueTree& tree);

    //==============================================================================
    /** The mode named by the "mode" property (Mackie when it names none). */
    CtMode getCtMode() const;

    /** Rewrites the tree as a complete Mackie map holding base values. */
    void addMissingProperties();

    /** Writes the factory "value", "type" and "chan" of the map's mode into every
        control, after returning the mode's code table to its factory codes.
    */
    void setDefaultValues();

    /** Back to the factory values of the map's mode. */
    void reset();

    //==============================================================================
    /** The control at a child index, or an invalid tree. */
    juce::ValueTree getControl (int index) const;

    /** The first control whose "id" equals the given id (a text "12" matches 12),
        or an invalid tree.
    */
    juce::ValueTree getControlById (int id) const;

    /** Appends every control to the array of its kind, then sorts each array by id.
        The arrays are not cleared first.
    */
    void getControls (juce::Array<juce::ValueTree>& buttons,
                      juce::Array<juce::ValueTree>& knobs,
                      juce::Array<juce::ValueTree>& jogWheels,
                      juce::Array<juce::ValueTree>& faders,
                      juce::Array<juce::ValueTree>& masterFaders) const;

    juce::ValueTree getTree() const   { return tree; }

    //==============================================================================
    /** The map's data; shared, not owned (a juce::ValueTree is a reference). */
    juce::ValueTree tree;
};

//==============================================================================
/** Orders control trees by their integer "id", for juce::Array::sort. */
struct ControlSorter
{
    static int compareElements (const juce::ValueTree& first, const juce::ValueTree& second);
};
