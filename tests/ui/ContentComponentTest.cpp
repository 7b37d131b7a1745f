#include "app/ui/ContentComponent.h"
#include "tests/support/ScopedDeviceModel.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/FakeEditorDialogs.h"
#include "tools/simdevice/SimulatedDalvi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace
{

using testsupport::FakeEditorDialogs;
using testsupport::ScopedDeviceModel;
using testsupport::TempFolder;

/** Control id 9 is aid 40, so its code table entry is 41. */
constexpr int entryOfControl9 = 41;

void pumpMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

/** The main view on a fresh device model, with scripted dialogs. */
struct Editor
{
    Editor() : view (dialogs) {}

    MappableButton& control (int id)  { return view.getControlSection().getButton (id - 1); }

    CommandButton& command (const juce::String& text)
    {
        if (auto* button = view.findCommandButton (text))
            return *button;

        throw std::runtime_error ("no command " + text.toStdString());
    }

    /** A click as the framework delivers it, through the button's listeners. */
    void click (juce::Button& button)
    {
        button.triggerClick();
        pumpMessages();
    }

    void chooseMode (CtMode mode)
    {
        view.getModeComboBox().setSelectedItemIndex ((int) mode, juce::sendNotificationSync);
    }

    void choose (juce::ComboBox& box, int itemIndex)
    {
        box.setSelectedItemIndex (itemIndex, juce::sendNotificationSync);
    }

    int numSelectedControls()
    {
        int n = 0;

        for (int id = 1; id <= 50; ++id)
            n += control (id).getToggleState() ? 1 : 0;

        return n;
    }

    ScopedDeviceModel model;
    FakeEditorDialogs dialogs;
    ContentComponent view;
};

juce::MouseEvent mouseAt (juce::Component& component, float x, float y)
{
    const juce::Point<float> position (x, y);
    const auto now = juce::Time::getCurrentTime();

    return { juce::Desktop::getInstance().getMainMouseSource(), position, {},
             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY, &component, &component, now, position, now, 1, false };
}

juce::String describe (juce::Component* child, ContentComponent& view)
{
    if (child == &view.getControlSection())    return "panel";
    if (child == &view.getModeComboBox())      return "mode box";
    if (child == &view.getValueComboBox())     return "value box";
    if (child == &view.getChannelComboBox())   return "channel box";
    if (child == &view.getMsgTypeComboBox())   return "msg type box";

    if (auto* label = dynamic_cast<juce::Label*> (child))
        return "caption " + label->getText();

    if (auto* command = dynamic_cast<CommandButton*> (child))
        return command->getButtonText();

    return "?";
}

juce::Component* childDescribedAs (ContentComponent& view, const juce::String& description)
{
    for (auto* child : view.getChildren())
        if (describe (child, view) == description)
            return child;

    throw std::runtime_error ("no child " + description.toStdString());
}

juce::StringArray itemTexts (const juce::ComboBox& box)
{
    juce::StringArray texts;

    for (int i = 0; i < box.getNumItems(); ++i)
        texts.add (box.getItemText (i));

    return texts;
}

/** Counts the changes a combo box reports to its listeners. */
struct ChangeCounter final : public juce::ComboBox::Listener
{
    explicit ChangeCounter (juce::ComboBox& b) : box (b)   { box.addListener (this); }
    ~ChangeCounter() override                              { box.removeListener (this); }
    void comboBoxChanged (juce::ComboBox*) override        { ++count; }

    juce::ComboBox& box;
    int count = 0;
};

//==============================================================================
TEST (ContentComponent, ChildrenInOrderAndTheirPlacesAt1000By576)
{
    Editor editor;
    auto& view = editor.view;

    EXPECT_EQ (view.getWidth(), 1000);
    EXPECT_EQ (view.getHeight(), 576);

    juce::StringArray order;

    for (auto* child : view.getChildren())
        order.add (describe (child, view));

    EXPECT_EQ (order.joinIntoString ("|"),
               "panel|caption Control Mode|mode box|caption Message|value box|caption Channel|channel box"
               "|caption Msg Type|msg type box|Save File|Load File|Send Data|Firmware Upgrade|Connect");

    struct Case
    {
        const char* child;
        juce::Rectangle<int> bounds;
    };

    const Case cases[] {
        { "caption Control Mode", { 45, 491, 200, 22 } },
        { "mode box", { 45, 511, 200, 22 } },
        { "caption Msg Type", { 275, 491, 110, 22 } },
        { "msg type box", { 275, 511, 110, 22 } },
        { "caption Channel", { 415, 491, 110, 22 } },
        { "channel box", { 415, 511, 110, 22 } },
        { "caption Message", { 555, 491, 200, 22 } },
        { "value box", { 555, 511, 200, 22 } },
        { "Firmware Upgrade", { 65, 543, 94, 23 } },
        { "Connect", { 343, 543, 94, 23 } },
        { "Send Data", { 449, 543, 94, 23 } },
        { "Load File", { 555, 543, 94, 23 } },
        { "Save File", { 661, 543, 94, 23 } },
        { "panel", { 0, 64, 1000, 576 } },
    };

    for (const auto& c : cases)
        EXPECT_EQ (childDescribedAs (view, c.child)->getBounds(), c.bounds) << c.child;

    EXPECT_EQ (view.prodLogoArea(), juce::Rectangle<int> (201, 24, 430, 40));
    EXPECT_EQ (view.logoArea(), juce::Rectangle<int> (34, 24, 78, 25));
}

TEST (ContentComponent, CaptionsBoxesAndCommandsCarryTheirLooksAndTitles)
{
    Editor editor;
    auto& view = editor.view;

    for (auto* child : view.getChildren())
    {
        if (auto* label = dynamic_cast<juce::Label*> (child))
        {
            SCOPED_TRACE (label->getText());
            EXPECT_EQ (label->findColour (juce::Label::textColourId).getARGB(), 0xff000000u);
            EXPECT_EQ (label->getJustificationType(), juce::Justification::centred);
        }
        else if (auto* command = dynamic_cast<CommandButton*> (child))
        {
            EXPECT_EQ (command->getTitle(), command->getButtonText());
            EXPECT_TRUE (command->getTooltip().isEmpty());
        }
    }

    EXPECT_EQ (view.getModeComboBox().getTitle(), "Control Mode");
    EXPECT_EQ (view.getValueComboBox().getTitle(), "Message");
    EXPECT_EQ (view.getChannelComboBox().getTitle(), "Channel");
    EXPECT_EQ (view.getMsgTypeComboBox().getTitle(), "Msg Type");

    EXPECT_TRUE (view.getModeComboBox().getWantsKeyboardFocus());
    EXPECT_FALSE (view.getValueComboBox().getWantsKeyboardFocus());
    EXPECT_FALSE (view.getChannelComboBox().getWantsKeyboardFocus());
    EXPECT_FALSE (view.getMsgTypeComboBox().getWantsKeyboardFocus());
}

TEST (ContentComponent, StartsWithNothingSelectedAndEmptyAttributeBoxes)
{
    Editor editor;
    auto& view = editor.view;

    EXPECT_EQ (view.findSelectedControl(), nullptr);
    EXPECT_EQ (editor.numSelectedControls(), 0);
    EXPECT_EQ (view.getValueComboBox().getNumItems(), 0);
    EXPECT_EQ (view.getChannelComboBox().getNumItems(), 0);
    EXPECT_EQ (view.getMsgTypeComboBox().getNumItems(), 0);
    EXPECT_EQ (view.getValueComboBox().getMappedValue(), 0);
    EXPECT_EQ (view.getModeComboBox().getSelectedItemIndex(), 0);
    EXPECT_EQ (editor.control (1).getButtonText(), " E(2)");
    EXPECT_FALSE (view.isLogoHovered());
}

TEST (ContentComponent, ModeComboBoxListsTheFourModes)
{
    Editor editor;
    auto& box = editor.view.getModeComboBox();

    EXPECT_EQ (itemTexts (box).joinIntoString ("|"), "1) MCP|2) Logic Pro|3) HUI|4) User Defined (MCP)");

    const CtMode modes[] { CtMode::Mackie, CtMode::Logic, CtMode::ProTools, CtMode::UserDefined };

    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (box.getItemId (i), i + 1);
        box.setSelectedItemIndex (i, juce::dontSendNotification);
        EXPECT_EQ (box.getSelectedMode(), modes[i]);
    }
}

