#include "app/model/Arrays.h"
#include "app/model/ControllerMap.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
    struct ControllerMapTest : public ::testing::Test
    {
        void SetUp() override     { Defa::resetCodeTables(); }
        void TearDown() override  { Defa::resetCodeTables(); }
    };

    juce::StringArray propertyNames (const juce::ValueTree& tree)
    {
        juce::StringArray names;

        for (int i = 0; i < tree.getNumProperties(); ++i)
            names.add (tree.getPropertyName (i).toString());

        return names;
    }

    // A map as a file gives it: every property is text.
    juce::ValueTree mapFromXml (const char* xml)
    {
        return juce::ValueTree::fromXml (xml);
    }
}

//==============================================================================
TEST (CtModeParse, TrimsThenMatchesSlugsExactly)
{
    struct Case { const char* text; CtMode::Type expected; };
    const Case cases[] {
        { "Mackie",            CtMode::Mackie },
        { "Logic",             CtMode::Logic },
        { " Logic ",           CtMode::Logic },
        { "\tPro Tools\n",     CtMode::ProTools },
        { "User Defined",      CtMode::UserDefined },
        { "logic",             CtMode::Mackie },
        { "ProTools",          CtMode::Mackie },
        { "User Defined (MCP)", CtMode::Mackie },
        { "HUI",               CtMode::Mackie },
        { "",                  CtMode::Mackie },
    };

    for (const auto& c : cases)
        EXPECT_EQ ((CtMode::Type) CtMode (juce::String (c.text)), c.expected) << "\"" << c.text << "\"";
}

TEST (CtKindAndTypeParse, MatchExactlyWithoutTrimming)
{
    struct KindCase { const char* text; CtKind::Type expected; };
    const KindCase kinds[] {
        { "button", CtKind::Button },        { "knob", CtKind::Knob },
        { "jog-wheel", CtKind::JogWheel },   { "fader", CtKind::Fader },
        { "master-fader", CtKind::MasterFader },
        { " knob", CtKind::Button },         { "Fader", CtKind::Button },
        { "jog wheel", CtKind::Button },     { "", CtKind::Button },
    };

    for (const auto& c : kinds)
        EXPECT_EQ ((CtKind::Type) CtKind (juce::String (c.text)), c.expected) << "\"" << c.text << "\"";

    struct TypeCase { const char* text; CtType::Type expected; };
    const TypeCase types[] {
        { "note", CtType::Note },   { "cc", CtType::Cc },      { "pitch", CtType::Pitch },
        { "CC", CtType::Note },     { "pitch ", CtType::Note }, { "Pitch", CtType::Note },
        { "", CtType::Note },
    };

    for (const auto& c : types)
        EXPECT_EQ ((CtType::Type) CtType (juce::String (c.text)), c.expected) << "\"" << c.text << "\"";
}

