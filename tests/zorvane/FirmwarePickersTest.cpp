#include "tests/support/FakeWaits.h"
#include "tests/support/OffscreenDialog.h"
#include "tests/support/VirtualPorts.h"
#include "zorvane_firmware/DeviceSelectComponent.h"
#include "zorvane_firmware/FirmwareSelectComponent.h"
#include "zorvane_firmware/FirmwareUpgradeDialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace
{
    const juce::String base ("https://firmware.example.com/zorvane/");

    using Ports = testsupport::VirtualPorts;

    juce::ComboBox& listOf (juce::Component& picker)
    {
        for (auto* child : picker.getChildren())
            if (auto* box = dynamic_cast<juce::ComboBox*> (child))
                return *box;

        throw std::runtime_error ("no list");
    }

    juce::Button& buttonOf (juce::Component& picker, const juce::String& text)
    {
        for (auto* child : picker.getChildren())
            if (auto* button = dynamic_cast<juce::TextButton*> (child))
                if (button->getButtonText() == text)
                    return *button;

        throw std::runtime_error ("no button " + text.toStdString());
    }

    juce::String itemsOf (const juce::ComboBox& box)
    {
        juce::StringArray items;

        for (int i = 0; i < box.getNumItems(); ++i)
            items.add (box.getItemText (i) + "#" + juce::String (box.getItemId (i)));

        return items.joinIntoString ("|");
    }

    juce::ValueTree firmwareList (std::initializer_list<std::initializer_list<std::pair<const char*, const char*>>> entries)
    {
        juce::ValueTree list ("firmwares");

        for (const auto& properties : entries)
        {
            juce::ValueTree entry ("firmware");

            for (const auto& [key, value] : properties)
                entry.setProperty (key, value, nullptr);

            list.appendChild (entry, nullptr);
        }

        return list;
    }

    //==============================================================================
    using testsupport::OffscreenDialog;

    struct LayoutCase
    {
        int width, height;
        juce::Rectangle<int> list, confirm, cancel;
    };

    const LayoutCase layouts[] {
        { 300, 200, { 8, 76, 284, 24 }, { 90, 160, 100, 30 }, { 190, 160, 100, 30 } },
        { 400, 301, { 8, 126, 384, 24 }, { 190, 261, 100, 30 }, { 290, 261, 100, 30 } },
        { 150, 25, { 8, -12, 134, 24 }, { -10, -10, 50, 25 }, { 40, -10, 100, 25 } },
    };

    void expectLayouts (juce::Component& picker, const juce::String& confirmText)
    {
        for (const auto& c : layouts)
        {
            picker.setSize (c.width, c.height);
            SCOPED_TRACE (juce::String (c.width) + "x" + juce::String (c.height));

            EXPECT_EQ (listOf (picker).getBounds(), c.list);
            EXPECT_EQ (buttonOf (picker, confirmText).getBounds(), c.confirm);
            EXPECT_EQ (buttonOf (picker, "Cancel").getBounds(), c.cancel);
        }
    }
}

//==============================================================================
TEST (UpgraderPortPicker, ListsTheInputsWithTheFirstChosen)
{
    Ports ports { "A", "B" };
    testsupport::FakeWaits waits;
    zorvane::DeviceSelectComponent picker (ports.midi, waits);

    EXPECT_EQ (itemsOf (listOf (picker)), "A#1|B#2");
    EXPECT_EQ (listOf (picker).getSelectedItemIndex(), 0);
    EXPECT_EQ (picker.selectedName, "A");
    EXPECT_EQ (picker.getName(), "DeviceSelectComponent");
    EXPECT_EQ (picker.getWidth(), 300);
    EXPECT_EQ (picker.getHeight(), 200);
}