TEST (ContentComponent, ModeComboBoxShowsTheModeCurrentWhenBuilt)
{
    ScopedDeviceModel model;
    model->setCtMode (CtMode::ProTools);
    CtModeComboBox box;

    EXPECT_EQ (box.getSelectedItemIndex(), 2);

    box.setSelectedItemIndex (-1, juce::dontSendNotification);
    EXPECT_EQ (box.getSelectedMode(), CtMode::Mackie);
}

TEST (ContentComponent, PickingAModeSwitchesTheModelAndRelabelsThePanel)
{
    Editor editor;

    editor.chooseMode (CtMode::ProTools);
    EXPECT_EQ (editor.model->getCurrentCtMode(), CtMode::ProTools);
    EXPECT_EQ (editor.control (24).getButtonText(), "Undo");

    editor.chooseMode (CtMode::UserDefined);
    EXPECT_EQ (editor.model->getCurrentCtMode(), CtMode::UserDefined);
    EXPECT_EQ (editor.control (24).getButtonText(), " A(5)");
}

TEST (ContentComponent, AttributeBoxesForAControlInEachMode)
{
    struct Case
    {
        CtMode mode;
        int id;
        const char* caption;
        int numValues;
        int selectedValue;
        const char* selectedValueText;
        const char* firstValueText;
        const char* lastValueText;
        int selectedChannel, selectedMsgType;
        bool enabled;
    };

    const Case cases[] {
        { CtMode::Mackie, 9, "Message", 128, 60, "60)  C(4)", "0)  C(-1)", "127)  G(9)", 0, 0, false },
        { CtMode::Logic, 1, "Function", 128, 40, "40) Track", "0) REC.1", "127) ", 0, 0, false },
        { CtMode::Logic, 29, "Function", 128, 96, "96) Up", "0) REC.1", "127) ", 0, 0, false },
        { CtMode::ProTools, 20, "Function", 50, 43, "43) Default", "0) Pan", "49) Cmd/Alt", -1, -1, false },
        { CtMode::UserDefined, 9, "Message", 128, 60, "60)  C(4)", "0)  C(-1)", "127)  G(9)", 0, 0, true },
        { CtMode::UserDefined, 12, "Message", 128, 43, "43)  G(2)", "0)  C(-1)", "127)  G(9)", 0, 0, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.selectedValueText);
        Editor editor;
        auto& view = editor.view;

        editor.chooseMode (c.mode);
        editor.click (editor.control (c.id));

        ASSERT_EQ (view.findSelectedControl(), &editor.control (c.id));
        EXPECT_EQ (view.getValueCaption().getText(), c.caption);
        EXPECT_EQ (view.getValueComboBox().getTitle(), c.caption);

        auto& values = view.getValueComboBox();
        ASSERT_EQ (values.getNumItems(), c.numValues);
        ASSERT_EQ (values.get_values().size(), c.numValues);
        EXPECT_EQ (values.getSelectedItemIndex(), c.selectedValue);
        EXPECT_EQ (values.getText(), c.selectedValueText);
        EXPECT_EQ (values.getItemText (0), c.firstValueText);
        EXPECT_EQ (values.getItemText (c.numValues - 1), c.lastValueText);
        EXPECT_EQ (values.getMappedValue(), c.selectedValue);

        for (int i = 0; i < c.numValues; ++i)
        {
            EXPECT_EQ (values.getItemId (i), i + 1);
            EXPECT_EQ (values.get_values()[i], i);
        }

        auto& channels = view.getChannelComboBox();
        EXPECT_EQ (itemTexts (channels).joinIntoString (" "), "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16");
        EXPECT_EQ (channels.getItemId (15), 16);
        EXPECT_EQ (channels.getSelectedItemIndex(), c.selectedChannel);
        EXPECT_TRUE (channels.get_values().isEmpty());

        auto& msgTypes = view.getMsgTypeComboBox();
        EXPECT_EQ (itemTexts (msgTypes).joinIntoString ("|"), "1) Note|2) CC|3) Pitch");
        EXPECT_EQ (msgTypes.getItemId (2), 3);
        EXPECT_EQ (msgTypes.getSelectedItemIndex(), c.selectedMsgType);

        EXPECT_EQ (values.isEnabled(), c.enabled);
        EXPECT_EQ (channels.isEnabled(), c.enabled);
        EXPECT_EQ (msgTypes.isEnabled(), c.enabled);
    }
}

