#include "app/model/Arrays.h"
#include "tests/support/ScopedDeviceModel.h"

#include <gtest/gtest.h>

namespace
{
    std::unique_ptr<juce::XmlElement> readSettings (const juce::File& file)
    {
        auto options = DalviPlus::getSettingsOptions();
        options.folderName = file.getParentDirectory().getFullPathName();
        juce::PropertiesFile settings (options);
        return settings.getXmlValue ("modes");
    }
}

TEST (DalviPlus, StartsWithTheFourFactoryMapsAndMackieCurrent)
{
    testsupport::ScopedDeviceModel model;

    EXPECT_EQ (model->getCurrentCtMode(), CtMode::Mackie);
    EXPECT_EQ (model->getCurrentOutputDevice(), "");

    const auto modes = model->getModesTree();
    ASSERT_EQ (modes.getNumChildren(), 4);

    const char* slugs[] = { "Mackie", "Logic", "Pro Tools", "User Defined" };

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (modes.getChild (i)[Tags::mode].toString(), slugs[i]);

    EXPECT_EQ (modes["current"].toString(), "Mackie");
    EXPECT_EQ (model->getCurrentMap().getTree(), modes.getChild (0));
    EXPECT_EQ ((int) model->getCurrentMap().getControlById (1)[Tags::value], 40);
}

TEST (DalviPlus, EditsOfAModeSurviveSwitchingAway)
{
    testsupport::ScopedDeviceModel model;

    model->setCtMode (CtMode::UserDefined);
    model->getCurrentMap().getControlById (7).setProperty (Tags::chan, 9, nullptr);
    model->setCtMode (CtMode::Logic);
    EXPECT_EQ ((int) model->getCurrentMap().getControlById (7)[Tags::chan], 1);
    model->setCtMode (CtMode::UserDefined);

    EXPECT_EQ (model->getCurrentCtMode(), CtMode::UserDefined);
    EXPECT_EQ ((int) model->getCurrentMap().getControlById (7)[Tags::chan], 9);
    EXPECT_EQ (model->getModesTree()["current"].toString(), "User Defined");
}

TEST (DalviPlus, SettingTheCurrentModeAgainChangesNothing)
{
    testsupport::ScopedDeviceModel model;
    model->setCtMode (CtMode::ProTools);
    const auto before = model->getModesTree().createXml()->toString();

    model->setCtMode (CtMode::ProTools);

    EXPECT_EQ (model->getModesTree().createXml()->toString(), before);
}

TEST (DalviPlus, WritesAllFourMapsWithTheRunsEditsAtDestruction)
{
    juce::File settingsFile;
    {
        testsupport::ScopedDeviceModel model;
        settingsFile = model.settingsFile();
        model->setCtMode (CtMode::UserDefined);
        model->getCurrentMap().getControlById (3).setProperty (Tags::value, 99, nullptr);
        model->setCurrentOutputDevice ("Dalvi V+");
        EXPECT_FALSE (settingsFile.exists());

        DalviPlus::singletonHolder.deleteInstance();

        ASSERT_TRUE (settingsFile.existsAsFile());
        const auto xml = readSettings (settingsFile);
        ASSERT_NE (xml, nullptr);

        EXPECT_EQ (xml->getTagName(), "modes");
        EXPECT_EQ (xml->getStringAttribute ("current"), "User Defined");
        EXPECT_EQ (xml->getNumChildElements(), 4);
        EXPECT_EQ (xml->getChildElement (3)->getChildElement (0)->getChildElement (2)->getIntAttribute ("value"), 99);

        // Written in the binary format the settings are kept in, not as text.
        EXPECT_FALSE (settingsFile.loadFileAsString().contains ("<modes"));
    }
}

TEST (DalviPlus, NeverReadsTheSettingsBack)
{
    testsupport::TempFolder folder;
    DalviPlus::Environment env;
    env.settingsFolder = folder.get();

    {
        DalviPlus first (env);
        first.setCtMode (CtMode::Logic);
        first.getCurrentMap().getControlById (1).setProperty (Tags::value, 5, nullptr);
    }

    DalviPlus second (env);
    EXPECT_EQ (second.getCurrentCtMode(), CtMode::Mackie);
    second.setCtMode (CtMode::Logic);
    EXPECT_EQ ((int) second.getCurrentMap().getControlById (1)[Tags::value], 40);
}
