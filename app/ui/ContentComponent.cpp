#include "app/ui/ContentComponent.h"

#include "app/device/ThisProduct.h"
#include "app/model/Arrays.h"
#include "app/ui/EmbeddedImages.h"

#include "BinaryData.h"

#include <iterator>
#include <utility>

namespace
{
    const juce::Colour groundColour { 0xffeeeeee };
    const juce::Colour panelColour { 0xffc8c8c8 };
    const juce::Colour panelOutlineColour { 0xffbbbbbb };
    const juce::Colour aboutHintColour { 0xdfffffff };

    constexpr auto aboutHintText = "About..";

    constexpr int numChannels = 16;

    DalviPlus* deviceModel()
    {
        return DalviPlus::singletonHolder.get();
    }

    CtMode currentMode()
    {
        if (auto* model = deviceModel())
            return model->getCurrentCtMode();

        return CtMode::Mackie;
    }

    /** True when the image, drawn at the view's origin, hides every pixel of it. */
    bool coversOpaquely (const juce::Image& image, juce::Rectangle<int> area)
    {
        return image.isValid() && ! image.hasAlphaChannel() && image.getBounds().contains (area);
    }

    void setUpCaption (juce::Label& caption, const juce::String& text)
    {
        caption.setText (text, juce::dontSendNotification);
        caption.setColour (juce::Label::textColourId, juce::Colours::black);
        caption.setJustificationType (juce::Justification::centred);
    }
}

//==============================================================================
ContentComponent::ContentComponent (EditorDialogs& dialogsToUse)
    : dialogs (dialogsToUse)
{
    // Only the About box link has a tooltip, and it should show at once.
    tooltipWindow.setMillisecondsBeforeTipAppears (0);

    logoImage = EmbeddedImages::getFromMemory (BinaryData::ZorvaneLogo_png, BinaryData::ZorvaneLogo_pngSize);
    prodImage = EmbeddedImages::getFromMemory (BinaryData::prod_png, BinaryData::prod_pngSize);
    backgroundImage = EmbeddedImages::getFromMemory (BinaryData::bg_png, BinaryData::bg_pngSize);

    // The panel reaches below the view's bottom edge, so it goes in first and
    // everything after it lies in front.
    addAndMakeVisible (controlSection);

    const std::pair<juce::Label*, juce::ComboBox*> rows[] {
        { &modeCaption, &modeComboBox },
        { &valueCaption, &valueComboBox },
        { &channelCaption, &channelComboBox },
        { &msgTypeCaption, &msgTypeComboBox },
    };

    const char* captionTexts[] { "Control Mode", "Message", "Channel", "Msg Type" };

    for (size_t i = 0; i < std::size (rows); ++i)
    {
        auto [caption, box] = rows[i];
        addAndMakeVisible (caption);
        setUpCaption (*caption, captionTexts[i]);
        addAndMakeVisible (box);
        box->setTitle (captionTexts[i]);
        box->addListener (this);
    }

    // Keys typed after a click on a control button are the view's (R, F1), so
    // the attribute boxes do not take the focus from it.
    for (auto* box : { &valueComboBox, &channelComboBox, &msgTypeComboBox })
        box->setWantsKeyboardFocus (false);

    const std::pair<CommandButton*, const char*> commands[] {
        { &saveButton, "Save File" },
        { &loadButton, "Load File" },
        { &sendButton, "Send Data" },
        { &firmwareButton, "Firmware Upgrade" },
        { &connectButton, "Connect" },
    };

    for (auto [button, text] : commands)
    {
        addAndMakeVisible (button);
        button->setButtonText (text);
        button->setTitle (text);
    }

    for (auto* child : getChildren())
        if (auto* command = dynamic_cast<CommandButton*> (child))
            command->addListener (this);

    for (auto* child : controlSection.getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child))
            button->addListener (this);

    // The view takes the keyboard focus when nothing inside it has it, so R and
    // F1 work from the start and after a dialog closes, not only once a control
    // button has been clicked.
    setWantsKeyboardFocus (true);

    // paint() covers every pixel, so the window need not paint its background first.
    setOpaque (true);

    setSize (1000, 576);
}