TEST (ContentComponent, UserDefinedEditsReachTheCodeTableTheTreeAndTheLabel)
{
    Editor editor;
    auto& view = editor.view;
    editor.chooseMode (CtMode::UserDefined);
    editor.click (editor.control (9));

    const auto control = editor.model->getCurrentMap().getControlById (9);
    auto& values = view.getValueComboBox();

    // 2) CC
    editor.choose (view.getMsgTypeComboBox(), 1);
    EXPECT_EQ (ud[entryOfControl9][0] >> 4, 11);
    EXPECT_EQ (control[Tags::type].toString(), "cc");
    EXPECT_EQ (values.getNumItems(), 128);
    EXPECT_EQ (values.getSelectedItemIndex(), 60);
    EXPECT_EQ (values.getText(), "60) --");
    EXPECT_EQ (values.getItemText (7), "7) Volume*(GM)");
    EXPECT_EQ (editor.control (9).getButtonText(), "CC60");

    // channel 10
    editor.choose (view.getChannelComboBox(), 9);
    EXPECT_EQ (ud[entryOfControl9][0] & 0x0f, 9);
    EXPECT_EQ ((int) control[Tags::chan], 10);

    // value item 7
    editor.choose (values, 7);
    EXPECT_EQ (ud[entryOfControl9][1], 7);
    EXPECT_EQ ((int) control[Tags::value], 7);
    EXPECT_EQ (editor.control (9).getButtonText(), "CC7");
    EXPECT_EQ (editor.control (9).getDescription(), "Control Change, channel 10, controller 7");

    EXPECT_EQ (ud[entryOfControl9][0], 0xb9);

    // 3) Pitch: the values lose their names but keep their numbers.
    editor.choose (view.getMsgTypeComboBox(), 2);
    EXPECT_EQ (ud[entryOfControl9][0], 0xe9);
    EXPECT_EQ (control[Tags::type].toString(), "pitch");
    EXPECT_EQ (values.getText(), "7) --");
    EXPECT_EQ (editor.control (9).getButtonText(), "PB.10");
}

