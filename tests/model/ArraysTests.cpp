#include "app/device/ThisProduct.h"
#include "app/model/Arrays.h"
#include "app/model/ControllerMap.h"
#include "tests/support/ScopedDeviceModel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
    // Every test starts from the code tables as the process starts: all zero.
    struct CodeTables : public ::testing::Test
    {
        void SetUp() override     { Defa::resetCodeTables(); }
        void TearDown() override  { Defa::resetCodeTables(); }

        static void buildAllFactoryMaps()
        {
            for (auto mode : { CtMode::Mackie, CtMode::Logic, CtMode::ProTools, CtMode::UserDefined })
                CtMap map (mode);
        }

        static bool allZero (const juce::uint8 (*table)[2])
        {
            for (int entry = 0; entry < numCodeEntries; ++entry)
                if (table[entry][0] != 0 || table[entry][1] != 0)
                    return false;

            return true;
        }
    };

    // One row per aid, as the device's documentation lists its controls: the
    // control id, the Mackie Control factory note, the Pro Tools function and its
    // HUI pair.
    struct AidRow { int aid, id, note; const char* function; int zone, port; };

    const AidRow aidTable[] {
        {  0,  1,  40, "Pan",                 0x0B, 0x42 },
        {  1,  2,  41, "Plug-in",             0xF7, 0xF7 },
        {  2,  3,  54, "Copy",                0x1A, 0x44 },
        {  3,  4,  55, "Clear",               0x1A, 0x43 },
        {  4,  5,  56, "Transport",           0x09, 0x42 },
        {  5,  6,  57, "Memory Location",     0x09, 0x43 },
        {  6,  7,  58, "Alt View",            0x09, 0x45 },
        {  7,  8,  59, "Cut",                 0x1A, 0x41 },
        {  8, 11,  42, "Assign",              0x0C, 0x40 },
        {  9, 12,  43, "Send",                0x0B, 0x47 },
        { 10, 13,  62, "Read",                0x18, 0x42 },
        { 11, 14,  63, "Write",               0x18, 0x44 },
        { 12, 15,  64, "Touch",               0x18, 0x45 },
        { 13, 16,  65, "Latch",               0x18, 0x41 },
        { 14, 17,  66, "Trim",                0x18, 0x40 },
        { 15, 18,  67, "Off",                 0x18, 0x43 },
        { 16, 21,  44, "Input",               0x0B, 0x41 },
        { 17, 22,  45, "Output",              0x0B, 0x40 },
        { 18, 23,  80, "Save",                0x08, 0x47 },
        { 19, 24,  81, "Undo",                0x08, 0x43 },
        { 20, 25,  82, "Esc/ Cancel",         0x1B, 0x47 },
        { 21, 26,  83, "Enter",               0x14, 0x40 },
        { 22, 27,  50, "V-Sel",               0xF7, 0xF6 },
        { 23, 28,  70, "Shift/Add",           0x08, 0x41 },
        { 24, 31,  52, "Fader",               0x17, 0x42 },
        { 25, 32,  53, "Mute",                0x17, 0x45 },
        { 26, 33,  76, "Plug-in",             0x17, 0x40 },
        { 27, 34,  77, "Pan B",               0x17, 0x41 },
        { 28, 35,  78, "Send B",              0x17, 0x44 },
        { 29, 36,  79, "Send Mute",           0x17, 0x43 },
        { 30, 37,  51, "Insert",              0xF7, 0xF5 },
        { 31, 38,  98, "Left",                0x0D, 0x41 },
        { 32, 41,  84, "Clear Peaks",         0x1B, 0x40 },
        { 33, 42,  85, "Suspend",             0x0C, 0x42 },
        { 34, 43,  86, "In",                  0x10, 0x42 },
        { 35, 44,  87, "Out",                 0x10, 0x43 },
        { 36, 45,  88, "Online",              0x0F, 0x42 },
        { 37, 46,  89, "Transport Function",  0xF7, 0xF3 },
        { 38, 47,  90, "Cue Mgr",             0xF7, 0xF2 },
        { 39, 48,  72, "Ctrl/ Clutch",        0x08, 0x44 },
        { 40,  9,  60, "Separate",            0x1A, 0x45 },
        { 41, 10,  61, "Paste",               0x1A, 0x40 },
        { 42, 19,  68, "Auto",                0x19, 0x42 },
        { 43, 20,  69, "Default",             0x0C, 0x41 },
        { 44, 29,  96, "Up",                  0x0D, 0x44 },
        { 45, 30,  71, "Option /Alt",         0x08, 0x42 },
        { 46, 39, 100, "Zoom",                0x0D, 0x42 },
        { 47, 40,  99, "Right",               0x0D, 0x43 },
        { 48, 49,  97, "Down",                0x0D, 0x40 },
        { 49, 50,  73, "Cmd/Alt",             0x08, 0x45 },
    };

    constexpr int fixedFunctionZone = 0xF7;
}

