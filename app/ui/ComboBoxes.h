#pragma once

#include "app/model/ControllerMap.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The mode combo box: one item per control mode, the item index being the mode. */
class CtModeComboBox : public juce::ComboBox
{
public:
    /** Lists the modes and shows the device model's current one. */
    CtModeComboBox();
    ~CtModeComboBox() override;

    /** The mode of the selected item; Mackie while nothing is selected. */
    CtMode getSelectedMode() const;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CtModeComboBox)
};

//==============================================================================
/** An attribute combo box of the main view. The value box also remembers which
    value each of its items stands for, since an item's place in the list need
    not be its value.
*/
class MapComboBox : public juce::ComboBox
{
public:
    MapComboBox();
    ~MapComboBox() override;

    /** values[i] is the value of item index i; the filler appends and clears it. */
    juce::Array<int>& get_values();

    /** The value of the selected item, or 0 when nothing (or an item without a
        value) is selected.
    */
    int getMappedValue();

private:
    juce::Array<int> values;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MapComboBox)
};
