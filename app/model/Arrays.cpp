#include "app/model/Arrays.h"

#include "app/device/ThisProduct.h"
#include "app/model/ControllerMap.h"

//==============================================================================
// Panel order, row by row: columns 0..7 of each row come first in the device's
// order, columns 8 and 9 of all rows last.
const int Arrays::aids[50]
{
    0,  1,  2,  3,  4,  5,  6,  7,  40, 41,
    8,  9,  10, 11, 12, 13, 14, 15, 42, 43,
    16, 17, 18, 19, 20, 21, 22, 23, 44, 45,
    24, 25, 26, 27, 28, 29, 30, 31, 46, 47,
    32, 33, 34, 35, 36, 37, 38, 39, 48, 49
};

const int Arrays::cids[50]
{
    1,  2,  3,  4,  5,  6,  7,  8,
    11, 12, 13, 14, 15, 16, 17, 18,
    21, 22, 23, 24, 25, 26, 27, 28,
    31, 32, 33, 34, 35, 36, 37, 38,
    41, 42, 43, 44, 45, 46, 47, 48,
    9,  10, 19, 20, 29, 30, 39, 40, 49, 50
};

const int Arrays::valOfSele[3] { 9, 11, 14 };

const int Arrays::modIdForSel[4] { 0, 1, 2, 3 };

//==============================================================================
juce::uint8 Arrays::mk[numCodeEntries][2] {};
juce::uint8 Arrays::lg[numCodeEntries][2] {};
juce::uint8 Arrays::pt[numCodeEntries][2] {};
juce::uint8 Arrays::ud[numCodeEntries][2] {};

juce::uint8 (* const Arrays::arrForMoid[4])[2] { mk, lg, pt, ud };

//==============================================================================
const juce::uint8 Arrays::cubaseButtons0[numCodeEntries][2]
{
    { 0x90, 0 },
    { 0x90, 40 }, { 0x90, 41 }, { 0x90, 54 }, { 0x90, 55 }, { 0x90, 56 },   // entries 1-5
    { 0x90, 57 }, { 0x90, 58 }, { 0x90, 59 }, { 0x90, 42 }, { 0x90, 43 },   // entries 6-10
    { 0x90, 62 }, { 0x90, 63 }, { 0x90, 64 }, { 0x90, 65 }, { 0x90, 66 },   // entries 11-15
    { 0x90, 67 }, { 0x90, 44 }, { 0x90, 45 }, { 0x90, 80 }, { 0x90, 81 },   // entries 16-20
    { 0x90, 82 }, { 0x90, 83 }, { 0x90, 50 }, { 0x90, 70 }, { 0x90, 52 },   // entries 21-25
    { 0x90, 53 }, { 0x90, 76 }, { 0x90, 77 }, { 0x90, 78 }, { 0x90, 79 },   // entries 26-30
    { 0x90, 51 }, { 0x90, 98 }, { 0x90, 84 }, { 0x90, 85 }, { 0x90, 86 },   // entries 31-35
    { 0x90, 87 }, { 0x90, 88 }, { 0x90, 89 }, { 0x90, 90 }, { 0x90, 72 },   // entries 36-40
    { 0x90, 60 }, { 0x90, 61 }, { 0x90, 68 }, { 0x90, 69 }, { 0x90, 96 },   // entries 41-45
    { 0x90, 71 }, { 0x90, 100 }, { 0x90, 99 }, { 0x90, 97 }, { 0x90, 73 },   // entries 46-50
};