TEST (EnumerationTexts, SlugsAndNamesWithEmptyTextOutsideTheList)
{
    struct Case { juce::String (*function) (int); int value; const char* expected; };
    const Case cases[] {
        { CtMode::slugForType, 0, "Mackie" },     { CtMode::slugForType, 1, "Logic" },
        { CtMode::slugForType, 2, "Pro Tools" },  { CtMode::slugForType, 3, "User Defined" },
        { CtMode::slugForType, 4, "" },           { CtMode::slugForType, -1, "" },
        { CtMode::nameForType, 0, "MCP" },        { CtMode::nameForType, 1, "Logic Pro" },
        { CtMode::nameForType, 2, "HUI" },        { CtMode::nameForType, 3, "User Defined (MCP)" },
        { CtMode::nameForType, 4, "" },
        { CtKind::slugForType, 0, "button" },     { CtKind::slugForType, 1, "knob" },
        { CtKind::slugForType, 2, "jog-wheel" },  { CtKind::slugForType, 3, "fader" },
        { CtKind::slugForType, 4, "master-fader" },
        { CtKind::slugForType, -1, "" },          { CtKind::slugForType, 5, "" },
        { CtType::slugForType, 0, "note" },       { CtType::slugForType, 1, "cc" },
        { CtType::slugForType, 2, "pitch" },      { CtType::slugForType, 3, "" },
        { CtType::slugForType, -1, "" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (c.function (c.value), juce::String (c.expected)) << "value " << c.value;
}

//==============================================================================
TEST_F (ControllerMapTest, NewMapOfEachModeHasTheDocumentSchema)
{
    struct Case { CtMode::Type mode; const char* slug; const char* name; const char* type; };
    const Case cases[] {
        { CtMode::Mackie,      "Mackie",       "MCP",                "note" },
        { CtMode::Logic,       "Logic",        "Logic Pro",          "note" },
        { CtMode::ProTools,    "Pro Tools",    "HUI",                "cc" },
        { CtMode::UserDefined, "User Defined", "User Defined (MCP)", "note" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.slug);
        const CtMap map (c.mode);
        const auto tree = map.getTree();

        EXPECT_TRUE (tree.hasType (Tags::map));
        EXPECT_EQ (propertyNames (tree), juce::StringArray ({ "mode", "name" }));
        EXPECT_EQ (tree[Tags::mode].toString(), c.slug);
        EXPECT_EQ (tree[Tags::name].toString(), c.name);
        EXPECT_EQ ((CtMode::Type) map.getCtMode(), c.mode);

        ASSERT_EQ (tree.getNumChildren(), 1);
        const auto controls = tree.getChild (0);
        EXPECT_TRUE (controls.hasType (Tags::controls));
        EXPECT_EQ (controls.getNumProperties(), 0);
        ASSERT_EQ (controls.getNumChildren(), 50);

        for (int i = 0; i < 50; ++i)
        {
            const auto control = controls.getChild (i);
            EXPECT_TRUE (control.hasType (Tags::control));
            EXPECT_EQ (propertyNames (control), juce::StringArray ({ "id", "kind", "type", "chan", "value" }));
            EXPECT_TRUE (control[Tags::id].isInt());
            EXPECT_EQ ((int) control[Tags::id], i + 1);
            EXPECT_EQ (control[Tags::kind].toString(), "button");
            EXPECT_EQ (control[Tags::type].toString(), c.type);
            EXPECT_TRUE (control[Tags::chan].isInt());
            EXPECT_EQ ((int) control[Tags::chan], 1);
            EXPECT_TRUE (control[Tags::value].isInt());
            EXPECT_EQ (map.getControl (i), control);
        }
    }
}

TEST_F (ControllerMapTest, DefaultConstructedMapIsTheMackieFactoryMap)
{
    const CtMap map;
    EXPECT_EQ ((CtMode::Type) map.getCtMode(), CtMode::Mackie);
    EXPECT_EQ (map.getTree()[Tags::name].toString(), "MCP");
    EXPECT_EQ ((int) map.getControlById (1)[Tags::value], 40);
    EXPECT_EQ ((int) map.getControlById (50)[Tags::value], 73);
}

TEST_F (ControllerMapTest, AbsentOrUnknownModeReadsAsMackie)
{
    struct Case { const char* xml; CtMode::Type expected; };
    const Case cases[] {
        { "<map name=\"HUI\"><controls/></map>",                 CtMode::Mackie },
        { "<map mode=\"logic\"><controls/></map>",               CtMode::Mackie },
        { "<map mode=\" Logic \"><controls/></map>",             CtMode::Logic },
        { "<map mode=\"User Defined\"><controls/></map>",        CtMode::UserDefined },
    };

    for (const auto& c : cases)
        EXPECT_EQ ((CtMode::Type) CtMap (mapFromXml (c.xml)).getCtMode(), c.expected) << c.xml;
}

TEST_F (ControllerMapTest, AddMissingPropertiesRewritesAnyTreeAsABaseMackieMap)
{
    auto tree = mapFromXml ("<map mode=\"Pro Tools\" name=\"HUI\">"
                            "<controls><control id=\"7\" kind=\"fader\" type=\"cc\" chan=\"3\" value=\"9\"/></controls>"
                            "</map>");
    CtMap map (tree);
    map.addMissingProperties();

    EXPECT_EQ (tree[Tags::mode].toString(), "Mackie");
    EXPECT_EQ (tree[Tags::name].toString(), "MCP");
    ASSERT_EQ (tree.getNumChildren(), 1);
    const auto controls = tree.getChildWithName (Tags::controls);
    ASSERT_EQ (controls.getNumChildren(), 50);

    for (int i = 0; i < 50; ++i)
    {
        const auto control = controls.getChild (i);
        EXPECT_EQ ((int) control[Tags::id], i + 1);
        EXPECT_EQ (control[Tags::kind].toString(), "button");
        EXPECT_EQ (control[Tags::type].toString(), "note");
        EXPECT_EQ ((int) control[Tags::chan], 1);
        EXPECT_EQ ((int) control[Tags::value], 0);
    }
}

//==============================================================================
TEST_F (ControllerMapTest, ControlLookupsGiveInvalidTreesOutsideTheMap)
{
    const CtMap map (CtMode::Logic);

    for (int id : { 0, 51, -1 })
        EXPECT_FALSE (map.getControlById (id).isValid()) << "id " << id;

    for (int index : { -1, 50 })
        EXPECT_FALSE (map.getControl (index).isValid()) << "index " << index;

    const CtMap noControls (mapFromXml ("<map mode=\"Logic\"/>"));
    EXPECT_FALSE (noControls.getControl (0).isValid());
    EXPECT_FALSE (noControls.getControlById (1).isValid());
    EXPECT_EQ ((CtMode::Type) noControls.getCtMode(), CtMode::Logic);
}

TEST_F (ControllerMapTest, GetControlByIdMatchesTextIdsAndTakesTheFirstOfDuplicates)
{
    const CtMap map (mapFromXml ("<map mode=\"Mackie\" name=\"MCP\"><controls>"
                                 "<control id=\"3\" value=\"1\"/>"
                                 "<control id=\"12\" value=\"2\"/>"
                                 "<control id=\"12\" value=\"3\"/>"
                                 "<control id=\" 5\" value=\"4\"/>"
                                 "</controls></map>"));

    EXPECT_EQ (map.getControlById (12)[Tags::value].toString(), "2");
    EXPECT_EQ (map.getControlById (3)[Tags::value].toString(), "1");
    EXPECT_FALSE (map.getControlById (5).isValid());   // " 5" is not the text of 5
    EXPECT_EQ (map.getControl (2)[Tags::value].toString(), "3");
}

TEST_F (ControllerMapTest, GetControlsOfANewMapFillsOnlyTheButtonArrayInIdOrder)
{
    const CtMap map (CtMode::ProTools);
    const juce::ValueTree marker ("marker");

    juce::Array<juce::ValueTree> buttons, knobs, jogWheels, faders, masterFaders;
    knobs.add (marker);
    faders.add (marker);

    map.getControls (buttons, knobs, jogWheels, faders, masterFaders);

    ASSERT_EQ (buttons.size(), 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ ((int) buttons[i][Tags::id], i + 1);

    EXPECT_EQ (knobs, juce::Array<juce::ValueTree> ({ marker }));
    EXPECT_EQ (faders, juce::Array<juce::ValueTree> ({ marker }));
    EXPECT_TRUE (jogWheels.isEmpty());
    EXPECT_TRUE (masterFaders.isEmpty());
}

TEST_F (ControllerMapTest, GetControlsSortsEachKindAndAppendsToWhatTheArraysHeld)
{
    const CtMap map (mapFromXml ("<map><controls>"
                                 "<control id=\"30\" kind=\"fader\"/>"
                                 "<control id=\"12\" kind=\"button\"/>"
                                 "<control id=\"4\" kind=\"Knob\"/>"
                                 "<control id=\"9\" kind=\"knob\"/>"
                                 "<control id=\"2\" kind=\"fader\"/>"
                                 "<control id=\"7\" kind=\"master-fader\"/>"
                                 "<control id=\"1\"/>"
                                 "</controls></map>"));

    juce::ValueTree earlier ("control");
    earlier.setProperty (Tags::id, 10, nullptr);

    juce::Array<juce::ValueTree> buttons { earlier }, knobs, jogWheels, faders, masterFaders;
    map.getControls (buttons, knobs, jogWheels, faders, masterFaders);

    auto ids = [] (const juce::Array<juce::ValueTree>& array)
    {
        std::vector<int> result;
        for (const auto& t : array)
            result.push_back ((int) t[Tags::id]);
        return result;
    };

    // An unknown or missing kind counts as a button.
    EXPECT_EQ (ids (buttons), (std::vector<int> { 1, 4, 10, 12 }));
    EXPECT_EQ (ids (knobs), (std::vector<int> { 9 }));
    EXPECT_EQ (ids (jogWheels), (std::vector<int> {}));
    EXPECT_EQ (ids (faders), (std::vector<int> { 2, 30 }));
    EXPECT_EQ (ids (masterFaders), (std::vector<int> { 7 }));
}

TEST (ControlSorterTest, ComparesIntegerIds)
{
    constexpr int maxInt = std::numeric_limits<int>::max();
    constexpr int minInt = std::numeric_limits<int>::min();

    struct Case { juce::var first, second; int expectedSign; int expected; };
    const Case cases[] {
        { 3, 12, -1, -9 },
        { 12, 3, 1, 9 },
        { 7, 7, 0, 0 },
        { "3", "12", -1, -9 },
        { "12", 12, 0, 0 },
        { juce::var(), 2, -1, -2 },
        // Ids from a file can be anything: the order must still hold.
        { maxInt, -1, 1, maxInt },
        { minInt, 1, -1, minInt },
    };

    for (const auto& c : cases)
    {
        juce::ValueTree a ("control"), b ("control");
        a.setProperty (Tags::id, c.first, nullptr);
        b.setProperty (Tags::id, c.second, nullptr);

        const auto result = ControlSorter::compareElements (a, b);
        EXPECT_EQ ((result > 0) - (result < 0), c.expectedSign) << c.first.toString() << " vs " << c.second.toString();
        EXPECT_EQ (result, c.expected) << c.first.toString() << " vs " << c.second.toString();
    }
}

//==============================================================================
TEST_F (ControllerMapTest, ResetThroughASharedViewRestoresFactoryValuesOfTheStoredMap)
{
    struct Case { CtMode::Type mode; int id; const char* type; int chan; int value; };
    const Case cases[] {
        { CtMode::UserDefined, 29, "note", 1, 96 },
        { CtMode::Logic,       1,  "note", 1, 40 },
        { CtMode::ProTools,    29, "cc",   1, 44 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (CtMode::slugForType (c.mode));
        const CtMap stored (c.mode);
        auto control = stored.getControlById (c.id);
        control.setProperty (Tags::type, "pitch", nullptr);
        control.setProperty (Tags::chan, 9, nullptr);
        control.setProperty (Tags::value, 3, nullptr);

        CtMap view (stored.getTree());
        view.reset();

        EXPECT_EQ (control[Tags::type].toString(), c.type);
        EXPECT_EQ ((int) control[Tags::chan], c.chan);
        EXPECT_EQ ((int) control[Tags::value], c.value);
        EXPECT_EQ ((int) control[Tags::id], c.id);
        EXPECT_EQ (control[Tags::kind].toString(), "button");
        EXPECT_EQ (propertyNames (control), juce::StringArray ({ "id", "kind", "type", "chan", "value" }));
    }
}