//==============================================================================
TEST (Numbering, AidsAndCidsAreInversePermutations)
{
    std::vector<bool> seenAid (50, false);

    for (int id = 1; id <= 50; ++id)
    {
        const auto aid = aids[id - 1];
        ASSERT_TRUE (aid >= 0 && aid < 50) << "id " << id;
        EXPECT_FALSE (seenAid[(size_t) aid]) << "aid " << aid << " given twice";
        seenAid[(size_t) aid] = true;
        EXPECT_EQ (cids[aid], id);
    }
}

TEST (Numbering, AidFollowsThePanelRowsAndColumns)
{
    for (int id = 1; id <= 50; ++id)
    {
        const auto row = (id - 1) / 10;
        const auto column = (id - 1) % 10;
        const auto expected = column < 8 ? 8 * row + column
                                         : 40 + 2 * row + (column - 8);

        EXPECT_EQ (aids[id - 1], expected) << "id " << id;
        EXPECT_EQ (Defa::slotForId (id), expected + 1) << "id " << id;
    }

    for (int id : { 0, 51, -7 })
        EXPECT_EQ (Defa::slotForId (id), -1) << "id " << id;
}

TEST (Numbering, SmallTables)
{
    EXPECT_EQ (std::vector<int> (std::begin (valOfSele), std::end (valOfSele)), (std::vector<int> { 9, 11, 14 }));
    EXPECT_EQ (std::vector<int> (std::begin (modIdForSel), std::end (modIdForSel)), (std::vector<int> { 0, 1, 2, 3 }));
    EXPECT_EQ (arrForMoid[0], mk);
    EXPECT_EQ (arrForMoid[1], lg);
    EXPECT_EQ (arrForMoid[2], pt);
    EXPECT_EQ (arrForMoid[3], ud);
}

//==============================================================================
TEST (FactoryTables, MatchTheAidTable)
{
    EXPECT_EQ (cubaseButtons0[0][0], 0x90);
    EXPECT_EQ (cubaseButtons0[0][1], 0x00);
    EXPECT_EQ (ptBtnDefaVals[0][0], 0x00);
    EXPECT_EQ (ptBtnDefaVals[0][1], 0x00);
    EXPECT_STREQ (protoolsControlNames[50], "");

    ASSERT_EQ (std::size (aidTable), 50u);

    for (const auto& row : aidTable)
    {
        SCOPED_TRACE ("aid " + std::to_string (row.aid));
        EXPECT_EQ (aids[row.id - 1], row.aid);
        EXPECT_EQ (cids[row.aid], row.id);
        EXPECT_EQ (cubaseButtons0[row.aid + 1][0], 0x90);
        EXPECT_EQ (cubaseButtons0[row.aid + 1][1], row.note);
        EXPECT_STREQ (protoolsControlNames[row.aid], row.function);
        EXPECT_EQ (ptBtnDefaVals[row.aid + 1][0], row.zone);
        EXPECT_EQ (ptBtnDefaVals[row.aid + 1][1], row.port);

        if (row.zone != fixedFunctionZone)
        {
            EXPECT_TRUE (row.port >= 0x40 && row.port <= 0x47);
        }
    }
}

