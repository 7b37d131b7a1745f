#include "app/ui/DeviceSelectComponent.h"

namespace
{
    bool namesDalvi (const juce::String& portName)
    {
        return portName.containsIgnoreCase ("Dalvi");
    }
}

//==============================================================================
DeviceSelectComponent::DeviceSelectComponent (zorvane::MidiBackend& midi)
    : juce::Component ("DeviceSelectComponent")
{
    addAndMakeVisible (connectButton);
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (deviceList);

    deviceList.addItemList (findDalviOutputs (midi.getOutputNames()), 1);

    if (deviceList.getNumItems() > 0)
        deviceList.setSelectedItemIndex (0, juce::dontSendNotification);

    selectedName = deviceList.getText();

    connectButton.addListener (this);
    cancelButton.addListener (this);
    deviceList.addListener (this);

    setSize (300, 200);
}

DeviceSelectComponent::~DeviceSelectComponent()
{
    connectButton.removeListener (this);
    cancelButton.removeListener (this);
    deviceList.removeListener (this);
}

//==============================================================================
juce::StringArray DeviceSelectComponent::findDalviOutputs (const juce::StringArray& outputNames)
{
    // Some MIDI services list a port twice or list nameless ones; neither is worth offering.
    auto names = outputNames;
    names.removeDuplicates (false);
    names.removeEmptyStrings (true);

    juce::StringArray dalvis;

    for (const auto& name : names)
        if (namesDalvi (name))
            dalvis.add (name);

    return dalvis;
}

bool DeviceSelectComponent::canConnect() const
{
    return namesDalvi (deviceList.getText());
}

//==============================================================================
void DeviceSelectComponent::paint (juce::Graphics&)
{
    // The dialog window's background shows through.
}

void DeviceSelectComponent::resized()
{
    const auto w = getWidth();
    const auto h = getHeight();

    deviceList.setBounds (8, h / 2 - 24, w - 16, 24);

    const auto bw = juce::jmin (w, 100);
    const auto bh = juce::jmin (h, 30);
    cancelButton.setBounds (w - 10 - bw, h - 10 - bh, bw, bh);

    const auto cw = juce::jmin (w - bw, 100);
    connectButton.setBounds (w - 10 - bw - cw, h - 10 - bh, cw, bh);
}

void DeviceSelectComponent::buttonClicked (juce::Button* button)
{
    if (button == &cancelButton)
    {
        // The window's own close path hides it, which ends the modal run with 0.
        if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
            dialog->closeButtonPressed();
    }
    else if (button == &connectButton)
    {
        // With nothing to connect to, the dialog stays open until it is cancelled.
        if (! canConnect())
            return;

        if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
            dialog->exitModalState (1);
    }
}

void DeviceSelectComponent::comboBoxChanged (juce::ComboBox* box)
{
    if (box == &deviceList)
        selectedName = deviceList.getText();
}