ContentComponent::~ContentComponent()
{
    for (auto* child : controlSection.getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child))
            button->removeListener (this);

    for (auto* child : getChildren())
        if (auto* command = dynamic_cast<CommandButton*> (child))
            command->removeListener (this);

    for (juce::ComboBox* box : std::initializer_list<juce::ComboBox*> { &modeComboBox, &valueComboBox,
                                                                        &channelComboBox, &msgTypeComboBox })
        box->removeListener (this);
}

//==============================================================================
juce::Rectangle<int> ContentComponent::prodLogoArea() const
{
    return { 416 - prodImage.getWidth() / 2, 24, prodImage.getWidth(), prodImage.getHeight() };
}

juce::Rectangle<int> ContentComponent::logoArea() const
{
    return { 34, 24, logoImage.getWidth() / 2, logoImage.getHeight() / 2 };
}

void ContentComponent::resized()
{
    updLayoutOfComboBoxes();
    updLayoutOfCommandBtns();
    controlSection.setBounds (0, prodLogoArea().getBottom(), getWidth(), getHeight());
}

void ContentComponent::updLayoutOfComboBoxes()
{
    const auto boxY = getHeight() - 65;
    const auto captionY = getHeight() - 85;
    constexpr int boxHeight = 22;

    const auto modeWidth = 200;
    const auto msgTypeWidth = 110;
    const auto channelWidth = 110;
    const auto valueWidth = 200;

    modeComboBox.setBounds (45, boxY, modeWidth, boxHeight);
    msgTypeComboBox.setBounds (modeWidth + 75, boxY, msgTypeWidth, boxHeight);
    channelComboBox.setBounds (modeWidth + msgTypeWidth + 105, boxY, channelWidth, boxHeight);
    valueComboBox.setBounds (modeWidth + msgTypeWidth + channelWidth + 135, boxY, valueWidth, boxHeight);

    for (auto [caption, box] : { std::pair<juce::Label*, juce::Component*> { &modeCaption, &modeComboBox },
                                 { &msgTypeCaption, &msgTypeComboBox },
                                 { &channelCaption, &channelComboBox },
                                 { &valueCaption, &valueComboBox } })
        caption->setBounds (box->getX(), captionY, box->getWidth(), boxHeight);
}

void ContentComponent::updLayoutOfCommandBtns()
{
    const auto y = getHeight() - 33;
    constexpr int width = 94;
    constexpr int height = 23;

    firmwareButton.setBounds (65, y, width, height);

    const auto firmwareWidth = firmwareButton.getWidth();
    connectButton.setBounds (firmwareWidth + 249, y, width, height);
    sendButton.setBounds (firmwareWidth + 355, y, width, height);
    loadButton.setBounds (firmwareWidth + 461, y, width, height);
    saveButton.setBounds (firmwareWidth + 567, y, width, height);
}

//==============================================================================
void ContentComponent::paint (juce::Graphics& g)
{
    // The background image paints the same panel; this one shows should it fail to
    // load. Under the image it would never be seen.
    if (! coversOpaquely (backgroundImage, getLocalBounds()))
    {
        g.fillAll (groundColour);

        const juce::Rectangle<float> panel (12.0f, 12.0f, (float) getWidth() - 24.0f, 455.0f);
        g.setColour (panelColour);
        g.fillRoundedRectangle (panel, 15.0f);
        g.setColour (panelOutlineColour);
        g.drawRoundedRectangle (panel, 15.0f, 2.0f);
    }

    paintLogos (g);

    if (logoHovered)
    {
        const auto x = lastMousePosition.x;
        const auto y = lastMousePosition.y - 10.0f;

        g.setColour (aboutHintColour);
        g.fillRoundedRectangle (x, y, 51.8f, 20.0f, 5.0f);
        g.setColour (juce::Colours::black);
        g.drawText (aboutHintText, (int) x, (int) y, 51, 20, juce::Justification::centred, true);
    }
}