TEST_F (CodeTables, FactoryMapsCarryTheAidTable)
{
    const CtMap mackie (CtMode::Mackie), logic (CtMode::Logic),
                proTools (CtMode::ProTools), userDefined (CtMode::UserDefined);

    for (const auto& row : aidTable)
    {
        SCOPED_TRACE ("id " + std::to_string (row.id));

        for (const auto* map : { &mackie, &logic, &userDefined })
        {
            const auto control = map->getControlById (row.id);
            EXPECT_EQ ((int) control[Tags::value], row.note);
            EXPECT_EQ (control[Tags::type].toString(), "note");
            EXPECT_EQ ((int) control[Tags::chan], 1);
        }

        const auto control = proTools.getControlById (row.id);
        EXPECT_EQ ((int) control[Tags::value], row.aid);
        EXPECT_EQ (control[Tags::type].toString(), "cc");
        EXPECT_EQ ((int) control[Tags::chan], 1);
        EXPECT_STREQ (Defa::getName (2, 0, Defa::indexForvalue (2, 0, row.aid)), row.function);

        for (auto* table : { mk, lg, ud })
        {
            EXPECT_EQ (table[row.aid + 1][0], 0x90);
            EXPECT_EQ (table[row.aid + 1][1], row.note);
        }

        EXPECT_EQ (pt[row.aid + 1][0], row.zone);
        EXPECT_EQ (pt[row.aid + 1][1], row.port);
    }
}

//==============================================================================
TEST_F (CodeTables, BeforeAnyMapEveryEntryIsZero)
{
    for (auto* table : arrForMoid)
        EXPECT_TRUE (allZero (table));

    EXPECT_EQ (Defa::getMsgType (0, 1), 0);
    EXPECT_EQ (Defa::getChan (0, 1), 1);
    EXPECT_EQ (Defa::factoryValue (0, 1), 0);
}

