#include "app/model/ControllerMap.h"

#include "app/model/Arrays.h"

namespace
{
    const char* const modeSlugs[]  { "Mackie", "Logic", "Pro Tools", "User Defined" };
    const char* const modeNames[]  { "MCP", "Logic Pro", "HUI", "User Defined (MCP)" };
    const char* const kindSlugs[]  { "button", "knob", "jog-wheel", "fader", "master-fader" };
    const char* const typeSlugs[]  { "note", "cc", "pitch" };

    template <size_t N>
    juce::String textAt (const char* const (&texts)[N], int index)
    {
        if (index < 0 || index >= (int) N)
            return {};

        return texts[index];
    }

    // The index of the first text equal to the given one, or 0: every parse in
    // the map document falls back to the first enumerator.
    template <size_t N>
    int indexOf (const char* const (&texts)[N], const juce::String& text)
    {
        for (int i = 0; i < (int) N; ++i)
            if (text == texts[i])
                return i;

        return 0;
    }

    constexpr int numControls = 50;
}

//==============================================================================
CtMode::CtMode (const juce::String& text)
    : type (static_cast<Type> (indexOf (modeSlugs, text.trim())))
{
}

juce::String CtMode::slugForType (int t)  { return textAt (modeSlugs, t); }
juce::String CtMode::nameForType (int t)  { return textAt (modeNames, t); }

CtKind::CtKind (const juce::String& text)
    : type (static_cast<Type> (indexOf (kindSlugs, text)))
{
}

juce::String CtKind::slugForType (int t)  { return textAt (kindSlugs, t); }

CtType::CtType (const juce::String& text)
    : type (static_cast<Type> (indexOf (typeSlugs, text)))
{
}

juce::String CtType::slugForType (int t)  { return textAt (typeSlugs, t); }

//==============================================================================
CtMap::CtMap()
    : tree (Tags::map)
{
    addMissingProperties();
    setDefaultValues();
}

CtMap::CtMap (CtMode mode)
    : tree (Tags::map)
{
    addMissingProperties();

    // Both properties exist already, so overwriting keeps the order mode, name.
    tree.setProperty (Tags::mode, CtMode::slugForType (mode), nullptr);
    tree.setProperty (Tags::name, CtMode::nameForType (mode), nullptr);

    setDefaultValues();
}

CtMap::CtMap (const juce::ValueTree& t)
    : tree (t)
{
}

CtMode CtMap::getCtMode() const
{
    return CtMode (tree.getProperty (Tags::mode, juce::String()).toString());
}

void CtMap::addMissingProperties()
{
    tree.setProperty (Tags::mode, CtMode::slugForType (CtMode::Mackie), nullptr);
    tree.setProperty (Tags::name, CtMode::nameForType (CtMode::Mackie), nullptr);

    auto controls = tree.getOrCreateChildWithName (Tags::controls, nullptr);
    controls.removeAllChildren (nullptr);

    for (int id = 1; id <= numControls; ++id)
    {
        juce::ValueTree control (Tags::control);
        control.setProperty (Tags::id, id, nullptr);
        control.setProperty (Tags::kind, CtKind::slugForType (Defa::kindForCid (id)), nullptr);
        control.setProperty (Tags::type, CtType::slugForType (CtType::Note), nullptr);
        control.setProperty (Tags::chan, 1, nullptr);
        control.setProperty (Tags::value, 0, nullptr);
        controls.appendChild (control, nullptr);
    }
}

void CtMap::setDefaultValues()
{
    const int mode = getCtMode();

    // Only this mode's table: the other maps keep their own codes, so what their
    // buttons show and send still matches their properties.
    Defa::loadFactoryCodes (mode);

    for (int i = 0; i < numControls; ++i)
    {
        auto control = getControl (i);
        const int id = control.getProperty (Tags::id, 0);

        control.setProperty (Tags::value, Defa::factoryValue (mode, id), nullptr);
        control.setProperty (Tags::type, Defa::getMstyStr (Defa::getMsgType (mode, id)), nullptr);
        control.setProperty (Tags::chan, Defa::getChan (mode, id), nullptr);
    }
}

void CtMap::reset()
{
    setDefaultValues();
}

juce::ValueTree CtMap::getControl (int index) const
{
    return tree.getChildWithName (Tags::controls).getChild (index);
}

juce::ValueTree CtMap::getControlById (int id) const
{
    // juce::var equality converts, so an id read from a file as text matches too.
    return tree.getChildWithName (Tags::controls).getChildWithProperty (Tags::id, id);
}

void CtMap::getControls (juce::Array<juce::ValueTree>& buttons,
                         juce::Array<juce::ValueTree>& knobs,
                         juce::Array<juce::ValueTree>& jogWheels,
                         juce::Array<juce::ValueTree>& faders,
                         juce::Array<juce::ValueTree>& masterFaders) const
{
    juce::Array<juce::ValueTree>* const byKind[] { &buttons, &knobs, &jogWheels, &faders, &masterFaders };

    for (const auto& control : tree.getChildWithName (Tags::controls))
        byKind[(int) CtKind (control[Tags::kind].toString())]->add (control);

    ControlSorter sorter;

    for (auto* array : byKind)
        array->sort (sorter, false);
}

//==============================================================================
int ControlSorter::compareElements (const juce::ValueTree& first, const juce::ValueTree& second)
{
    // Ids from a file can be any integer: subtract wide so the sign stays right.
    const auto difference = (juce::int64) static_cast<int> (first[Tags::id])
                          - (juce::int64) static_cast<int> (second[Tags::id]);

    return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
                               (juce::int64) std::numeric_limits<int>::max(),
                               difference);
}
