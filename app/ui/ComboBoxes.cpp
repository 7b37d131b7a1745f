#include "app/ui/ComboBoxes.h"

#include "app/device/ThisProduct.h"
#include "app/model/Arrays.h"

//==============================================================================
CtModeComboBox::CtModeComboBox()
{
    for (int i = 1; i <= CtMode::numTypes; ++i)
    {
        const auto name = CtMode::nameForType (i - 1);

        if (name.isNotEmpty())
            addItem (juce::String (i) + ") " + name, i);
    }

    if (auto* model = DalviPlus::singletonHolder.get())
        setSelectedItemIndex ((int) model->getCurrentCtMode(), juce::dontSendNotification);
}

CtModeComboBox::~CtModeComboBox() = default;

CtMode CtModeComboBox::getSelectedMode() const
{
    const auto index = getSelectedItemIndex();

    if (! juce::isPositiveAndBelow (index, (int) juce::numElementsInArray (modIdForSel)))
        return CtMode::Mackie;

    return static_cast<CtMode::Type> (modIdForSel[index]);
}

//==============================================================================
MapComboBox::MapComboBox() = default;

MapComboBox::~MapComboBox() = default;

juce::Array<int>& MapComboBox::get_values()
{
    return values;
}

int MapComboBox::getMappedValue()
{
    const auto index = getSelectedItemIndex();

    if (! juce::isPositiveAndBelow (index, values.size()))
        return 0;

    return values[index];
}
