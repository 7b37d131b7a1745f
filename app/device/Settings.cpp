#include "app/device/Settings.h"

juce::PropertiesFile::Options Settings::makeOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "DalviVPlus";
    options.folderName = "Zorvane/DalviVPlus";
    options.filenameSuffix = ".conf";
    options.osxLibrarySubFolder = "Application Support";
    options.commonToAllUsers = true;
    options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;
    return options;
}

Settings::Settings()
{
    properties.setStorageParameters (makeOptions());
}

Settings::Settings (const juce::File& folder)
{
    // An absolute folder name replaces the application-support folder for both
    // the common and the user's file.
    auto options = makeOptions();
    options.folderName = folder.getFullPathName();
    properties.setStorageParameters (options);
}