void ContentComponent::paintLogos (juce::Graphics& g)
{
    g.drawImageAt (backgroundImage, 0, 0);

    const auto logo = logoArea();
    g.drawImage (logoImage, logo.getX(), logo.getY(), logo.getWidth(), logo.getHeight(),
                 0, 0, logoImage.getWidth(), logoImage.getHeight());

    const auto prod = prodLogoArea();
    g.drawImage (prodImage, prod.getX(), prod.getY(), prod.getWidth(), prod.getHeight(),
                 0, 0, prodImage.getWidth(), prodImage.getHeight());
}

//==============================================================================
void ContentComponent::mouseMove (const juce::MouseEvent& e)
{
    lastMousePosition = e.position;
    logoHovered = logoArea().contains (e.getMouseDownPosition());
    repaint();
}

void ContentComponent::mouseExit (const juce::MouseEvent&)
{
    logoHovered = false;
    repaint();
}

void ContentComponent::mouseDown (const juce::MouseEvent& e)
{
    const auto point = e.getMouseDownPosition();

    if (prodLogoArea().contains (point))
    {
        repaint();
        return;
    }

    if (logoArea().contains (point))
    {
        logoHovered = false;
        repaint();
        showAboutDlg();
    }
}

bool ContentComponent::keyPressed (const juce::KeyPress& key)
{
    const auto code = key.getKeyCode();

    // Some platforms report the letter as typed, so r counts as much as R.
    if (code == 'R' || code == 'r')
    {
        if (auto* model = deviceModel())
            model->getCurrentMap().reset();

        stabilizeControls();
    }
    else if (code == juce::KeyPress::F1Key)
    {
        showAboutDlg();
    }

    // The main window sees every key as well (Escape ends the program there).
    return false;
}

void ContentComponent::showAboutDlg() const
{
    dialogs.showAbout();
}

//==============================================================================
void ContentComponent::buttonClicked (juce::Button* button)
{
    if (button == &connectButton)
        connect();
    else if (button == &sendButton)
        sendData();
    else if (button == &loadButton)
        loadFile();
    else if (button == &saveButton)
        saveFile();
    else if (button == &firmwareButton)
        dialogs.runFirmwareUpgrade (*this);
    else if (auto* control = dynamic_cast<MappableButton*> (button))
        selectControl (*control);
}

void ContentComponent::comboBoxChanged (juce::ComboBox* box)
{
    if (box == &modeComboBox)
        changeMode();
    else if (box != nullptr)
        editSelectedControl (*box);
}

CommandButton* ContentComponent::findCommandButton (const juce::String& text)
{
    for (auto* child : getChildren())
        if (auto* command = dynamic_cast<CommandButton*> (child))
            if (command->getButtonText() == text)
                return command;

    return nullptr;
}

//==============================================================================
void ContentComponent::connect()
{
    if (auto name = dialogs.chooseOutputPort (*this))
        if (auto* model = deviceModel())
            model->setCurrentOutputDevice (*name);
}

void ContentComponent::sendData()
{
    auto* model = deviceModel();

    if (model == nullptr)
        return;

    const auto result = model->sendCurrentMapping();
    dialogs.showAlert ("Send Mapping", result.wasOk() ? juce::String ("Done!") : result.getErrorMessage());
}

void ContentComponent::loadFile()
{
    const auto file = dialogs.chooseFileToLoad();
    auto* model = deviceModel();

    if (! file.has_value() || model == nullptr)
        return;

    const auto result = model->openFile (*file);

    // The file's mode is current now; the box follows it quietly, since going
    // through comboBoxChanged would switch the mode a second time.
    modeComboBox.setSelectedItemIndex ((int) model->getCurrentMap().getCtMode(), juce::dontSendNotification);
    stabilizeControls();

    if (result.failed())
        dialogs.showAlert ("Load Mapping", result.getErrorMessage());
}

void ContentComponent::saveFile()
{
    const auto file = dialogs.chooseFileToSave();
    auto* model = deviceModel();

    if (! file.has_value() || model == nullptr)
        return;

    const auto result = model->saveCurrentMapping (*file);

    if (result.failed())
        dialogs.showAlert ("Save Mapping", result.getErrorMessage());
}

