#include "app/ui/JuceEditorDialogs.h"

#include "app/ui/AboutComponent.h"
#include "app/ui/DeviceSelectComponent.h"
#include "zorvane_firmware/FirmwareUpgrade.h"

#include <memory>

namespace
{
    constexpr auto mapFilePattern = "*.travik";
}

//==============================================================================
JuceEditorDialogs::JuceEditorDialogs() = default;

JuceEditorDialogs::~JuceEditorDialogs() = default;

//==============================================================================
std::optional<juce::File> JuceEditorDialogs::chooseFileToLoad()
{
    juce::FileChooser chooser ("Load Mapping", juce::File(), mapFilePattern, true, false, nullptr);

    if (! chooser.browseForFileToOpen (nullptr))
        return std::nullopt;

    return chooser.getResult();
}

std::optional<juce::File> JuceEditorDialogs::chooseFileToSave()
{
    juce::FileChooser chooser ("Save Mapping", juce::File(), mapFilePattern, true, false, nullptr);

    if (! chooser.browseForFileToSave (true))
        return std::nullopt;

    return chooser.getResult();
}

std::optional<juce::String> JuceEditorDialogs::chooseOutputPort (juce::Component& centreAround)
{
    // The dialog does not own its content: the chosen name is read from it after
    // the window has gone.
    auto content = std::make_unique<DeviceSelectComponent>();

    juce::DialogWindow::LaunchOptions options;
    options.content.setNonOwned (content.get());
    options.dialogTitle = "Select your device";
    options.componentToCentreAround = &centreAround;
    options.escapeKeyTriggersCloseButton = true;
    options.useNativeTitleBar = true;
    options.resizable = false;
    options.useBottomRightCornerResizer = false;

    if (options.runModal() > 0)
        return content->selectedName;

    return std::nullopt;
}

void JuceEditorDialogs::showAlert (const juce::String& title, const juce::String& message)
{
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, title, message);
}

void JuceEditorDialogs::showAbout()
{
    juce::DialogWindow::LaunchOptions options;
    options.content.setOwned (new AboutComponent());
    options.dialogTitle = "About Dalvi V+ Travik";
    options.componentToCentreAround = nullptr;
    options.escapeKeyTriggersCloseButton = true;
    options.useNativeTitleBar = false;
    options.resizable = false;
    options.useBottomRightCornerResizer = false;
    options.launchAsync();
}

void JuceEditorDialogs::runFirmwareUpgrade (juce::Component& centreAround)
{
    // Product 170 is the Dalvi V+; the USB hub warning comes first, and the
    // firmware comes from the server's list.
    zorvane::FirmwareUpgrade::runWizardDialogModal (170, &centreAround, true, true);
}
