#include "app/model/Arrays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
    // A record must be a text followed only by zero bytes up to its width.
    template <size_t Width>
    void expectZeroPadded (const char (&record)[Width], const char* tableName, int index)
    {
        const auto length = (size_t) (std::find (record, record + Width, '\0') - record);
        ASSERT_LT (length, Width) << tableName << " record " << index << " is not terminated";

        for (auto i = length; i < Width; ++i)
            ASSERT_EQ (record[i], '\0') << tableName << " record " << index << " byte " << i;
    }

    template <size_t N, size_t Width>
    void expectAllZeroPadded (const char (&table)[N][Width], const char* tableName)
    {
        for (size_t i = 0; i < N; ++i)
            expectZeroPadded (table[i], tableName, (int) i);
    }
}

//==============================================================================
TEST (NameTables, NoteNames)
{
    struct Case { int note; const char* name; };
    const Case cases[] {
        { 0, " C(-1)" },  { 1, "C#(-1)" },  { 11, " B(-1)" }, { 12, " C(0)" },
        { 22, "A#(0)" },  { 60, " C(4)" },  { 61, "C#(4)" },  { 64, " E(4)" },
        { 66, "F#(4)" },  { 68, "G#(4)" },  { 75, "D#(5)" },  { 117, " A(8)" },
        { 120, " C(9)" }, { 126, "F#(9)" }, { 127, " G(9)" },
    };

    for (const auto& c : cases)
        EXPECT_STREQ (NOTE[c.note], c.name) << "note " << c.note;
}

TEST (NameTables, ControllerNames)
{
    struct Case { int cc; const char* name; };
    const Case cases[] {
        { 0, "Bank MSB*(GS)" },          { 1, "Modulation(GM)" },         { 3, "--" },
        { 7, "Volume*(GM)" },            { 9, "--" },                     { 11, "Expression*(GM)" },
        { 12, "--" },                    { 16, "Pan.1" },                 { 23, "Pan.8" },
        { 24, "--" },                    { 38, "Data Entry LSB" },        { 63, "--" },
        { 64, "Hold Pedal #1*(GM)" },    { 65, "Portamento(Gs)" },        { 69, "Hold Pedal #2" },
        { 74, "Sound Brightness" },      { 75, "Sound Control #6" },      { 79, "Sound Control #10" },
        { 80, "GP Control #5" },         { 83, "GP Control #8" },         { 84, "Portamento Control(GS)" },
        { 85, "--" },                    { 90, "--" },                    { 91, "Reverb Level(GS)" },
        { 98, "Non-RPN*Param LSB(GS)" }, { 101, "RPN*Parameter MSB(GM)" }, { 102, "--" },
        { 119, "--" },                   { 120, "All Sound Off*(GS)" },   { 121, "Reset All Contorllers(GM)" },
        { 127, "Poly Mode On" },
    };

    for (const auto& c : cases)
        EXPECT_STREQ (CC[c.cc], c.name) << "controller " << c.cc;
}

TEST (NameTables, ButtonNamesInBothWordings)
{
    struct Case { int note; const char* logic; const char* mackie; };
    const Case cases[] {
        { 0, "REC.1", "REC.1" },            { 7, "REC.8", "REC.8" },
        { 8, "SOLO.1", "SOLO.1" },          { 23, "MUTE.8", "MUTE.8" },
        { 24, "SEL.1", "SEL.1" },           { 39, "Mon8", "Mon8" },
        { 40, "Track", "Page<<" },          { 41, "Send", "Page>>" },
        { 42, "Pan/ Surround", "Pan" },     { 43, "Plug-in", "Ins" },
        { 44, "EQ", "EQ" },                 { 45, "Inst.", "FX-Send" },
        { 46, "<<8", "<<8" },               { 49, ">1", ">1" },
        { 51, "Global View", "Edit" },      { 52, "Name/ Value", "Name/ Value" },
        { 53, "SMPTE /Beats", "SMPTE /Beats" },
        { 54, "F1", "F1" },                 { 61, "F8", "F8" },
        { 62, "MIDI Tracks", "" },          { 69, "User", "" },
        { 70, "Shift", "Undo" },            { 72, "Ctrl", "Save" },
        { 73, "Cmd/Alt", "" },              { 74, "Read /Off", "Read" },
        { 75, "Write", "Write" },           { 77, "Touch", "" },
        { 79, "Group", "Motor" },           { 81, "Undo", "Master" },
        { 82, "Cancel", "" },               { 83, "Enter", "Shift" },
        { 84, "Marker", "Trnspt<" },        { 90, "Solo", "Next" },
        { 91, "Rewind", "Rewind" },         { 96, "Up", "Up" },
        { 101, "Scrub", "Scrub" },          { 102, "User B", "Usr B" },
        { 103, "User A", "Usr A" },         { 104, "Touch.1", "Touch.1" },
        { 111, "Touch.8", "Touch.8" },      { 112, "Touch.M", "Touch.M" },
        { 113, "", "SMPTE LED" },           { 114, "", "Beats LED" },
        { 115, "", "" },                    { 127, "", "" },
    };

    for (const auto& c : cases)
    {
        EXPECT_STREQ (logicNotes[c.note], c.logic) << "note " << c.note;
        EXPECT_STREQ (mkModeNotes[c.note], c.mackie) << "note " << c.note;
    }
}

