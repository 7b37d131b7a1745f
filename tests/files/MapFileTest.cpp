#include "app/files/MapFile.h"
#include "app/model/Arrays.h"
#include "tests/support/ScopedDeviceModel.h"
#include "tools/simdevice/SimulatedDalvi.h"

#include <gtest/gtest.h>

namespace
{
    juce::String controlLine (int id, const char* type, int chan, int value)
    {
        return "    <control id=\"" + juce::String (id) + "\" kind=\"button\" type=\"" + type + "\" chan=\""
             + juce::String (chan) + "\" value=\"" + juce::String (value) + "\"/>\r\n";
    }

    /** A proper map file, written out by hand; `edit` may change one control line. */
    juce::String mapText (const juce::String& modeAttribute, std::function<juce::String (int, juce::String)> edit = {})
    {
        juce::String text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<map " + modeAttribute + ">\r\n  <controls>\r\n";

        for (int id = 1; id <= 50; ++id)
        {
            auto line = controlLine (id, "note", 1, 10 + id);
            text << (edit ? edit (id, line) : line);
        }

        return text + "  </controls>\r\n</map>\r\n";
    }

    class MapFiles : public ::testing::Test
    {
    protected:
        juce::File write (const juce::String& text, const char* name = "map.travik")
        {
            const auto file = folder / name;
            file.replaceWithText (text, false, false, nullptr);
            return file;
        }

        /** Everything a failed load must leave as it was. */
        juce::String snapshot() const
        {
            juce::MemoryBlock tables;

            for (auto* table : { mk, lg, pt, ud })
                tables.append (table, sizeof (mk));

            return model->getModesTree().createXml()->toString() + tables.toBase64Encoding();
        }

        testsupport::ScopedDeviceModel model;
        testsupport::TempFolder folder;
    };
}

//==============================================================================
TEST_F (MapFiles, SavedFileHasTheExactLayout)
{
    model->setCtMode (CtMode::ProTools);
    const auto file = folder / "pt.travik";
    ASSERT_TRUE (model->saveCurrentMapping (file).wasOk());

    juce::String expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<map mode=\"Pro Tools\" name=\"HUI\">\r\n  <controls>\r\n";

    for (int id = 1; id <= 50; ++id)
        expected << controlLine (id, "cc", 1, aids[id - 1]);

    expected << "  </controls>\r\n</map>\r\n";

    juce::MemoryBlock written;
    file.loadFileAsData (written);
    EXPECT_EQ (written.toString(), expected);
    EXPECT_EQ (MapFile::toText (model->getCurrentMap().getTree()), expected);
}

TEST_F (MapFiles, EveryModeRoundTripsAndBecomesCurrent)
{
    for (int mode = 0; mode < 4; ++mode)
    {
        SCOPED_TRACE (mode);
        model->setCtMode ((CtMode::Type) mode);
        const auto saved = model->getCurrentMap().getTree().createCopy();
        const auto file = folder / ("m" + juce::String (mode) + ".travik");
        ASSERT_TRUE (model->saveCurrentMapping (file).wasOk());

        model->setCtMode ((CtMode::Type) ((mode + 1) % 4));
        ASSERT_TRUE (model->openFile (file).wasOk());

        EXPECT_EQ (model->getCurrentCtMode(), mode);
        EXPECT_TRUE (model->getCurrentMap().getTree().isEquivalentTo (saved)
                     || MapFile::toText (model->getCurrentMap().getTree()) == MapFile::toText (saved));
        EXPECT_EQ (MapFile::toText (model->getCurrentMap().getTree()), MapFile::toText (saved));
    }
}

TEST_F (MapFiles, LoadingReplacesTheMapOfItsModeInPlace)
{
    model->setCtMode (CtMode::UserDefined);
    const auto udBefore = juce::MemoryBlock (ud, sizeof (ud));

    ASSERT_TRUE (model->openFile (write (mapText ("mode=\"Logic\" name=\"Logic Pro\""))).wasOk());

    const auto modes = model->getModesTree();
    EXPECT_EQ (modes.getNumChildren(), 4);
    EXPECT_EQ (modes.getChild (1)[Tags::mode].toString(), "Logic");
    EXPECT_EQ (modes.getChild (1).getChildWithName (Tags::controls).getChild (0)[Tags::value].toString(), "11");
    EXPECT_EQ (modes["current"].toString(), "Logic");
    EXPECT_EQ (model->getCurrentCtMode(), CtMode::Logic);
    EXPECT_EQ (juce::MemoryBlock (ud, sizeof (ud)), udBefore);
}

