#include "app/ui/ControlSection.h"

#include "app/device/ThisProduct.h"

namespace
{
    const juce::Colour buttonColour { 0x24202020 };
    const juce::Colour selectedButtonColour { 0x706655a8 };
    const juce::Colour buttonTextColour { 0xffd0ffff };
    const juce::Colour captionBackground { 0x0affffff };
}

//==============================================================================
ControlSection::ControlSection()
    : juce::Component ("ControlSection")
{
    // Button and caption alternate in child order; the main view walks that
    // order to find the selected button.
    for (int row = 0; row < numRows; ++row)
    {
        for (int column = 0; column < numColumns; ++column)
        {
            auto* button = controlButtons.add (new MappableButton ({}));
            addAndMakeVisible (button);
            button->setButtonText ({});
            button->addListener (this);
            button->setInterceptsMouseClicks (true, true);

            auto* caption = captionLabels.add (new juce::Label ("new label", {}));
            addAndMakeVisible (caption);
            caption->setFont (juce::Font (15.0f, juce::Font::plain).withTypefaceStyle ("Regular"));
            caption->setJustificationType (juce::Justification::centred);
            caption->setEditable (false, false, false);
            caption->setColour (juce::Label::textColourId, juce::Colours::black);
            caption->setColour (juce::Label::backgroundColourId, captionBackground);
        }
    }

    setButtonTypes();
}

ControlSection::~ControlSection()
{
    for (auto* button : controlButtons)
        button->removeListener (this);
}

//==============================================================================
void ControlSection::setButtonTypes()
{
    auto* model = DalviPlus::singletonHolder.get();

    if (model == nullptr)
        return;

    const auto map = model->getCurrentMap();

    for (int k = 0; k < controlButtons.size(); ++k)
    {
        auto* button = controlButtons.getUnchecked (k);
        button->setMapping (map.getControlById (k + 1));
        button->setColour (juce::TextButton::buttonColourId, buttonColour);
        button->setColour (juce::TextButton::buttonOnColourId, selectedButtonColour);
        button->setColour (juce::TextButton::textColourOffId, buttonTextColour);
        button->setAlpha (1.0f);
    }
}

//==============================================================================
void ControlSection::paint (juce::Graphics&)
{
    // The main view's background shows through.
}

void ControlSection::resized()
{
    // A fixed grid: the panel is taller than the view and its size says nothing
    // about where the buttons go.
    for (int row = 0; row < numRows; ++row)
    {
        for (int column = 0; column < numColumns; ++column)
        {
            const auto k = row * numColumns + column;
            const auto x = (int) (60.0f + 85.0f * (float) column);

            captionLabels.getUnchecked (k)->setBounds (x, (int) (30.0f + 64.0f * (float) row), (int) 66.56f, 24);
            controlButtons.getUnchecked (k)->setBounds (x, (int) (58.0f + 64.0f * (float) row), 60, 36);
        }
    }
}

void ControlSection::buttonClicked (juce::Button*)
{
    // Selection and editing belong to the main view, which listens to every button.
}