TEST (NameTables, MessageTypeNamesAndTheTablePerType)
{
    EXPECT_STREQ (msgTypes[0], "Note");
    EXPECT_STREQ (msgTypes[1], "CC");
    EXPECT_STREQ (msgTypes[2], "Pitch");
    EXPECT_EQ (sizeof (msgTypes[0]), 20u);

    EXPECT_EQ (NCP[0], &NOTE[0]);
    EXPECT_EQ (NCP[1], &CC[0]);
    EXPECT_EQ (NCP[2], &PITCH[0]);
    EXPECT_EQ (NCP[3], nullptr);
}

TEST (NameTables, EveryRecordIsZeroPadded)
{
    Defa::fillPitchNames();
    expectAllZeroPadded (NOTE, "NOTE");
    expectAllZeroPadded (CC, "CC");
    expectAllZeroPadded (PITCH, "PITCH");
    expectAllZeroPadded (logicNotes, "logicNotes");
    expectAllZeroPadded (mkModeNotes, "mkModeNotes");
    expectAllZeroPadded (msgTypes, "msgTypes");
    expectAllZeroPadded (protoolsControlNames, "protoolsControlNames");
}

TEST (NameTables, PitchNamesAreFilledAndRefillingChangesNothing)
{
    Defa::fillPitchNames();
    PITCH[5][3] = 'x';   // junk past the text must go on the next fill
    Defa::fillPitchNames();

    char expected[nameWidth] {};
    expected[0] = expected[1] = '-';

    for (int i = 0; i < 128; ++i)
        EXPECT_EQ (std::memcmp (PITCH[i], expected, sizeof (expected)), 0) << "record " << i;
}

//==============================================================================
TEST (ValueLists, LengthsValuesAndSelections)
{
    struct Case { int mode, flag, numSels; };
    const Case lengths[] {
        { 2, 0, 50 }, { 2, 1, 0 }, { 0, 0, 128 }, { 1, 0, 128 }, { 3, 0, 128 }, { 3, 1, 128 },
    };

    for (const auto& c : lengths)
        EXPECT_EQ (Defa::nSelsInFunc2 (c.mode, c.flag), c.numSels) << "mode " << c.mode << ", flag " << c.flag;

    EXPECT_EQ (Defa::getValue2 (0, 0, 17), 17);
    EXPECT_EQ (Defa::getValue2 (2, 0, 49), 49);
    EXPECT_EQ (Defa::getValue2 (3, 1, 17), 0);

    struct SelCase { int mode, flag, value, sel; };
    const SelCase sels[] {
        { 2, 0, 50, -1 }, { 2, 0, 49, 49 }, { 2, 0, 0, 0 },
        { 0, 0, 127, 127 }, { 0, 0, 128, -1 }, { 0, 0, -1, -1 }, { 1, 0, 64, 64 },
        { 3, 1, 0, 0 }, { 3, 1, 5, -1 }, { 2, 1, 0, -1 },
    };

    for (const auto& c : sels)
    {
        EXPECT_EQ (Defa::selForval2 (c.mode, c.flag, c.value), c.sel) << "mode " << c.mode << ", value " << c.value;
        EXPECT_EQ (Defa::indexForvalue (c.mode, c.flag, c.value), c.sel) << "mode " << c.mode << ", value " << c.value;
    }
}

TEST (ValueLists, NamesInTheValueComboBox)
{
    Defa::fillPitchNames();

    struct Case { int mode, flag, sel, code; const char* name; };
    const Case cases[] {
        { 0, 0, 60, 9, " C(4)" },          { 3, 0, 7, 11, "Volume*(GM)" },
        { 0, 0, 5, 14, "--" },             { 0, 0, 5, 10, " F(-1)" },
        { 1, 0, 96, 9, "Up" },             { 1, 0, 113, 9, "" },
        { 1, 0, 40, 11, "Track" },         { 7, 0, 40, 9, "Track" },
        { 2, 0, 19, 9, "Undo" },           { 2, 0, 50, 9, "" },
        { 2, 1, 19, 9, "Pan" },            { 0, 1, 60, 9, "" },
        // Selections outside the tables.
        { 0, 0, 128, 9, "" },              { 3, 0, -1, 11, "" },
        { 1, 0, 200, 9, "" },              { 2, 0, 51, 9, "" },
        { 2, 0, -1, 9, "" },
    };

    for (const auto& c : cases)
        EXPECT_STREQ (Defa::getName3 (c.mode, c.flag, c.sel, c.code), c.name)
            << "mode " << c.mode << ", flag " << c.flag << ", sel " << c.sel << ", code " << c.code;
}

TEST (ValueLists, NamesInButtonLabels)
{
    struct Case { int mode, flag, sel; const char* name; };
    const Case cases[] {
        { 3, 0, 70, "Undo" },   { 0, 0, 70, "Shift" },     { 1, 0, 70, "Shift" },
        { 2, 0, 19, "Undo" },   { 3, 0, 113, "SMPTE LED" }, { 0, 0, 113, "" },
        { 2, 1, 19, "Pan" },    { 0, 1, 70, "" },
        { 2, 0, -1, "" },       { 2, 0, 50, "" },          { 2, 0, 51, "" },
        { 3, 0, 128, "" },      { 0, 0, -1, "" },
    };

    for (const auto& c : cases)
        EXPECT_STREQ (Defa::getName (c.mode, c.flag, c.sel), c.name)
            << "mode " << c.mode << ", flag " << c.flag << ", sel " << c.sel;

    // A Pro Tools label for a value outside the list.
    EXPECT_STREQ (Defa::getName (2, 0, Defa::indexForvalue (2, 0, 77)), "");
}