// Entry k + 1 is Pro Tools function k. A zone of 0xF7 marks the functions the
// device handles itself rather than as a plain HUI switch.
const juce::uint8 Arrays::ptBtnDefaVals[numCodeEntries][2]
{
    { 0x00, 0x00 },
    { 0x0B, 0x42 }, // function 0
    { 0xF7, 0xF7 }, // function 1
    { 0x1A, 0x44 }, // function 2
    { 0x1A, 0x43 }, // function 3
    { 0x09, 0x42 }, // function 4
    { 0x09, 0x43 }, // function 5
    { 0x09, 0x45 }, // function 6
    { 0x1A, 0x41 }, // function 7
    { 0x0C, 0x40 }, // function 8
    { 0x0B, 0x47 }, // function 9
    { 0x18, 0x42 }, // function 10
    { 0x18, 0x44 }, // function 11
    { 0x18, 0x45 }, // function 12
    { 0x18, 0x41 }, // function 13
    { 0x18, 0x40 }, // function 14
    { 0x18, 0x43 }, // function 15
    { 0x0B, 0x41 }, // function 16
    { 0x0B, 0x40 }, // function 17
    { 0x08, 0x47 }, // function 18
    { 0x08, 0x43 }, // function 19
    { 0x1B, 0x47 }, // function 20
    { 0x14, 0x40 }, // function 21
    { 0xF7, 0xF6 }, // function 22
    { 0x08, 0x41 }, // function 23
    { 0x17, 0x42 }, // function 24
    { 0x17, 0x45 }, // function 25
    { 0x17, 0x40 }, // function 26
    { 0x17, 0x41 }, // function 27
    { 0x17, 0x44 }, // function 28
    { 0x17, 0x43 }, // function 29
    { 0xF7, 0xF5 }, // function 30
    { 0x0D, 0x41 }, // function 31
    { 0x1B, 0x40 }, // function 32
    { 0x0C, 0x42 }, // function 33
    { 0x10, 0x42 }, // function 34
    { 0x10, 0x43 }, // function 35
    { 0x0F, 0x42 }, // function 36
    { 0xF7, 0xF3 }, // function 37
    { 0xF7, 0xF2 }, // function 38
    { 0x08, 0x44 }, // function 39
    { 0x1A, 0x45 }, // function 40
    { 0x1A, 0x40 }, // function 41
    { 0x19, 0x42 }, // function 42
    { 0x0C, 0x41 }, // function 43
    { 0x0D, 0x44 }, // function 44
    { 0x08, 0x42 }, // function 45
    { 0x0D, 0x42 }, // function 46
    { 0x0D, 0x43 }, // function 47
    { 0x0D, 0x40 }, // function 48
    { 0x08, 0x45 }, // function 49
};

const char Arrays::protoolsControlNames[51][nameWidth]
{
    "Pan",                   // 0
    "Plug-in",               // 1
    "Copy",                  // 2
    "Clear",                 // 3
    "Transport",             // 4
    "Memory Location",       // 5
    "Alt View",              // 6
    "Cut",                   // 7
    "Assign",                // 8
    "Send",                  // 9
    "Read",                  // 10
    "Write",                 // 11
    "Touch",                 // 12
    "Latch",                 // 13
    "Trim",                  // 14
    "Off",                   // 15
    "Input",                 // 16
    "Output",                // 17
    "Save",                  // 18
    "Undo",                  // 19
    "Esc/ Cancel",           // 20
    "Enter",                 // 21
    "V-Sel",                 // 22
    "Shift/Add",             // 23
    "Fader",                 // 24
    "Mute",                  // 25
    "Plug-in",               // 26
    "Pan B",                 // 27
    "Send B",                // 28
    "Send Mute",             // 29
    "Insert",                // 30
    "Left",                  // 31
    "Clear Peaks",           // 32
    "Suspend",               // 33
    "In",                    // 34
    "Out",                   // 35
    "Online",                // 36
    "Transport Function",    // 37
    "Cue Mgr",               // 38
    "Ctrl/ Clutch",          // 39
    "Separate",              // 40
    "Paste",                 // 41
    "Auto",                  // 42
    "Default",               // 43
    "Up",                    // 44
    "Option /Alt",           // 45
    "Zoom",                  // 46
    "Right",                 // 47
    "Down",                  // 48
    "Cmd/Alt",               // 49
    "",                      // 50
};

//==============================================================================
namespace
{
    constexpr int numControls = 50;
    const char* const emptyText = "";

    bool isControlId (int id)
    {
        return id >= 1 && id <= numControls;
    }

    bool isMode (int mode)
    {
        return mode >= 0 && mode < CtMode::numTypes;
    }

    // The code-table entry of a valid id.
    int slotOf (int id)
    {
        return aids[id - 1] + 1;
    }

    const char* record (const char (*table)[nameWidth], int numRecords, int index)
    {
        if (table == nullptr || index < 0 || index >= numRecords)
            return emptyText;

        return table[index];
    }

    int typeIndexForCode (int code)
    {
        for (int t = 0; t < CtType::numTypes; ++t)
            if (valOfSele[t] == code)
                return t;

        return -1;
    }
}

//==============================================================================
int Defa::kindForCid (int id)
{
    return isControlId (id) ? (int) CtKind::Button : -1;
}

int Defa::slotForId (int id)
{
    return isControlId (id) ? slotOf (id) : -1;
}