TEST (UpgraderPortPicker, SelectEndsWithOneAndKeepsTheChoice)
{
    Ports ports { "A", "B" };
    testsupport::FakeWaits waits;
    zorvane::DeviceSelectComponent picker (ports.midi, waits);
    OffscreenDialog window (picker);

    listOf (picker).setSelectedItemIndex (1, juce::sendNotificationSync);
    EXPECT_EQ (picker.selectedName, "B");

    picker.buttonClicked (&buttonOf (picker, "Select"));

    EXPECT_EQ (window.waitForExit(), 1);
    EXPECT_EQ (window.closeRequests, 0);
    EXPECT_EQ (picker.selectedName, "B");
    EXPECT_EQ (waits.sleptMs, 0);
}

TEST (UpgraderPortPicker, CancelPausesThenClosesTheWindow)
{
    Ports ports { "A", "B" };
    testsupport::FakeWaits waits;
    zorvane::DeviceSelectComponent picker (ports.midi, waits);
    OffscreenDialog window (picker, true);

    picker.buttonClicked (&buttonOf (picker, "Cancel"));

    EXPECT_EQ (waits.sleptMs, 300);
    EXPECT_EQ (window.closeRequests, 1);
    EXPECT_FALSE (window.isVisible());
}

TEST (UpgraderPortPicker, WithoutPortsSelectConfirmsAnEmptyName)
{
    Ports ports {};
    testsupport::FakeWaits waits;
    zorvane::DeviceSelectComponent picker (ports.midi, waits);
    OffscreenDialog window (picker);

    EXPECT_EQ (listOf (picker).getNumItems(), 0);
    EXPECT_TRUE (picker.selectedName.isEmpty());

    picker.buttonClicked (&buttonOf (picker, "Select"));

    EXPECT_EQ (window.waitForExit(), 1);
    EXPECT_TRUE (picker.selectedName.isEmpty());
}

TEST (UpgraderPortPicker, EscapeClosesTheWindow)
{
    Ports ports { "A" };
    testsupport::FakeWaits waits;
    zorvane::DeviceSelectComponent picker (ports.midi, waits);
    OffscreenDialog window (picker, true);

    EXPECT_TRUE (window.pressEscape());
    EXPECT_FALSE (window.isVisible());
    EXPECT_EQ (waits.sleptMs, 0);
}

TEST (UpgraderPortPicker, Layout)
{
    Ports ports { "A" };
    testsupport::FakeWaits waits;
    zorvane::DeviceSelectComponent picker (ports.midi, waits);

    expectLayouts (picker, "Select");
}

//==============================================================================
TEST (UpgraderVersionPicker, ShowsNameAndVersionOfEveryEntryInOrder)
{
    const auto list = firmwareList ({
        { { "pid", "170" }, { "name", "Dalvi V+" }, { "version", "1.2" }, { "fw", "fw/dalvi_v_plus_1_2.bin" } },
        { { "pid", "170" }, { "name", "Dalvi V+" }, { "version", "1.3" }, { "fw", "fw/dalvi_v_plus_1_3.bin" } },
    });

    zorvane::FirmwareSelectComponent picker (list, base);

    EXPECT_EQ (itemsOf (listOf (picker)), "Dalvi V+ v1.2#1|Dalvi V+ v1.3#2");
    EXPECT_EQ (listOf (picker).getSelectedItemIndex(), 0);
    EXPECT_EQ (picker.getDownloadUrl().toString (false), base + "fw/dalvi_v_plus_1_2.bin");
    EXPECT_EQ (picker.getName(), "DeviceSelectComponent");
    EXPECT_EQ (picker.getWidth(), 300);
    EXPECT_EQ (picker.getHeight(), 200);
}

TEST (UpgraderVersionPicker, LoadEndsWithOneForTheChosenEntry)
{
    const auto list = firmwareList ({
        { { "name", "Dalvi V+" }, { "version", "1.2" }, { "fw", "fw/dalvi_v_plus_1_2.bin" } },
        { { "name", "Dalvi V+" }, { "version", "1.3" }, { "fw", "fw/dalvi_v_plus_1_3.bin" } },
    });

    zorvane::FirmwareSelectComponent picker (list, base);
    OffscreenDialog window (picker);

    listOf (picker).setSelectedItemIndex (1, juce::sendNotificationSync);
    picker.buttonClicked (&buttonOf (picker, "Load"));

    EXPECT_EQ (window.waitForExit(), 1);
    EXPECT_EQ (picker.getDownloadUrl().toString (false), base + "fw/dalvi_v_plus_1_3.bin");
}