TEST_F (MapFiles, LoadedUserDefinedMapRebuildsItsCodeTable)
{
    const auto text = mapText ("mode=\"User Defined\" name=\"User Defined (MCP)\"", [] (int id, juce::String line)
    {
        return id == 5 ? controlLine (5, "cc", 3, 20) : line;
    });

    ASSERT_TRUE (model->openFile (write (text)).wasOk());

    const auto slot = aids[4] + 1;
    EXPECT_EQ (ud[slot][0], 0xB2);
    EXPECT_EQ (ud[slot][1], 0x14);
    EXPECT_EQ (ud[aids[0] + 1][0], 0x90);
    EXPECT_EQ (ud[aids[0] + 1][1], 11);
}

// Regression: a mode with blanks around it, or none at all, used to be stored
// under a text no mode matched, which left the editor without a current map.
TEST_F (MapFiles, ModeTextIsStoredCanonically)
{
    struct Case { juce::String attributes; CtMode mode; const char* name; };
    const Case cases[] = {
        { "mode=\" Logic \" name=\"x\"", CtMode::Logic, "Logic Pro" },
        { "name=\"HUI\"", CtMode::Mackie, "MCP" },
        { "mode=\"logic\"", CtMode::Mackie, "MCP" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.attributes);
        ASSERT_TRUE (model->openFile (write (mapText (c.attributes))).wasOk());

        const auto current = model->getCurrentMap().getTree();
        ASSERT_TRUE (current.isValid());
        EXPECT_EQ (model->getCurrentCtMode(), c.mode);
        EXPECT_EQ (current.getPropertyName (0), Tags::mode);
        EXPECT_EQ (current[Tags::mode].toString(), CtMode::slugForType (c.mode));
        EXPECT_EQ (current.getPropertyName (1), Tags::name);
        EXPECT_EQ (current[Tags::name].toString(), c.name);
        EXPECT_EQ (model->getModesTree().getNumChildren(), 4);
    }
}