//==============================================================================
void ContentComponent::selectControl (MappableButton& button)
{
    clearToggleStates();
    button.setToggleState (true, juce::dontSendNotification);

    // Keeps R and F1 coming to this view after the click.
    button.grabKeyboardFocus();

    updAttrBoxesWith (button);
}

void ContentComponent::changeMode()
{
    if (auto* model = deviceModel())
        model->setCtMode (modeComboBox.getSelectedMode());

    stabilizeControls();
}

void ContentComponent::editSelectedControl (juce::ComboBox& box)
{
    auto* selected = findSelectedControl();

    if (selected == nullptr)
        return;

    if (&box == &valueComboBox)
    {
        selected->setValue (valueComboBox.getMappedValue());
    }
    else if (&box == &channelComboBox)
    {
        selected->setChan (channelComboBox.getSelectedId());
    }
    else if (&box == &msgTypeComboBox)
    {
        selected->setMsgType (Defa::getMstyForSel (msgTypeComboBox.getSelectedId() - 1));

        // The values keep their numbers but change their names with the message type.
        updWith (valueComboBox, *selected);
    }
}

MappableButton* ContentComponent::findSelectedControl()
{
    for (auto* child : controlSection.getChildren())
        if (auto* button = dynamic_cast<MappableButton*> (child))
            if (button->getToggleState())
                return button;

    return nullptr;
}

void ContentComponent::clearToggleStates()
{
    for (auto* child : controlSection.getChildren())
        if (auto* button = dynamic_cast<MappableButton*> (child))
            button->setToggleState (false, juce::dontSendNotification);
}

void ContentComponent::stabilizeControls()
{
    controlSection.setButtonTypes();

    if (auto* selected = findSelectedControl())
        updAttrBoxesWith (*selected);
}

//==============================================================================
void ContentComponent::updAttrBoxesWith (MappableButton& button)
{
    const auto mode = currentMode();
    const auto caption = (mode == CtMode::Logic || mode == CtMode::ProTools) ? "Function" : "Message";

    valueCaption.setText (caption, juce::dontSendNotification);
    valueComboBox.setTitle (caption);

    updWith (channelComboBox, button);
    updWith (msgTypeComboBox, button);
    updWith (valueComboBox, button);
}

void ContentComponent::updWith (MapComboBox& box, MappableButton& button)
{
    const auto mode = currentMode();
    const auto id = button.id;
    const auto code = Defa::getMsgType (mode, id);
    const auto noSelection = -1;

    box.clear (juce::dontSendNotification);
    box.get_values().clear();

    if (&box == &channelComboBox)
    {
        for (int channel = 1; channel <= numChannels; ++channel)
            box.addItem (juce::String (channel), channel);

        box.setSelectedItemIndex (mode == CtMode::ProTools ? noSelection : Defa::getChan (mode, id) - 1,
                                  juce::dontSendNotification);
    }
    else if (&box == &msgTypeComboBox)
    {
        for (int i = 1; i <= CtType::numTypes; ++i)
            box.addItem (juce::String (i) + ") " + msgTypes[i - 1], i);

        box.setSelectedItemIndex (mode == CtMode::ProTools ? noSelection : Defa::selForMsgType (code),
                                  juce::dontSendNotification);
    }
    else if (&box == &valueComboBox)
    {
        const auto flag = button.flag;
        const auto numValues = Defa::nSelsInFunc2 (mode, flag);

        for (int i = 0; i < numValues; ++i)
        {
            box.addItem (juce::String (i) + ") " + Defa::getName3 (mode, flag, i, code), i + 1);
            box.get_values().add (Defa::getValue2 (mode, flag, i));
        }

        box.setSelectedItemIndex (Defa::selForval2 (mode, flag, (int) button.value.getValue()),
                                  juce::dontSendNotification);
    }

    // Only the User Defined map is the user's to change; the others show their assignment.
    box.setEnabled (mode == CtMode::UserDefined);

    button.updateText();
}
