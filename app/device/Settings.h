#pragma once

#include <juce_data_structures/juce_data_structures.h>

//==============================================================================
/** The settings storage: the framework's application properties, set up once.

    The program writes the maps here at shutdown and never reads them back.
*/
class Settings
{
public:
    /** The system's application-support folders. */
    Settings();

    /** Both the common and the user's settings file in this folder (for tests). */
    explicit Settings (const juce::File& folder);

    juce::ApplicationProperties& getProperties() noexcept { return properties; }

    /** The options the program stores its settings with. */
    static juce::PropertiesFile::Options makeOptions();

private:
    juce::ApplicationProperties properties;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Settings)
};