TEST_F (CodeTables, FactoryValueEdgeCases)
{
    // Pro Tools values come from the numbering alone, with no map built.
    EXPECT_EQ (Defa::factoryValue (2, 1), 0);
    EXPECT_EQ (Defa::factoryValue (2, 9), 40);
    EXPECT_EQ (Defa::factoryValue (2, 0), 0);
    EXPECT_EQ (Defa::factoryValue (2, 51), 0);

    buildAllFactoryMaps();

    struct Case { int mode, id, expected; };
    const Case cases[] {
        { 0, 1, 40 }, { 3, 29, 96 }, { 1, 51, -1 }, { 1, 1, 40 }, { 0, 50, 73 },
        { 0, 0, -1 }, { 3, -4, -1 }, { 2, 50, 49 }, { 2, 29, 44 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Defa::factoryValue (c.mode, c.id), c.expected) << "mode " << c.mode << ", id " << c.id;
}

TEST_F (CodeTables, ButtonValueReadsTheModesTableByIndex)
{
    mk[1][1] = 11;
    lg[1][1] = 22;
    ud[1][1] = 33;
    pt[1][1] = 44;

    struct Case { int mode, index, expected; };
    const Case cases[] {
        { 0, 0, 11 }, { 1, 0, 22 }, { 3, 0, 33 },
        { 2, 0, 11 }, { 9, 0, 11 }, { -1, 0, 11 },   // every other mode reads mk
        { 0, -1, -1 }, { 3, -20, -20 },              // negative index comes back
        { 0, 50, -1 }, { 1, 1000, -1 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Defa::getButtonValue2 (c.mode, c.index), c.expected) << "mode " << c.mode << ", index " << c.index;
}

TEST_F (CodeTables, ChannelAndMessageTypeComeFromTheStatusByte)
{
    buildAllFactoryMaps();
    const auto slot = aids[12 - 1] + 1;
    ud[slot][0] = 0xB4;   // CC on channel 5
    lg[slot][0] = 0xEF;   // pitch on channel 16

    struct Case { int mode, id, chan, type; };
    const Case cases[] {
        { 3, 12, 5, 11 },  { 1, 12, 16, 14 }, { 0, 12, 1, 9 },
        { 2, 12, 1, 11 },  { 2, 0, 1, 11 },   { 2, 51, 1, 11 },
        // Outside the tables: neutral results.
        { 0, 0, 0, 0 },    { 3, 51, 0, 0 },   { 4, 12, 0, 0 },  { -1, 12, 0, 0 },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (Defa::getChan (c.mode, c.id), c.chan) << "mode " << c.mode << ", id " << c.id;
        EXPECT_EQ (Defa::getMsgType (c.mode, c.id), c.type) << "mode " << c.mode << ", id " << c.id;
    }

    for (int id = 1; id <= 50; ++id)
    {
        EXPECT_EQ (Defa::getChan (2, id), 1);
        EXPECT_EQ (Defa::getMsgType (2, id), 11);
    }
}

TEST (MessageTypeCodes, SlugsSelectionsAndCodes)
{
    struct Case { int code; const char* slug; int sel; };
    const Case cases[] {
        { 9, "note", 0 }, { 11, "cc", 1 }, { 14, "pitch", 2 },
        { 10, "", 0 },    { 0, "", 0 },    { -1, "", 0 },   { 0x90, "", 0 },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (Defa::getMstyStr (c.code), juce::String (c.slug)) << "code " << c.code;
        EXPECT_EQ (Defa::selForMsgType (c.code), c.sel) << "code " << c.code;
    }

    struct SelCase { int sel, code; };
    const SelCase sels[] { { 0, 9 }, { 1, 11 }, { 2, 14 }, { 3, 0 }, { -1, 0 } };

    for (const auto& c : sels)
        EXPECT_EQ (Defa::getMstyForSel (c.sel), c.code) << "sel " << c.sel;
}

TEST (ControlKinds, KindForCid)
{
    struct Case { int id, expected; };
    const Case cases[] { { 0, -1 }, { 1, 0 }, { 25, 0 }, { 50, 0 }, { 51, -1 }, { -3, -1 } };

    for (const auto& c : cases)
        EXPECT_EQ (Defa::kindForCid (c.id), c.expected) << "id " << c.id;
}

//==============================================================================
TEST_F (CodeTables, NewMapsOfControl29)
{
    const CtMap userDefined (CtMode::UserDefined);
    const auto u = userDefined.getControlById (29);
    EXPECT_EQ ((int) u[Tags::value], 96);
    EXPECT_EQ (u[Tags::type].toString(), "note");
    EXPECT_EQ ((int) u[Tags::chan], 1);

    const CtMap proTools (CtMode::ProTools);
    const auto p = proTools.getControlById (29);
    EXPECT_EQ ((int) p[Tags::value], 44);
    EXPECT_STREQ (protoolsControlNames[44], "Up");
    EXPECT_EQ (p[Tags::type].toString(), "cc");
    EXPECT_EQ ((int) p[Tags::chan], 1);
}

TEST_F (CodeTables, EachMapRefreshesOnlyItsOwnModesTable)
{
    const auto slot = aids[5 - 1] + 1;

    for (auto mode : { CtMode::Mackie, CtMode::Logic, CtMode::ProTools, CtMode::UserDefined })
    {
        SCOPED_TRACE (CtMode::slugForType (mode));
        Defa::resetCodeTables();

        for (auto* table : arrForMoid)
        {
            table[slot][0] = 0xB4;
            table[slot][1] = 10;
        }

        CtMap map (mode);

        for (int other = 0; other < CtMode::numTypes; ++other)
        {
            const auto* table = arrForMoid[other];

            if (other == mode && mode == CtMode::ProTools)
            {
                EXPECT_EQ (table[slot][0], ptBtnDefaVals[slot][0]);
                EXPECT_EQ (table[slot][1], ptBtnDefaVals[slot][1]);
            }
            else if (other == mode)
            {
                EXPECT_EQ (table[slot][0], 0x90);
                EXPECT_EQ (table[slot][1], 56);
            }
            else
            {
                EXPECT_EQ (table[slot][0], 0xB4) << "table of mode " << other;
                EXPECT_EQ (table[slot][1], 10) << "table of mode " << other;
            }
        }
    }
}

// Resetting the Logic map used to return all three Mackie Control tables to the
// factory codes, so the User Defined buttons showed and sent factory notes while
// the User Defined map still held the user's edit.
TEST_F (CodeTables, ResettingLogicMapKeepsUserDefinedEdits)
{
    buildAllFactoryMaps();

    const CtMap userDefined (CtMode::UserDefined);
    auto control = userDefined.getControlById (5);
    const auto slot = aids[5 - 1] + 1;

    // What the editor does for channel 5, note 10.
    control.getPropertyAsValue (Tags::chan, nullptr) = 5;
    control.getPropertyAsValue (Tags::value, nullptr) = 10;
    ud[slot][0] = (juce::uint8) ((ud[slot][0] & 0xf0) | (5 - 1));
    ud[slot][1] = 10;

    CtMap logic (CtMode::Logic);
    logic.reset();

    EXPECT_EQ (ud[slot][0], 0x94);
    EXPECT_EQ (ud[slot][1], 10);
    EXPECT_EQ (Defa::getChan (3, 5), 5);
    EXPECT_EQ (Defa::getButtonValue2 (3, 5 - 1), 10);
    EXPECT_EQ ((int) control[Tags::chan], 5);
    EXPECT_EQ ((int) control[Tags::value], 10);

    EXPECT_EQ (lg[slot][0], 0x90);
    EXPECT_EQ (lg[slot][1], 56);
}

TEST_F (CodeTables, EntryZeroIsNeverCopiedForMackieTablesAndClearedForProTools)
{
    buildAllFactoryMaps();

    for (auto* table : { mk, lg, ud, pt })
    {
        EXPECT_EQ (table[0][0], 0);
        EXPECT_EQ (table[0][1], 0);
    }

    for (auto* table : arrForMoid)
    {
        table[0][0] = 0x12;
        table[0][1] = 0x34;
    }

    buildAllFactoryMaps();

    for (auto* table : { mk, lg, ud })
    {
        EXPECT_EQ (table[0][0], 0x12);
        EXPECT_EQ (table[0][1], 0x34);
    }

    EXPECT_EQ (pt[0][0], 0);
    EXPECT_EQ (pt[0][1], 0);
}

TEST_F (CodeTables, LoadingFactoryCodesOfAnUnknownModeChangesNothing)
{
    for (int mode : { -1, 4, 100 })
        Defa::loadFactoryCodes (mode);

    for (auto* table : arrForMoid)
        EXPECT_TRUE (allZero (table));
}

TEST_F (CodeTables, ResetCodeTablesClearsEveryEntry)
{
    buildAllFactoryMaps();
    Defa::resetCodeTables();

    for (auto* table : arrForMoid)
        EXPECT_TRUE (allZero (table));
}

//==============================================================================
TEST_F (CodeTables, MsValIsZeroWithoutADeviceModel)
{
    ASSERT_EQ (DalviPlus::singletonHolder.instance.load(), nullptr);
    buildAllFactoryMaps();

    EXPECT_EQ (Defa::getMsVal (1), 0);
    EXPECT_EQ (DalviPlus::singletonHolder.instance.load(), nullptr);   // not created by asking
}

TEST_F (CodeTables, MsValReadsTheTableOfTheDeviceModelsCurrentMode)
{
    testsupport::ScopedDeviceModel model;
    const auto slot = aids[5 - 1] + 1;
    ud[slot][1] = 10;

    struct Case { CtMode::Type mode; int id, expected; };
    const Case cases[] {
        { CtMode::Mackie,      1, 40 },
        { CtMode::Mackie,      5, 56 },
        { CtMode::UserDefined, 5, 10 },
        { CtMode::Logic,       5, 56 },
        { CtMode::ProTools,    1, 0x42 },
        { CtMode::Mackie,      0, 0 },
        { CtMode::Mackie,      51, 0 },
    };

    for (const auto& c : cases)
    {
        model->setCtMode (c.mode);
        EXPECT_EQ (Defa::getMsVal (c.id), c.expected) << CtMode::slugForType (c.mode) << ", id " << c.id;
    }
}
