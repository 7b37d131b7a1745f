// read_settings FOLDER [KEY]: prints the value of KEY (default "modes") of the
// editor's settings file in FOLDER, as the editor stores it with
// TRAVIK_SETTINGS_DIR=FOLDER. Exit status 1 when there is no such file or key.

#include "app/device/ThisProduct.h"

#include <iostream>

int main (int argc, char* argv[])
{
    if (argc < 2 || argc > 3)
    {
        std::cerr << "usage: read_settings FOLDER [KEY]\n";
        return 2;
    }

    auto options = DalviPlus::getSettingsOptions();
    options.folderName = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]).getFullPathName();

    const auto file = options.getDefaultFile();

    if (! file.existsAsFile())
    {
        std::cerr << "no settings file: " << file.getFullPathName() << "\n";
        return 1;
    }

    const juce::String key (argc > 2 ? argv[2] : "modes");
    juce::PropertiesFile properties (options);

    if (! properties.containsKey (key))
    {
        std::cerr << "no key \"" << key << "\" in " << file.getFullPathName() << "\n";
        return 1;
    }

    std::cout << properties.getValue (key) << "\n";
    return 0;
}
