#pragma once

#include <juce_core/juce_core.h>

namespace testsupport
{

/** A fresh folder under the system's temporary directory, deleted with its content. */
class TempFolder
{
public:
    TempFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getNonexistentChildFile ("travik-test", {}, false))
    {
        folder.createDirectory();
    }

    ~TempFolder() { folder.deleteRecursively(); }

    const juce::File& get() const { return folder; }
    juce::File operator/ (const juce::String& name) const { return folder.getChildFile (name); }

private:
    juce::File folder;
    JUCE_DECLARE_NON_COPYABLE (TempFolder)
};

} // namespace testsupport
