#include "app/ui/DeviceSelectComponent.h"
#include "tests/support/OffscreenDialog.h"
#include "tests/support/VirtualPorts.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace
{

//==============================================================================
using Ports = testsupport::VirtualPorts;

juce::ComboBox& listOf (DeviceSelectComponent& dialog)
{
    for (auto* child : dialog.getChildren())
        if (auto* box = dynamic_cast<juce::ComboBox*> (child))
            return *box;

    throw std::runtime_error ("no port list");
}

juce::Button& buttonOf (DeviceSelectComponent& dialog, const juce::String& text)
{
    for (auto* child : dialog.getChildren())
        if (auto* button = dynamic_cast<juce::TextButton*> (child))
            if (button->getButtonText() == text)
                return *button;

    throw std::runtime_error ("no button " + text.toStdString());
}

std::string joined (const juce::StringArray& names)
{
    return names.joinIntoString ("|").toStdString();
}

std::string itemsOf (const juce::ComboBox& box)
{
    juce::StringArray items;

    for (int i = 0; i < box.getNumItems(); ++i)
        items.add (box.getItemText (i));

    return joined (items);
}

//==============================================================================
using testsupport::OffscreenDialog;

//==============================================================================
TEST (DeviceSelectComponent, FindDalviOutputsFiltersDedupesAndKeepsOrder)
{
    struct Case
    {
        juce::StringArray outputs;
        juce::StringArray expected;
    };

    const Case cases[] {
        { { "Dalvi V+", "dalvi v+ (2)", "IAC Driver Bus 1", "Dalvi V+" }, { "Dalvi V+", "dalvi v+ (2)" } },
        { { "DALVI V+", "Dalvi V+" }, { "DALVI V+", "Dalvi V+" } },                // duplicates are case-sensitive
        { { "", "   ", "\t", "Dalvi V+" }, { "Dalvi V+" } },
        { { "IAC Driver Bus 1", "Zorvane firmware upgrade", "Dalv i" }, {} },
        { { "MIDIOUT2 (Dalvi V+)", "Dalvi V+" }, { "MIDIOUT2 (Dalvi V+)", "Dalvi V+" } }, // anywhere in the name
        { { " Dalvi V+", "Dalvi V+" }, { " Dalvi V+", "Dalvi V+" } },            // names are not trimmed
        { {}, {} },
    };

    for (const auto& c : cases)
        EXPECT_EQ (joined (DeviceSelectComponent::findDalviOutputs (c.outputs)), joined (c.expected))
            << joined (c.outputs);
}

TEST (DeviceSelectComponent, ListsDalviPortsOnceInOrderWithTheFirstSelected)
{
    Ports ports { "Dalvi V+", "dalvi v+ (2)", "IAC Driver Bus 1", "Dalvi V+" };
    DeviceSelectComponent dialog (ports.midi);
    auto& list = listOf (dialog);

    EXPECT_EQ (itemsOf (list), "Dalvi V+|dalvi v+ (2)");
    EXPECT_EQ (list.getItemId (0), 1);
    EXPECT_EQ (list.getItemId (1), 2);
    EXPECT_EQ (list.getSelectedItemIndex(), 0);
    EXPECT_EQ (dialog.selectedName, "Dalvi V+");
    EXPECT_TRUE (dialog.canConnect());
    EXPECT_EQ (dialog.getName(), "DeviceSelectComponent");
    EXPECT_EQ (dialog.getWidth(), 300);
    EXPECT_EQ (dialog.getHeight(), 200);
}

TEST (DeviceSelectComponent, ReadsThePortsOnlyWhenBuilt)
{
    Ports ports { "Dalvi V+" };
    DeviceSelectComponent dialog (ports.midi);

    ports.midi.plugIn ("Dalvi V+ (3)", ports.device);
    ports.midi.unplug ("Dalvi V+");

    EXPECT_EQ (itemsOf (listOf (dialog)), "Dalvi V+");
}

TEST (DeviceSelectComponent, ChoosingAPortUpdatesSelectedName)
{
    Ports ports { "Dalvi V+", "dalvi v+ (2)" };
    DeviceSelectComponent dialog (ports.midi);

    listOf (dialog).setSelectedItemIndex (1, juce::sendNotificationSync);
    EXPECT_EQ (dialog.selectedName, "dalvi v+ (2)");

    listOf (dialog).setSelectedItemIndex (0, juce::sendNotificationSync);
    EXPECT_EQ (dialog.selectedName, "Dalvi V+");
}

TEST (DeviceSelectComponent, ConnectEndsTheDialogWithOneAndKeepsTheChoice)
{
    Ports ports { "Dalvi V+", "dalvi v+ (2)", "IAC Driver Bus 1" };
    DeviceSelectComponent content (ports.midi);
    OffscreenDialog window (content);

    listOf (content).setSelectedItemIndex (1, juce::sendNotificationSync);
    content.buttonClicked (&buttonOf (content, "Connect"));

    EXPECT_EQ (window.waitForExit(), 1);
    EXPECT_EQ (window.closeRequests, 0);
    EXPECT_EQ (content.selectedName, "dalvi v+ (2)");
}

TEST (DeviceSelectComponent, CancelClosesTheWindowInsteadOfConnecting)
{
    Ports ports { "Dalvi V+", "dalvi v+ (2)" };
    DeviceSelectComponent content (ports.midi);
    OffscreenDialog window (content);

    listOf (content).setSelectedItemIndex (1, juce::sendNotificationSync);
    content.buttonClicked (&buttonOf (content, "Cancel"));

    EXPECT_EQ (window.closeRequests, 1);
    EXPECT_TRUE (window.isCurrentlyModal (false));
}

TEST (DeviceSelectComponent, WithoutADalviPortTheListIsEmptyAndConnectDoesNothing)
{
    Ports ports { "IAC Driver Bus 1", "Zorvane firmware upgrade" };
    DeviceSelectComponent content (ports.midi);
    OffscreenDialog window (content);

    EXPECT_EQ (listOf (content).getNumItems(), 0);
    EXPECT_EQ (listOf (content).getSelectedItemIndex(), -1);
    EXPECT_TRUE (content.selectedName.isEmpty());
    EXPECT_FALSE (content.canConnect());

    content.buttonClicked (&buttonOf (content, "Connect"));

    EXPECT_TRUE (window.isCurrentlyModal (false));
    EXPECT_EQ (window.closeRequests, 0);
}

TEST (DeviceSelectComponent, ButtonsOutsideAWindowAreHarmless)
{
    Ports ports { "Dalvi V+" };
    DeviceSelectComponent dialog (ports.midi);

    dialog.buttonClicked (&buttonOf (dialog, "Connect"));
    dialog.buttonClicked (&buttonOf (dialog, "Cancel"));

    EXPECT_EQ (dialog.selectedName, "Dalvi V+");
}

TEST (DeviceSelectComponent, LayoutFollowsTheSize)
{
    struct Case
    {
        int width, height;
        juce::Rectangle<int> list, connect, cancel;
    };

    const Case cases[] {
        { 300, 200, { 8, 76, 284, 24 }, { 90, 160, 100, 30 }, { 190, 160, 100, 30 } },
        { 400, 301, { 8, 126, 384, 24 }, { 190, 261, 100, 30 }, { 290, 261, 100, 30 } },
        { 150, 25, { 8, -12, 134, 24 }, { -10, -10, 50, 25 }, { 40, -10, 100, 25 } },
    };

    Ports ports { "Dalvi V+" };
    DeviceSelectComponent dialog (ports.midi);

    for (const auto& c : cases)
    {
        dialog.setSize (c.width, c.height);
        SCOPED_TRACE (juce::String (c.width) + "x" + juce::String (c.height));

        EXPECT_EQ (listOf (dialog).getBounds(), c.list);
        EXPECT_EQ (buttonOf (dialog, "Connect").getBounds(), c.connect);
        EXPECT_EQ (buttonOf (dialog, "Cancel").getBounds(), c.cancel);
    }
}

} // namespace