TEST_F (MapFiles, BadFilesAreRefusedAndChangeNothing)
{
    model->setCtMode (CtMode::UserDefined);
    const auto before = snapshot();
    const auto notWellFormed = "Could not load mapping data";

    const auto controlEdit = [] (int which, juce::String replacement)
    {
        return [=] (int id, juce::String line) { return id == which ? replacement : line; };
    };

    const auto udMode = juce::String ("mode=\"User Defined\"");
    const auto ptMode = juce::String ("mode=\"Pro Tools\"");

    struct Case { const char* what; juce::String text; juce::String expected; };
    const Case cases[] = {
        { "empty", "", notWellFormed },
        { "truncated inside an element", mapText (udMode).substring (0, 300), notWellFormed },
        { "not XML", "mode=Logic", notWellFormed },
        { "processing instruction then text", "<map><?x?>b</map>", notWellFormed },
        { "entity in a document type", "<!DOCTYPE map [<!ENTITY e \"&e;\">]><map>&e;</map>", notWellFormed },
        { "deeper than a map", "<map><controls><control><x/></control></controls></map>", notWellFormed },
        { "wrong document element", "<mapping mode=\"Logic\"/>",
          "Could not load mapping data: the document is <mapping>, not <map>" },
        { "no controls", "<map mode=\"Logic\"/>", "Could not load mapping data: the map has no <controls>" },
        { "control missing", mapText (udMode, controlEdit (7, {})), "Could not load mapping data: control 7 is missing" },
        { "duplicate id", mapText (udMode, controlEdit (7, controlLine (8, "note", 1, 1))),
          "Could not load mapping data: control 8 appears more than once" },
        { "id out of range", mapText (udMode, controlEdit (7, controlLine (51, "note", 1, 1))),
          "Could not load mapping data: a control has \"id\" \"51\", expected 1 to 50" },
        { "channel 0", mapText (udMode, controlEdit (12, controlLine (12, "note", 0, 1))),
          "Could not load mapping data: control 12 has \"chan\" \"0\", expected 1 to 16" },
        { "channel 17", mapText (udMode, controlEdit (12, controlLine (12, "note", 17, 1))),
          "Could not load mapping data: control 12 has \"chan\" \"17\", expected 1 to 16" },
        { "value 128", mapText (udMode, controlEdit (3, controlLine (3, "cc", 1, 128))),
          "Could not load mapping data: control 3 has \"value\" \"128\", expected 0 to 127" },
        { "Pro Tools function 50", mapText (ptMode, controlEdit (3, controlLine (3, "cc", 1, 50))),
          "Could not load mapping data: control 3 has \"value\" \"50\", expected 0 to 49" },
        { "upper-case type", mapText (udMode, controlEdit (3, controlLine (3, "CC", 1, 5))),
          "Could not load mapping data: control 3 has \"type\" \"CC\", expected note, cc or pitch" },
        { "value not a number", mapText (udMode, controlEdit (4, "<control id=\"4\" kind=\"button\" type=\"note\" chan=\"1\" value=\"7x\"/>")),
          "Could not load mapping data: control 4 has \"value\" \"7x\", expected 0 to 127" },
        // Found by fuzzing: an id with a leading zero passed the checks but matched
        // no control when looked up by number.
        { "id with a leading zero", mapText (udMode, controlEdit (27, controlLine (27, "note", 1, 1).replace ("\"27\"", "\"027\""))),
          "Could not load mapping data: a control has \"id\" \"027\", expected 1 to 50" },
        { "channel missing", mapText (udMode, controlEdit (4, "<control id=\"4\" kind=\"button\" type=\"note\" value=\"7\"/>")),
          "Could not load mapping data: control 4 has no \"chan\"" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto result = model->openFile (write (c.text));
        EXPECT_TRUE (result.failed());
        EXPECT_EQ (result.getErrorMessage(), c.expected);
        EXPECT_EQ (snapshot(), before);
    }
}

TEST_F (MapFiles, UnreadableOrHugeFilesAreRefused)
{
    const auto before = snapshot();

    const auto huge = folder / "huge.travik";
    {
        juce::FileOutputStream out (huge);
        out << mapText ("mode=\"Logic\"").replace ("<controls>", "<controls>" + juce::String::repeatedString (" ", 1 << 20));
    }

    for (const auto& file : { folder / "missing.travik", folder.get(), huge })
    {
        EXPECT_EQ (model->openFile (file).getErrorMessage(), "Could not load mapping data");
        EXPECT_EQ (snapshot(), before);
    }
}

TEST_F (MapFiles, SaveReplacesAnExistingFileCompletely)
{
    const auto file = write (juce::String::repeatedString ("old content ", 1000));
    ASSERT_TRUE (model->saveCurrentMapping (file).wasOk());
    EXPECT_EQ (file.loadFileAsString(), MapFile::toText (model->getCurrentMap().getTree()));
}

TEST_F (MapFiles, FailedSaveLeavesWhatWasThere)
{
    // A folder that does not exist, and a target that is a folder: both fail
    // without leaving a temporary file behind or touching what was there.
    const auto inMissingFolder = folder / "no-such-folder/map.travik";
    EXPECT_EQ (model->saveCurrentMapping (inMissingFolder).getErrorMessage(), "Failed to write mapping file");
    EXPECT_FALSE (inMissingFolder.exists());

    const auto existingFolder = folder / "taken.travik";
    existingFolder.createDirectory();
    existingFolder.getChildFile ("keep").replaceWithText ("kept");

    EXPECT_EQ (model->saveCurrentMapping (existingFolder).getErrorMessage(), "Failed to write mapping file");
    EXPECT_EQ (existingFolder.getChildFile ("keep").loadFileAsString(), "kept");
    EXPECT_EQ (folder.get().getNumberOfChildFiles (juce::File::findFiles), 0);
}

TEST_F (MapFiles, FilesThisProgramWritesKeepLoading)
{
    for (int mode = 0; mode < 4; ++mode)
    {
        model->setCtMode ((CtMode::Type) mode);
        const auto file = folder / "again.travik";
        ASSERT_TRUE (model->saveCurrentMapping (file).wasOk());
        EXPECT_TRUE (MapFile::checkFile (file).isEmpty()) << MapFile::checkFile (file).joinIntoString ("\n");

        // A loaded map holds its values as text; saving and loading it again works too.
        ASSERT_TRUE (model->openFile (file).wasOk());
        ASSERT_TRUE (model->saveCurrentMapping (file).wasOk());
        EXPECT_TRUE (model->openFile (file).wasOk());
    }
}

TEST_F (MapFiles, EditedUserDefinedMapRoundTripsThroughFileAndDevice)
{
    // Edit through the tree and the code table as the editor does, save, start
    // over from the factory maps, load, send: the device decodes the edits.
    SimulatedDalvi device (model.midi);
    model->setCtMode (CtMode::UserDefined);
    auto control = model->getCurrentMap().getControlById (12);
    control.setProperty (Tags::type, "pitch", nullptr);
    control.setProperty (Tags::chan, 16, nullptr);
    control.setProperty (Tags::value, 0, nullptr);

    const auto file = folder / "edited.travik";
    ASSERT_TRUE (model->saveCurrentMapping (file).wasOk());

    model->getCurrentMap().reset();
    model->setCtMode (CtMode::Mackie);
    ASSERT_TRUE (model->openFile (file).wasOk());
    model->setCurrentOutputDevice ("Dalvi V+");
    ASSERT_TRUE (model->sendCurrentMapping().wasOk());

    const auto mapping = device.getMapping();
    EXPECT_EQ (mapping.mode, 3);
    EXPECT_EQ (mapping.entries[(size_t) aids[11]], (std::array<juce::uint8, 2> { 0xEF, 0x00 }));
    EXPECT_EQ (mapping.entries[(size_t) aids[0]], (std::array<juce::uint8, 2> { 0x90, 40 }));
}