TEST (ContentComponent, AttributeChangesWithoutASelectedControlDoNothing)
{
    Editor editor;
    editor.chooseMode (CtMode::UserDefined);

    juce::uint8 before[numCodeEntries][2];
    std::memcpy (before, ud, sizeof (before));

    for (auto* box : { &editor.view.getValueComboBox(), &editor.view.getChannelComboBox(), &editor.view.getMsgTypeComboBox() })
        editor.view.comboBoxChanged (box);

    EXPECT_EQ (std::memcmp (before, ud, sizeof (before)), 0);
}

TEST (ContentComponent, ClickingAControlMovesTheSelection)
{
    Editor editor;

    editor.click (editor.control (12));
    EXPECT_TRUE (editor.control (12).getToggleState());

    editor.click (editor.control (13));
    EXPECT_FALSE (editor.control (12).getToggleState());
    EXPECT_TRUE (editor.control (13).getToggleState());

    editor.click (editor.control (13));
    EXPECT_TRUE (editor.control (13).getToggleState());
    EXPECT_EQ (editor.numSelectedControls(), 1);
    EXPECT_EQ (editor.view.findSelectedControl(), &editor.control (13));

    editor.view.clearToggleStates();
    EXPECT_EQ (editor.view.findSelectedControl(), nullptr);
}

TEST (ContentComponent, SelectionSurvivesAModeChange)
{
    Editor editor;
    auto& view = editor.view;

    editor.click (editor.control (12));
    editor.chooseMode (CtMode::Logic);

    EXPECT_EQ (view.findSelectedControl(), &editor.control (12));
    EXPECT_EQ (editor.numSelectedControls(), 1);
    EXPECT_EQ (view.getValueCaption().getText(), "Function");
    EXPECT_EQ (view.getValueComboBox().getText(), "43) Plug-in");

    editor.chooseMode (CtMode::ProTools);

    EXPECT_EQ (view.findSelectedControl(), &editor.control (12));
    EXPECT_EQ (view.getValueComboBox().getText(), "9) Send");
    EXPECT_EQ (view.getChannelComboBox().getSelectedItemIndex(), -1);
}

