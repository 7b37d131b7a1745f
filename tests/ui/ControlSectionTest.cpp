#include "app/ui/ControlSection.h"
#include "tests/support/ScopedDeviceModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace
{

using testsupport::ScopedDeviceModel;

//==============================================================================
// The factory labels by control id 1..50. The three Mackie Control modes share
// the factory notes, so their labels are the same note names.
const char* const factoryNoteLabels[50] {
    " E(2)", " F(2)", "F#(3)", " G(3)", "G#(3)", " A(3)", "A#(3)", " B(3)", " C(4)", "C#(4)",
    "F#(2)", " G(2)", " D(4)", "D#(4)", " E(4)", " F(4)", "F#(4)", " G(4)", "G#(4)", " A(4)",
    "G#(2)", " A(2)", "G#(5)", " A(5)", "A#(5)", " B(5)", " D(3)", "A#(4)", " C(7)", " B(4)",
    " E(3)", " F(3)", " E(5)", " F(5)", "F#(5)", " G(5)", "D#(3)", " D(7)", " E(7)", "D#(7)",
    " C(6)", "C#(6)", " D(6)", "D#(6)", " E(6)", " F(6)", "F#(6)", " C(5)", "C#(7)", "C#(5)",
};

const char* const factoryProToolsLabels[50] {
    "Pan", "Plug-in", "Copy", "Clear", "Transport", "Memory Location", "Alt View", "Cut", "Separate", "Paste",
    "Assign", "Send", "Read", "Write", "Touch", "Latch", "Trim", "Off", "Auto", "Default",
    "Input", "Output", "Save", "Undo", "Esc/ Cancel", "Enter", "V-Sel", "Shift/Add", "Up", "Option /Alt",
    "Fader", "Mute", "Plug-in", "Pan B", "Send B", "Send Mute", "Insert", "Left", "Zoom", "Right",
    "Clear Peaks", "Suspend", "In", "Out", "Online", "Transport Function", "Cue Mgr", "Ctrl/ Clutch", "Down", "Cmd/Alt",
};

/** Control id 9 is aid 40, so its code table entry is 41. */
constexpr int entryOfControl9 = 41;

/** The panel, bound to the current map of a fresh device model in the given mode. */
struct Panel
{
    explicit Panel (CtMode mode)
    {
        model->setCtMode (mode);
        section.setButtonTypes();
    }

    MappableButton& control (int id) const  { return section.getButton (id - 1); }

    ScopedDeviceModel model;
    ControlSection section;
};

//==============================================================================
TEST (ControlSection, ChildrenAlternateButtonAndEmptyCaption)
{
    ScopedDeviceModel model;
    ControlSection section;

    ASSERT_EQ (section.getNumChildComponents(), 100);
    EXPECT_EQ (section.getName(), "ControlSection");

    for (int k = 0; k < ControlSection::numControls; ++k)
    {
        SCOPED_TRACE (k);
        EXPECT_EQ (section.getChildComponent (2 * k), &section.getButton (k));
        EXPECT_EQ (section.getChildComponent (2 * k + 1), &section.getCaption (k));

        const auto& caption = section.getCaption (k);
        EXPECT_TRUE (caption.getText().isEmpty());
        EXPECT_EQ (caption.getName(), "new label");
        EXPECT_FLOAT_EQ (caption.getFont().getHeight(), 15.0f);
        EXPECT_EQ (caption.getFont().getTypefaceStyle(), "Regular");
        EXPECT_EQ (caption.getJustificationType(), juce::Justification::centred);
        EXPECT_FALSE (caption.isEditableOnSingleClick());
        EXPECT_FALSE (caption.isEditableOnDoubleClick());
        EXPECT_EQ (caption.findColour (juce::Label::textColourId).getARGB(), 0xff000000u);
        EXPECT_EQ (caption.findColour (juce::Label::backgroundColourId).getARGB(), 0x0affffffu);

        const auto& button = section.getButton (k);
        EXPECT_EQ (button.id, k + 1);
        EXPECT_EQ (button.flag, 0);
        EXPECT_TRUE (button.isVisible());
        EXPECT_FALSE (button.getToggleState());
        EXPECT_EQ (button.findColour (juce::TextButton::buttonColourId).getARGB(), 0x24202020u);
        EXPECT_EQ (button.findColour (juce::TextButton::buttonOnColourId).getARGB(), 0x706655a8u);
        EXPECT_EQ (button.findColour (juce::TextButton::textColourOffId).getARGB(), 0xffd0ffffu);
    }
}

TEST (ControlSection, GridIsFixedWhateverThePanelSize)
{
    const int columnX[10] { 60, 145, 230, 315, 400, 485, 570, 655, 740, 825 };
    const int captionY[5] { 30, 94, 158, 222, 286 };
    const int buttonY[5] { 58, 122, 186, 250, 314 };

    ScopedDeviceModel model;
    ControlSection section;

    for (auto size : { juce::Rectangle<int> (0, 64, 1000, 576), juce::Rectangle<int> (0, 0, 300, 100) })
    {
        section.setBounds (size);

        for (int row = 0; row < 5; ++row)
        {
            for (int column = 0; column < 10; ++column)
            {
                const auto k = row * 10 + column;
                SCOPED_TRACE (k);
                EXPECT_EQ (section.getCaption (k).getBounds(), juce::Rectangle<int> (columnX[column], captionY[row], 66, 24));
                EXPECT_EQ (section.getButton (k).getBounds(), juce::Rectangle<int> (columnX[column], buttonY[row], 60, 36));
            }
        }
    }
}

TEST (ControlSection, FactoryLabelsOfEveryButtonInEveryMode)
{
    struct Case
    {
        CtMode mode;
        const char* const* labels;
    };

    const Case cases[] {
        { CtMode::Mackie, factoryNoteLabels },
        { CtMode::Logic, factoryNoteLabels },
        { CtMode::ProTools, factoryProToolsLabels },
        { CtMode::UserDefined, factoryNoteLabels },
    };

    for (const auto& c : cases)
    {
        Panel panel (c.mode);

        for (int id = 1; id <= 50; ++id)
            EXPECT_EQ (panel.control (id).getButtonText(), c.labels[id - 1])
                << "mode " << (int) c.mode << ", control " << id;
    }
}

TEST (MappableButton, SettersWriteTheCodeTableAndTheTreeAndRelabel)
{
    Panel panel (CtMode::UserDefined);
    auto& button = panel.control (9);
    const auto control = panel.model->getCurrentMap().getControlById (9);

    ASSERT_EQ (ud[entryOfControl9][0], 0x90);
    ASSERT_EQ (ud[entryOfControl9][1], 0x3c);

    struct Step
    {
        std::function<void (MappableButton&)> edit;
        juce::uint8 status, data;
        const char* type;
        int chan, value;
        const char* label;
    };

    const Step steps[] {
        { [] (MappableButton& b) { b.setMsgType (11); }, 0xb0, 0x3c, "cc", 1, 60, "CC60" },
        { [] (MappableButton& b) { b.setMsgType (14); }, 0xe0, 0x3c, "pitch", 1, 60, "PB.1" },
        { [] (MappableButton& b) { b.setChan (16); }, 0xef, 0x3c, "pitch", 16, 60, "PB.16" },
        { [] (MappableButton& b) { b.setValue (127); }, 0xef, 0x7f, "pitch", 16, 127, "PB.16" },
        { [] (MappableButton& b) { b.setMsgType (9); }, 0x9f, 0x7f, "note", 16, 127, " G(9)" },
        { [] (MappableButton& b) { b.setValue (0); }, 0x9f, 0x00, "note", 16, 0, " C(-1)" },
        { [] (MappableButton& b) { b.setChan (1); }, 0x90, 0x00, "note", 1, 0, " C(-1)" },
    };

    for (size_t i = 0; i < std::size (steps); ++i)
    {
        SCOPED_TRACE (i);
        const auto& s = steps[i];
        s.edit (button);

        EXPECT_EQ (ud[entryOfControl9][0], s.status);
        EXPECT_EQ (ud[entryOfControl9][1], s.data);
        EXPECT_EQ (control[Tags::type].toString(), s.type);
        EXPECT_EQ ((int) control[Tags::chan], s.chan);
        EXPECT_EQ ((int) control[Tags::value], s.value);
        EXPECT_EQ (button.getButtonText(), s.label);
    }

    // Only the User Defined table is the current mode's; the others stay factory.
    EXPECT_EQ (mk[entryOfControl9][0], 0x90);
    EXPECT_EQ (lg[entryOfControl9][1], 0x3c);
}

TEST (MappableButton, RefusesWhatCannotBeSentAndLeavesTheControlAsItWas)
{
    // Without the range checks, channel 17 would turn the Note On into a Poly
    // Pressure (0xA0) and code 16 would clear the message type altogether.
    struct Case
    {
        const char* what;
        std::function<void (MappableButton&)> edit;
    };

    const Case cases[] {
        { "channel 0", [] (MappableButton& b) { b.setChan (0); } },
        { "channel 17", [] (MappableButton& b) { b.setChan (17); } },
        { "message type 10", [] (MappableButton& b) { b.setMsgType (10); } },
        { "message type 16", [] (MappableButton& b) { b.setMsgType (16); } },
        { "message type 0", [] (MappableButton& b) { b.setMsgType (0); } },
        { "value 128", [] (MappableButton& b) { b.setValue (128); } },
        { "value -1", [] (MappableButton& b) { b.setValue (-1); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        Panel panel (CtMode::UserDefined);
        auto& button = panel.control (9);
        const auto control = panel.model->getCurrentMap().getControlById (9);

        c.edit (button);

        EXPECT_EQ (ud[entryOfControl9][0], 0x90);
        EXPECT_EQ (ud[entryOfControl9][1], 0x3c);
        EXPECT_EQ (control[Tags::type].toString(), "note");
        EXPECT_EQ ((int) control[Tags::chan], 1);
        EXPECT_EQ ((int) control[Tags::value], 60);
        EXPECT_EQ (button.getButtonText(), " C(4)");
    }
}

TEST (MappableButton, ProToolsEditsOnlyTheTreeAndTheLabelFollowsIt)
{
    Panel panel (CtMode::ProTools);
    auto& button = panel.control (24);
    const auto control = panel.model->getCurrentMap().getControlById (24);

    juce::uint8 before[numCodeEntries][2];
    std::memcpy (before, pt, sizeof (before));

    ASSERT_EQ ((int) control[Tags::value], 19);
    EXPECT_EQ (button.getButtonText(), "Undo");

    button.setValue (20);

    EXPECT_EQ ((int) control[Tags::value], 20);
    EXPECT_EQ (button.getButtonText(), "Esc/ Cancel");
    EXPECT_EQ (std::memcmp (before, pt, sizeof (before)), 0);

    // A function index past the list names nothing, and reads nothing past the table.
    button.setValue (60);
    EXPECT_EQ (button.getButtonText(), "");
    EXPECT_EQ (button.getDescription(), "Pro Tools function: none");
}

TEST (MappableButton, LabelFollowsTheCodeTableNotTheTree)
{
    Panel panel (CtMode::Mackie);
    auto control = panel.model->getCurrentMap().getControlById (1);

    control.setProperty (Tags::value, 100, nullptr);
    panel.control (1).updateText();
    EXPECT_EQ (panel.control (1).getButtonText(), " E(2)");

    mk[1][0] = 0xa0;   // no message type a button can have
    panel.control (1).updateText();
    EXPECT_EQ (panel.control (1).getButtonText(), "ErrOnMidiMsgType");
    EXPECT_EQ (panel.control (1).getDescription(), "Unknown message type");
}

TEST (MappableButton, AccessibleTitleAndDescriptionFollowTheLabel)
{
    struct Case
    {
        CtMode mode;
        int id;
        std::function<void (MappableButton&)> edit;
        const char* label;
        const char* description;
    };

    const auto none = [] (MappableButton&) {};

    const Case cases[] {
        { CtMode::Mackie, 1, none, " E(2)", "Note On, channel 1, E2" },
        { CtMode::Logic, 9, none, " C(4)", "Note On, channel 1, C4" },
        { CtMode::Mackie, 12, none, " G(2)", "Note On, channel 1, G2" },
        { CtMode::UserDefined, 10, none, "C#(4)", "Note On, channel 1, C#4" },
        { CtMode::UserDefined, 9, [] (MappableButton& b) { b.setValue (0); }, " C(-1)", "Note On, channel 1, C-1" },
        { CtMode::UserDefined, 9, [] (MappableButton& b) { b.setValue (1); b.setChan (3); }, "C#(-1)", "Note On, channel 3, C#-1" },
        { CtMode::UserDefined, 9, [] (MappableButton& b) { b.setMsgType (11); b.setValue (7); }, "CC7", "Control Change, channel 1, controller 7" },
        { CtMode::UserDefined, 9, [] (MappableButton& b) { b.setMsgType (14); b.setChan (16); }, "PB.16", "Pitch Bend, channel 16" },
        { CtMode::ProTools, 24, none, "Undo", "Pro Tools function: Undo" },
        { CtMode::ProTools, 46, none, "Transport Function", "Pro Tools function: Transport Function" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        Panel panel (c.mode);
        auto& button = panel.control (c.id);

        c.edit (button);

        EXPECT_EQ (button.getButtonText(), c.label);
        EXPECT_EQ (button.getTitle(), "Button " + juce::String (c.id));
        EXPECT_EQ (button.getDescription(), c.description);
    }
}

TEST (MappableButton, RebindingToAnotherModeRenamesForScreenReaders)
{
    Panel panel (CtMode::Mackie);
    auto& button = panel.control (24);
    EXPECT_EQ (button.getDescription(), "Note On, channel 1, A5");

    panel.model->setCtMode (CtMode::ProTools);
    panel.section.setButtonTypes();

    EXPECT_EQ (button.getTitle(), "Button 24");
    EXPECT_EQ (button.getDescription(), "Pro Tools function: Undo");
}

} // namespace
