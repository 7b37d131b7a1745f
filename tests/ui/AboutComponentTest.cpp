#include "app/ui/AboutComponent.h"
#include "zorvane_core/Maker.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

//==============================================================================
juce::Label& labelNamed (AboutComponent& about, const juce::String& name)
{
    for (auto* child : about.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            if (label->getName() == name)
                return *label;

    throw std::runtime_error ("no label " + name.toStdString());
}

juce::HyperlinkButton& linkOf (AboutComponent& about)
{
    for (auto* child : about.getChildren())
        if (auto* link = dynamic_cast<juce::HyperlinkButton*> (child))
            return *link;

    throw std::runtime_error ("no link");
}

/** Whether any pixel of `area` passes `test`. */
template <typename Test>
bool anyPixel (const juce::Image& image, juce::Rectangle<int> area, Test test)
{
    for (auto y = area.getY(); y < area.getBottom(); ++y)
        for (auto x = area.getX(); x < area.getRight(); ++x)
            if (test (image.getPixelAt (x, y)))
                return true;

    return false;
}

//==============================================================================
TEST (AboutComponent, LabelsShowTheirTextsInTheirFonts)
{
    struct Case
    {
        const char* componentName;
        juce::String text;
        float fontHeight;
        const char* style;
        juce::Justification justification;
    };

    const Case cases[] {
        { "new label", "Dalvi V+ Travik", 50.0f, "Bold", juce::Justification::centred },
        { "CopyrightLabel", zorvane::Maker::copyrightNotice, 15.0f, "Regular", juce::Justification::centredLeft },
        { "VersionLabel", "v1.07 Build 2e", 18.0f, "Regular", juce::Justification::centred },
    };

    AboutComponent about;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.componentName);
        auto& label = labelNamed (about, c.componentName);

        EXPECT_EQ (label.getText(), c.text);
        EXPECT_FLOAT_EQ (label.getFont().getHeight(), c.fontHeight);
        EXPECT_EQ (label.getFont().getTypefaceStyle(), c.style);
        EXPECT_EQ (label.getJustificationType(), c.justification);
        EXPECT_FALSE (label.isEditableOnSingleClick());
        EXPECT_FALSE (label.isEditableOnDoubleClick());
        EXPECT_EQ (label.findColour (juce::Label::textColourId).getARGB(), 0xffeeeeeeu);
        EXPECT_EQ (label.findColour (juce::TextEditor::textColourId).getARGB(), 0xffeeeeeeu);
        EXPECT_EQ (label.findColour (juce::TextEditor::backgroundColourId).getARGB(), 0x00000000u);
        EXPECT_TRUE (label.isVisible());
    }

    EXPECT_EQ (labelNamed (about, "new label").getFont().getTypefaceName(),
               juce::Font::getDefaultSansSerifFontName());
    EXPECT_EQ (AboutComponent::getVersionText(), "v1.07 Build 2e");
}

TEST (AboutComponent, LinkIsRedAndPointsAtTheMakersSite)
{
    AboutComponent about;
    auto& link = linkOf (about);

    EXPECT_EQ (link.getButtonText(), "About Us");
    EXPECT_EQ (link.getURL().toString (false), juce::String (zorvane::Maker::webSite));
    EXPECT_EQ (link.getTooltip(), juce::String (zorvane::Maker::webSite));
    EXPECT_EQ (link.findColour (juce::HyperlinkButton::textColourId).getARGB(), juce::Colours::red.getARGB());
    EXPECT_TRUE (link.isVisible());

    // The address is a real https URL the browser can open.
    EXPECT_TRUE (juce::URL (zorvane::Maker::webSite).isWellFormed());
    EXPECT_TRUE (juce::String (zorvane::Maker::webSite).startsWith ("https://"));
}

TEST (AboutComponent, ChildrenAreInFieldOrder)
{
    AboutComponent about;

    ASSERT_EQ (about.getNumChildComponents(), 4);
    EXPECT_EQ (about.getChildComponent (0), &labelNamed (about, "new label"));
    EXPECT_EQ (about.getChildComponent (1), &labelNamed (about, "CopyrightLabel"));
    EXPECT_EQ (about.getChildComponent (2), &linkOf (about));
    EXPECT_EQ (about.getChildComponent (3), &labelNamed (about, "VersionLabel"));
}

TEST (AboutComponent, LayoutFollowsTheSize)
{
    struct Case
    {
        int width, height;
        juce::Rectangle<int> title, version, copyright, link;
    };

    const Case cases[] {
        { 500, 278, { 10, 72, 480, 56 }, { 16, 128, 150, 24 }, { 13, 243, 195, 24 }, { 393, 242, 94, 24 } },
        { 601, 300, { 60, 72, 480, 56 }, { 66, 128, 150, 24 }, { 13, 243, 195, 24 }, { 393, 264, 94, 24 } },
    };

    AboutComponent about;
    EXPECT_EQ (about.getWidth(), 500);
    EXPECT_EQ (about.getHeight(), 278);

    for (const auto& c : cases)
    {
        about.setSize (c.width, c.height);
        SCOPED_TRACE (juce::String (c.width) + "x" + juce::String (c.height));

        EXPECT_EQ (labelNamed (about, "new label").getBounds(), c.title);
        EXPECT_EQ (labelNamed (about, "VersionLabel").getBounds(), c.version);
        EXPECT_EQ (labelNamed (about, "CopyrightLabel").getBounds(), c.copyright);
        EXPECT_EQ (linkOf (about).getBounds(), c.link);
    }
}

TEST (AboutComponent, DrawsLightTextAndARedLinkOnANearBlackGround)
{
    AboutComponent about;
    const auto image = about.createComponentSnapshot (about.getLocalBounds(), true, 1.0f);

    EXPECT_EQ (image.getPixelAt (5, 5).getARGB(), 0xff222222u);
    EXPECT_EQ (image.getPixelAt (250, 200).getARGB(), 0xff222222u);

    const auto isLight = [] (juce::Colour c) { return c.getRed() > 200 && c.getGreen() > 200 && c.getBlue() > 200; };
    const auto isRed = [] (juce::Colour c) { return c.getRed() > 180 && c.getGreen() < 80 && c.getBlue() < 80; };

    EXPECT_TRUE (anyPixel (image, labelNamed (about, "new label").getBounds(), isLight));
    EXPECT_TRUE (anyPixel (image, labelNamed (about, "VersionLabel").getBounds(), isLight));
    EXPECT_TRUE (anyPixel (image, linkOf (about).getBounds(), isRed));
    EXPECT_FALSE (anyPixel (image, linkOf (about).getBounds(), isLight));
}

} // namespace