TEST (ContentComponent, RRestoresTheFactoryMapAndFOneOpensAbout)
{
    Editor editor;
    auto& view = editor.view;
    editor.chooseMode (CtMode::ProTools);
    editor.click (editor.control (24));

    editor.control (24).setValue (20);
    editor.control (1).setValue (24);
    ASSERT_EQ (editor.control (24).getButtonText(), "Esc/ Cancel");
    ASSERT_EQ (editor.control (1).getButtonText(), "Fader");

    EXPECT_FALSE (view.keyPressed (juce::KeyPress ('R')));

    const auto map = editor.model->getCurrentMap();
    EXPECT_EQ ((int) map.getControlById (24)[Tags::value], 19);
    EXPECT_EQ ((int) map.getControlById (1)[Tags::value], 0);
    EXPECT_EQ (editor.control (24).getButtonText(), "Undo");
    EXPECT_EQ (editor.control (1).getButtonText(), "Pan");
    EXPECT_EQ (view.findSelectedControl(), &editor.control (24));
    EXPECT_EQ (view.getValueComboBox().getText(), "19) Undo");

    // The letter as some platforms report it, with and without Shift.
    editor.control (1).setValue (24);
    EXPECT_FALSE (view.keyPressed (juce::KeyPress ('r', juce::ModifierKeys::shiftModifier, 'R')));
    EXPECT_EQ (editor.control (1).getButtonText(), "Pan");

    EXPECT_EQ (editor.dialogs.numAboutBoxes, 0);
    EXPECT_FALSE (view.keyPressed (juce::KeyPress (juce::KeyPress::F1Key)));
    EXPECT_EQ (editor.dialogs.numAboutBoxes, 1);

    view.clearToggleStates();
    EXPECT_FALSE (view.keyPressed (juce::KeyPress (juce::KeyPress::F1Key)));
    EXPECT_EQ (editor.dialogs.numAboutBoxes, 2);

    editor.control (1).setValue (24);
    EXPECT_FALSE (view.keyPressed (juce::KeyPress ('X')));
    EXPECT_EQ (editor.control (1).getButtonText(), "Fader");
    EXPECT_EQ (editor.dialogs.numAboutBoxes, 2);
}

TEST (ContentComponent, RInUserDefinedModeUndoesTheEdits)
{
    Editor editor;
    editor.chooseMode (CtMode::UserDefined);
    editor.click (editor.control (9));
    editor.choose (editor.view.getMsgTypeComboBox(), 1);
    ASSERT_EQ (editor.control (9).getButtonText(), "CC60");

    EXPECT_FALSE (editor.view.keyPressed (juce::KeyPress ('R')));

    EXPECT_EQ (ud[entryOfControl9][0], 0x90);
    EXPECT_EQ (editor.model->getCurrentMap().getControlById (9)[Tags::type].toString(), "note");
    EXPECT_EQ (editor.control (9).getButtonText(), " C(4)");
    EXPECT_EQ (editor.view.getMsgTypeComboBox().getText(), "1) Note");
}

//==============================================================================
TEST (ContentComponent, SaveAndLoadAFileOfAnotherModeWithoutSwitchingTwice)
{
    TempFolder folder;
    const auto file = folder / "logic.travik";

    Editor editor;
    auto& view = editor.view;

    editor.chooseMode (CtMode::Logic);
    editor.dialogs.filesToSave.push_back (file);
    editor.click (editor.command ("Save File"));
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_TRUE (editor.dialogs.alerts.empty());

    editor.chooseMode (CtMode::Mackie);
    editor.click (editor.control (1));

    ChangeCounter modeChanges (view.getModeComboBox());
    editor.dialogs.filesToLoad.push_back (file);
    editor.click (editor.command ("Load File"));
    pumpMessages();

    EXPECT_EQ (modeChanges.count, 0);
    EXPECT_EQ (editor.model->getCurrentCtMode(), CtMode::Logic);
    EXPECT_EQ (view.getModeComboBox().getSelectedItemIndex(), 1);
    EXPECT_EQ (view.findSelectedControl(), &editor.control (1));
    EXPECT_EQ (view.getValueCaption().getText(), "Function");
    EXPECT_EQ (view.getValueComboBox().getText(), "40) Track");
    EXPECT_TRUE (editor.dialogs.alerts.empty());
}

