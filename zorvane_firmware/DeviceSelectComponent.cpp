#include "zorvane_firmware/DeviceSelectComponent.h"

#include "zorvane_firmware/DeviceHelpers.h"

namespace zorvane
{

DeviceSelectComponent::DeviceSelectComponent (MidiBackend& midi, Waits& w)
    : juce::Component ("DeviceSelectComponent"),
      waits (w)
{
    addAndMakeVisible (selectButton);
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (deviceList);

    deviceList.addItemList (DeviceHelpers::getDeviceNames (false, midi), 1);

    if (deviceList.getNumItems() > 0)
        deviceList.setSelectedItemIndex (0, juce::dontSendNotification);

    selectedName = deviceList.getText();

    selectButton.addListener (this);
    cancelButton.addListener (this);
    deviceList.addListener (this);

    setSize (300, 200);
}

DeviceSelectComponent::~DeviceSelectComponent()
{
    selectButton.removeListener (this);
    cancelButton.removeListener (this);
    deviceList.removeListener (this);
}

//==============================================================================
void DeviceSelectComponent::paint (juce::Graphics&)
{
    // The dialog window's background shows through.
}

void DeviceSelectComponent::layOutPicker (juce::Component& list, juce::Component& confirmButton,
                                          juce::Component& cancelButton, int w, int h)
{
    list.setBounds (8, h / 2 - 24, w - 16, 24);

    const auto cancelWidth = juce::jmin (w, 100);
    const auto buttonHeight = juce::jmin (h, 30);
    cancelButton.setBounds (w - 10 - cancelWidth, h - 10 - buttonHeight, cancelWidth, buttonHeight);

    const auto confirmWidth = juce::jmin (w - cancelWidth, 100);
    confirmButton.setBounds (cancelButton.getX() - confirmWidth, cancelButton.getY(), confirmWidth, buttonHeight);
}

void DeviceSelectComponent::resized()
{
    layOutPicker (deviceList, selectButton, cancelButton, getWidth(), getHeight());
}

void DeviceSelectComponent::buttonClicked (juce::Button* button)
{
    if (button == &selectButton)
    {
        // An empty list still confirms (an empty name), which no step accepts.
        if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
            dialog->exitModalState (1);
    }
    else if (button == &cancelButton)
    {
        waits.sleep (300);

        // The window's own close path hides it, which ends the modal run with 0.
        if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
            dialog->closeButtonPressed();
    }
}

void DeviceSelectComponent::comboBoxChanged (juce::ComboBox* box)
{
    if (box == &deviceList)
        selectedName = deviceList.getText();
}

} // namespace zorvane