int Defa::factoryValue (int mode, int id)
{
    if (mode == CtMode::ProTools)
        return isControlId (id) ? aids[id - 1] : 0;

    return isControlId (id) ? getButtonValue2 (mode, id - 1) : -1;
}

int Defa::getButtonValue2 (int mode, int index)
{
    if (index < 0)
        return index;

    if (index >= numControls)
        return -1;

    const auto* table = mode == CtMode::Logic       ? lg
                      : mode == CtMode::UserDefined ? ud
                                                    : mk;

    return table[aids[index] + 1][1];
}

int Defa::getChan (int mode, int id)
{
    if (mode == CtMode::ProTools)
        return 1;

    if (! isMode (mode) || ! isControlId (id))
        return 0;

    return (arrForMoid[mode][slotOf (id)][0] & 0x0f) + 1;
}

int Defa::getMsgType (int mode, int id)
{
    if (mode == CtMode::ProTools)
        return 11;

    if (! isMode (mode) || ! isControlId (id))
        return 0;

    return arrForMoid[mode][slotOf (id)][0] >> 4;
}

int Defa::getMsVal (int id)
{
    // Looked at, never created: a label drawn without a device model (after
    // shutdown, or in a test) must not bring one into being with its settings
    // file and MIDI ports.
    auto* model = DalviPlus::singletonHolder.instance.load();

    if (model == nullptr || ! isControlId (id))
        return 0;

    const int mode = model->getCurrentCtMode();

    if (! isMode (mode))
        return 0;

    return arrForMoid[mode][slotOf (id)][1];
}

int Defa::getMstyForSel (int sel)
{
    return sel >= 0 && sel < CtType::numTypes ? valOfSele[sel] : 0;
}

juce::String Defa::getMstyStr (int code)
{
    const auto t = typeIndexForCode (code);
    return t < 0 ? juce::String() : CtType::slugForType (t);
}

int Defa::selForMsgType (int code)
{
    return juce::jmax (0, typeIndexForCode (code));
}

//==============================================================================
void Defa::loadFactoryCodes (int mode)
{
    if (mode == CtMode::ProTools)
    {
        for (int entry = 0; entry < numCodeEntries; ++entry)
        {
            pt[entry][0] = ptBtnDefaVals[entry][0];
            pt[entry][1] = ptBtnDefaVals[entry][1];
        }

        return;
    }

    if (! isMode (mode))
        return;

    // Entry 0 belongs to no control and keeps its zero bytes.
    auto* table = arrForMoid[mode];

    for (int entry = 1; entry < numCodeEntries; ++entry)
    {
        table[entry][0] = cubaseButtons0[entry][0];
        table[entry][1] = cubaseButtons0[entry][1];
    }
}

void Defa::resetCodeTables()
{
    for (auto* table : arrForMoid)
        for (int entry = 0; entry < numCodeEntries; ++entry)
            table[entry][0] = table[entry][1] = 0;
}

//==============================================================================
int Defa::nSelsInFunc2 (int mode, int flag)
{
    if (mode == CtMode::ProTools)
        return flag != 0 ? 0 : 50;

    return 128;
}

int Defa::getValue2 (int /*mode*/, int flag, int sel)
{
    return flag != 0 ? 0 : sel;
}

int Defa::selForval2 (int mode, int flag, int value)
{
    const auto numSels = nSelsInFunc2 (mode, flag);

    for (int sel = 0; sel < numSels; ++sel)
        if (getValue2 (mode, flag, sel) == value)
            return sel;

    return -1;
}

int Defa::indexForvalue (int mode, int flag, int value)
{
    return selForval2 (mode, flag, value);
}

const char* Defa::getName3 (int mode, int flag, int sel, int code)
{
    if (mode == CtMode::ProTools)
        return record (protoolsControlNames, 51, flag != 0 ? 0 : sel);

    if (flag != 0)
        return emptyText;

    if (mode == CtMode::Mackie || mode == CtMode::UserDefined)
        return record (NCP[juce::jmax (0, typeIndexForCode (code))], 128, sel);

    return record (logicNotes, 128, sel);
}

const char* Defa::getName (int mode, int flag, int sel)
{
    if (mode == CtMode::ProTools)
        return record (protoolsControlNames, 51, flag != 0 ? 0 : sel);

    if (flag != 0)
        return emptyText;

    return record (mode == CtMode::UserDefined ? mkModeNotes : logicNotes, 128, sel);
}