TEST (ContentComponent, CancelledChoosersChangeNothing)
{
    Editor editor;
    editor.chooseMode (CtMode::ProTools);

    editor.click (editor.command ("Load File"));
    editor.click (editor.command ("Save File"));

    EXPECT_EQ (editor.dialogs.numLoadChoosers, 1);
    EXPECT_EQ (editor.dialogs.numSaveChoosers, 1);
    EXPECT_TRUE (editor.dialogs.alerts.empty());
    EXPECT_EQ (editor.model->getCurrentCtMode(), CtMode::ProTools);
}

TEST (ContentComponent, FailedLoadOrSaveIsShownAndTheViewStaysCurrent)
{
    TempFolder folder;
    const auto garbage = folder / "garbage.travik";
    ASSERT_TRUE (garbage.replaceWithText ("<map mode=\"Logic\"><controls>"));
    const auto unwritable = (folder / "not-a-folder").getChildFile ("x.travik");
    ASSERT_TRUE ((folder / "not-a-folder").replaceWithText ("a file"));

    Editor editor;
    auto& view = editor.view;
    editor.chooseMode (CtMode::UserDefined);
    editor.click (editor.control (9));
    editor.choose (view.getMsgTypeComboBox(), 1);

    ChangeCounter modeChanges (view.getModeComboBox());
    editor.dialogs.filesToLoad.push_back (garbage);
    editor.click (editor.command ("Load File"));

    ASSERT_EQ (editor.dialogs.alerts.size(), 1u);
    EXPECT_EQ (editor.dialogs.alerts[0].title, "Load Mapping");
    EXPECT_TRUE (editor.dialogs.alerts[0].message.startsWith ("Could not load mapping data"))
        << editor.dialogs.alerts[0].message;
    EXPECT_EQ (modeChanges.count, 0);
    EXPECT_EQ (editor.model->getCurrentCtMode(), CtMode::UserDefined);
    EXPECT_EQ (view.getModeComboBox().getSelectedItemIndex(), 3);
    EXPECT_EQ (editor.control (9).getButtonText(), "CC60");

    editor.dialogs.filesToSave.push_back (unwritable);
    editor.click (editor.command ("Save File"));

    ASSERT_EQ (editor.dialogs.alerts.size(), 2u);
    EXPECT_EQ (editor.dialogs.alerts[1].title, "Save Mapping");
    EXPECT_EQ (editor.dialogs.alerts[1].message, "Failed to write mapping file");
}

//==============================================================================
TEST (ContentComponent, SendDataWithoutAPortSaysSo)
{
    Editor editor;
    editor.click (editor.command ("Send Data"));

    ASSERT_EQ (editor.dialogs.alerts.size(), 1u);
    EXPECT_EQ (editor.dialogs.alerts[0].title, "Send Mapping");
    EXPECT_EQ (editor.dialogs.alerts[0].message, "No device selected");
}

TEST (ContentComponent, SendDataDeliversTheEditedMapAndSaysDone)
{
    Editor editor;
    auto& view = editor.view;
    SimulatedDalvi device (editor.model.midi);

    editor.dialogs.portChoices.push_back (juce::String ("Dalvi V+"));
    editor.click (editor.command ("Connect"));

    editor.chooseMode (CtMode::UserDefined);
    editor.click (editor.control (9));
    editor.choose (view.getMsgTypeComboBox(), 1);
    editor.choose (view.getChannelComboBox(), 9);
    editor.choose (view.getValueComboBox(), 7);

    editor.click (editor.command ("Send Data"));

    ASSERT_EQ (editor.dialogs.alerts.size(), 1u);
    EXPECT_EQ (editor.dialogs.alerts[0].title, "Send Mapping");
    EXPECT_EQ (editor.dialogs.alerts[0].message, "Done!");
    ASSERT_TRUE (device.hasMapping()) << device.getError();

    const auto sent = device.getMapping();
    EXPECT_EQ (sent.mode, 3);
    EXPECT_EQ (sent.entries[40][0], 0xb9);
    EXPECT_EQ (sent.entries[40][1], 0x07);

    // Every control arrives as its tree says: type, channel and number.
    const auto map = editor.model->getCurrentMap();

    for (int aid = 0; aid < 50; ++aid)
    {
        const auto control = map.getControlById (cids[aid]);
        const auto code = Defa::getMstyForSel (CtType (control[Tags::type].toString()));
        const int chan = control[Tags::chan];
        const int value = control[Tags::value];

        EXPECT_EQ (sent.entries[(size_t) aid][0], (code << 4) | (chan - 1)) << "aid " << aid;
        EXPECT_EQ (sent.entries[(size_t) aid][1], value) << "aid " << aid;
    }
}

