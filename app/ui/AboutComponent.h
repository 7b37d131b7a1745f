#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

//==============================================================================
/** The content of the About box: the program's name and version, the maker's
    copyright notice and a link to the maker's web site, on a near-black ground.
*/
class AboutComponent : public juce::Component
{
public:
    AboutComponent();
    ~AboutComponent() override;

    //==============================================================================
    void paint (juce::Graphics&) override;
    void resized() override;

    //==============================================================================
    /** The version line, e.g. "v1.07 Build 2e". */
    static juce::String getVersionText();

private:
    //==============================================================================
    std::unique_ptr<juce::Label> titleLabel;
    std::unique_ptr<juce::Label> copyrightLabel;
    std::unique_ptr<juce::HyperlinkButton> aboutLink;
    std::unique_ptr<juce::Label> versionLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutComponent)
};