TEST (UpgraderVersionPicker, CancelAndEscapeCloseTheWindow)
{
    const auto list = firmwareList ({ { { "name", "Dalvi V+" }, { "version", "1.2" }, { "fw", "a.bin" } } });

    {
        zorvane::FirmwareSelectComponent picker (list, base);
        OffscreenDialog window (picker, true);

        picker.buttonClicked (&buttonOf (picker, "Cancel"));

        EXPECT_EQ (window.closeRequests, 1);
        EXPECT_FALSE (window.isVisible());
    }

    {
        zorvane::FirmwareSelectComponent picker (list, base);
        OffscreenDialog window (picker, true);

        EXPECT_TRUE (window.pressEscape());
        EXPECT_FALSE (window.isVisible());
    }
}

TEST (UpgraderVersionPicker, DownloadAddresses)
{
    struct Case
    {
        const char* name;
        juce::ValueTree list;
        int select;             // -1: clear the selection
        juce::String expected;
    };

    const Case cases[] {
        { "file in a folder", firmwareList ({ { { "fw", "dalvi/v_plus/image_1_3.bin" } } }), 0, base + "dalvi/v_plus/image_1_3.bin" },
        { "entry without fw", firmwareList ({ { { "name", "Dalvi V+" } } }), 0, base },
        { "second of three", firmwareList ({ { { "fw", "a.bin" } }, { { "fw", "b.bin" } }, { { "fw", "c.bin" } } }), 1, base + "b.bin" },
        { "nothing selected", firmwareList ({ { { "fw", "a.bin" } } }), -1, {} },
        { "empty list", firmwareList ({}), 0, {} },
    };

    for (const auto& c : cases)
    {
        zorvane::FirmwareSelectComponent picker (c.list, base);

        if (c.select < 0)
            listOf (picker).setSelectedId (0, juce::dontSendNotification);
        else
            listOf (picker).setSelectedItemIndex (c.select, juce::dontSendNotification);

        const auto url = picker.getDownloadUrl();
        EXPECT_EQ (url.toString (false), c.expected) << c.name;
        EXPECT_EQ (url.isEmpty(), c.expected.isEmpty()) << c.name;
    }
}

TEST (UpgraderVersionPicker, WorksOnItsOwnCopyOfTheList)
{
    auto list = firmwareList ({ { { "name", "Dalvi V+" }, { "version", "1.2" }, { "fw", "a.bin" } } });
    zorvane::FirmwareSelectComponent picker (list, base);

    list.getChild (0).setProperty ("fw", "changed.bin", nullptr);
    list.removeAllChildren (nullptr);

    EXPECT_EQ (picker.getDownloadUrl().toString (false), base + "a.bin");
}

TEST (UpgraderVersionPicker, Layout)
{
    zorvane::FirmwareSelectComponent picker (firmwareList ({ { { "fw", "a.bin" } } }), base);

    expectLayouts (picker, "Load");
}

//==============================================================================
TEST (UpgraderDialogs, CommonDialogSettings)
{
    juce::DialogWindow::LaunchOptions options;
    options.escapeKeyTriggersCloseButton = false;
    options.useNativeTitleBar = false;
    options.resizable = true;
    options.useBottomRightCornerResizer = true;

    zorvane::JuceFirmwareUpgradeDialogs::applyCommonSettings (options);

    EXPECT_TRUE (options.escapeKeyTriggersCloseButton);
    EXPECT_TRUE (options.useNativeTitleBar);
    EXPECT_FALSE (options.resizable);
    EXPECT_FALSE (options.useBottomRightCornerResizer);
    EXPECT_EQ (options.dialogBackgroundColour, juce::DialogWindow::LaunchOptions().dialogBackgroundColour);
}