TEST (ContentComponent, ConnectStoresTheChosenPortAndCancelKeepsIt)
{
    Editor editor;

    editor.dialogs.portChoices.push_back (juce::String ("Dalvi V+ (2)"));
    editor.click (editor.command ("Connect"));
    EXPECT_EQ (editor.model->getCurrentOutputDevice(), "Dalvi V+ (2)");
    EXPECT_EQ (editor.dialogs.portDialogCentre, &editor.view);

    editor.click (editor.command ("Connect"));
    EXPECT_EQ (editor.dialogs.numPortDialogs, 2);
    EXPECT_EQ (editor.model->getCurrentOutputDevice(), "Dalvi V+ (2)");
}

TEST (ContentComponent, FirmwareUpgradeRunsTheWizardOverTheView)
{
    Editor editor;
    editor.click (editor.command ("Firmware Upgrade"));

    EXPECT_EQ (editor.dialogs.numFirmwareWizards, 1);
    EXPECT_EQ (editor.dialogs.firmwareCentre, &editor.view);
}

//==============================================================================
TEST (ContentComponent, AboutHintShowsWhileThePointerIsOnTheLogo)
{
    struct Case
    {
        float x, y;
        bool hovered;
    };

    const Case cases[] {
        { 40, 30, true }, { 112, 30, false }, { 34, 24, true }, { 34, 23, false },
        { 111, 48, true }, { 111, 49, false }, { 33, 30, false }, { 300, 40, false },
    };

    Editor editor;

    for (const auto& c : cases)
    {
        editor.view.mouseMove (mouseAt (editor.view, c.x, c.y));
        EXPECT_EQ (editor.view.isLogoHovered(), c.hovered) << c.x << ", " << c.y;
    }

    editor.view.mouseMove (mouseAt (editor.view, 40, 30));
    editor.view.mouseExit (mouseAt (editor.view, 500, 300));
    EXPECT_FALSE (editor.view.isLogoHovered());
}

TEST (ContentComponent, AboutHintIsPaintedNextToThePointer)
{
    Editor editor;
    auto& view = editor.view;

    const auto brightnessAt = [&view] (int x, int y)
    {
        const auto image = view.createComponentSnapshot (view.getLocalBounds());
        return image.getPixelAt (x, y).getBrightness();
    };

    // Just inside the top edge of the hint box, clear of the logo and the text.
    const auto without = brightnessAt (60, 21);

    view.mouseMove (mouseAt (view, 40, 30));
    const auto with = brightnessAt (60, 21);

    EXPECT_LT (without, 0.85f);
    EXPECT_GT (with, 0.93f);

    // The box starts at the pointer: left of it nothing changed.
    EXPECT_NEAR (brightnessAt (38, 21), without, 0.02f);

    view.mouseExit (mouseAt (view, 500, 300));
    EXPECT_NEAR (brightnessAt (60, 21), without, 0.001f);
}

TEST (ContentComponent, ClickOnTheLogoOpensAboutAndTheWordmarkDoesNothing)
{
    Editor editor;
    auto& view = editor.view;

    view.mouseMove (mouseAt (view, 300, 40));
    view.mouseDown (mouseAt (view, 300, 40));
    EXPECT_EQ (editor.dialogs.numAboutBoxes, 0);

    view.mouseDown (mouseAt (view, 20, 30));
    EXPECT_EQ (editor.dialogs.numAboutBoxes, 0);

    view.mouseMove (mouseAt (view, 50, 30));
    ASSERT_TRUE (view.isLogoHovered());
    view.mouseDown (mouseAt (view, 50, 30));

    EXPECT_EQ (editor.dialogs.numAboutBoxes, 1);
    EXPECT_FALSE (view.isLogoHovered());
}

} // namespace
