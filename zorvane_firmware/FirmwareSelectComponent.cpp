#include "zorvane_firmware/FirmwareSelectComponent.h"

#include "zorvane_firmware/DeviceSelectComponent.h"

namespace zorvane
{

namespace
{
    const juce::Identifier nameProperty ("name");
    const juce::Identifier versionProperty ("version");
    const juce::Identifier fwProperty ("fw");
}

//==============================================================================
FirmwareSelectComponent::FirmwareSelectComponent (const juce::ValueTree& firmwares, juce::String serverBase)
    : juce::Component ("DeviceSelectComponent"),
      entries (firmwares.createCopy()),
      base (std::move (serverBase))
{
    addAndMakeVisible (loadButton);
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (versionList);

    for (int i = 0; i < entries.getNumChildren(); ++i)
    {
        const auto entry = entries.getChild (i);
        versionList.addItem (entry[nameProperty].toString() + " v" + entry[versionProperty].toString(), i + 1);
    }

    if (versionList.getNumItems() > 0)
        versionList.setSelectedItemIndex (0, juce::sendNotificationAsync);

    loadButton.addListener (this);
    cancelButton.addListener (this);
    versionList.addListener (this);

    setSize (300, 200);
}

FirmwareSelectComponent::~FirmwareSelectComponent()
{
    loadButton.removeListener (this);
    cancelButton.removeListener (this);
    versionList.removeListener (this);
}

//==============================================================================
juce::URL FirmwareSelectComponent::getDownloadUrl() const
{
    // No selection is index -1, which as unsigned is out of range too.
    const auto index = versionList.getSelectedItemIndex();

    if ((unsigned int) index >= (unsigned int) entries.getNumChildren())
        return {};

    return juce::URL (base + entries.getChild (index)[fwProperty].toString());
}

//==============================================================================
void FirmwareSelectComponent::paint (juce::Graphics&)
{
    // The dialog window's background shows through.
}

void FirmwareSelectComponent::resized()
{
    DeviceSelectComponent::layOutPicker (versionList, loadButton, cancelButton, getWidth(), getHeight());
}

void FirmwareSelectComponent::buttonClicked (juce::Button* button)
{
    auto* dialog = findParentComponentOfClass<juce::DialogWindow>();

    if (dialog == nullptr)
        return;

    if (button == &loadButton)
        dialog->exitModalState (1);
    else if (button == &cancelButton)
        dialog->closeButtonPressed();
}

void FirmwareSelectComponent::comboBoxChanged (juce::ComboBox*)
{
    // The choice is read from the list when the dialog has ended.
}

} // namespace zorvane
