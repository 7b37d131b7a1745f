#include "app/ui/AboutComponent.h"

#include "zorvane_core/Maker.h"

namespace
{
    constexpr auto versionNumber = "1.07";
    constexpr auto buildTag = "2e";

    const juce::Colour background { 0xff222222 };
    const juce::Colour textColour { 0xffeeeeee };

    std::unique_ptr<juce::Label> makeLabel (const juce::String& componentName, const juce::String& text,
                                            const juce::Font& font, juce::Justification justification)
    {
        auto label = std::make_unique<juce::Label> (componentName, text);
        label->setFont (font);
        label->setJustificationType (justification);
        label->setEditable (false, false, false);

        // The editor never opens, but keep it readable on the dark ground should it ever.
        label->setColour (juce::Label::textColourId, textColour);
        label->setColour (juce::TextEditor::textColourId, textColour);
        label->setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));
        return label;
    }
}

//==============================================================================
AboutComponent::AboutComponent()
{
    titleLabel = makeLabel ("new label", juce::translate ("Dalvi V+ Travik"),
                            juce::Font (juce::Font::getDefaultSansSerifFontName(), 50.0f, juce::Font::plain)
                                .withTypefaceStyle ("Bold"),
                            juce::Justification::centred);
    addAndMakeVisible (titleLabel.get());

    copyrightLabel = makeLabel ("CopyrightLabel", juce::translate (zorvane::Maker::copyrightNotice),
                                juce::Font (15.0f, juce::Font::plain).withTypefaceStyle ("Regular"),
                                juce::Justification::centredLeft);
    addAndMakeVisible (copyrightLabel.get());

    const juce::String webSite (zorvane::Maker::webSite);
    aboutLink = std::make_unique<juce::HyperlinkButton> (juce::translate ("About Us"), juce::URL (webSite));
    aboutLink->setTooltip (webSite);
    aboutLink->setColour (juce::HyperlinkButton::textColourId, juce::Colours::red);
    addAndMakeVisible (aboutLink.get());

    versionLabel = makeLabel ("VersionLabel", getVersionText(),
                              juce::Font (18.0f, juce::Font::plain).withTypefaceStyle ("Regular"),
                              juce::Justification::centred);
    addAndMakeVisible (versionLabel.get());

    setSize (500, 278);
}

AboutComponent::~AboutComponent()
{
    titleLabel = nullptr;
    copyrightLabel = nullptr;
    aboutLink = nullptr;
    versionLabel = nullptr;
}

//==============================================================================
juce::String AboutComponent::getVersionText()
{
    return juce::translate ("v") + versionNumber + juce::translate (" Build ") + buildTag;
}

//==============================================================================
void AboutComponent::paint (juce::Graphics& g)
{
    g.fillAll (background);
}

void AboutComponent::resized()
{
    const auto w = getWidth();
    const auto h = getHeight();

    titleLabel->setBounds (w / 2 - 240, 72, 480, 56);
    versionLabel->setBounds (w / 2 - 234, 128, 150, 24);
    copyrightLabel->setBounds (13, 243, 195, 24);
    aboutLink->setBounds (393, h - 36, 94, 24);
}
