#pragma once

#include <juce_core/juce_core.h>

/** The process-wide tables of the map model.

    Kept in a namespace so that a local variable named pt or ud elsewhere does not
    shadow a global (and trip -Wshadow); the using-directive below keeps the short
    names in reach without qualification.
*/
namespace Arrays
{
    //==============================================================================
    // Control numbering. The id (1..50) is a control's place on the panel, five rows
    // of ten; the aid (0..49) its place in the device's own order.

    /** The aid of each control: aids[id - 1]. */
    extern const int aids[50];

    /** The control id of each aid: cids[aid]. Also the order of the transfer. */
    extern const int cids[50];

    /** The message-type code (high nibble of the status byte) of each CtType value. */
    extern const int valOfSele[3];

    /** The CtMode value of each item of the mode combo box. */
    extern const int modIdForSel[4];

    //==============================================================================
    // The per-mode code tables: what the device receives for each control, entry
    // aid + 1 per control, entry 0 belonging to none. In the Mackie Control modes an
    // entry is status byte, data byte; in Pro Tools it is the HUI zone and 0x40 + port.
    // They start all zero and are written by map construction and reset, by the
    // editor's buttons and by loading a User Defined map.

    constexpr int numCodeEntries = 51;

    extern juce::uint8 mk[numCodeEntries][2];   // Mackie
    extern juce::uint8 lg[numCodeEntries][2];   // Logic
    extern juce::uint8 pt[numCodeEntries][2];   // Pro Tools
    extern juce::uint8 ud[numCodeEntries][2];   // User Defined

    /** The code table of each CtMode value: arrForMoid[mode][entry][byte]. */
    extern juce::uint8 (* const arrForMoid[4])[2];

    //==============================================================================
    // Factory tables, laid out like the code tables.

    /** The factory codes of the three Mackie Control modes (entry 0 is never copied). */
    extern const juce::uint8 cubaseButtons0[numCodeEntries][2];

    /** The HUI pair of each Pro Tools function k at entry k + 1. */
    extern const juce::uint8 ptBtnDefaVals[numCodeEntries][2];

    //==============================================================================
    // Name tables: fixed-width records holding a zero-terminated, zero-padded text.

    constexpr int nameWidth = 40;
    constexpr int msgTypeWidth = 20;

    /** The name of each Pro Tools function k at record k; record 50 is empty. */
    extern const char protoolsControlNames[51][nameWidth];

    /** Note names, " C(-1)" to " G(9)". */
    extern const char (&NOTE)[128][nameWidth];

    /** Controller names; "--" for the unnamed ones. */
    extern const char CC[128][nameWidth];

    /** Pitch-bend names: empty until Defa::fillPitchNames() runs at start-up. */
    extern char PITCH[128][nameWidth];

    /** The name tables of each CtType value: NOTE, CC, PITCH, then an empty slot. */
    extern const char (* const NCP[4])[nameWidth];

    /** Mackie Control button names in the Logic wording, by note number. */
    extern const char logicNotes[128][nameWidth];

    /** Mackie Control button names in the alternative wording, by note number. */
    extern const char mkModeNotes[128][nameWidth];

    /** "Note", "CC", "Pitch", by CtType value. */
    extern const char msgTypes[3][msgTypeWidth];
}

using namespace Arrays;

//==============================================================================
/** Factory defaults and table lookups.

    Ids are control ids 1..50, modes CtMode values, codes message-type codes
    (9, 11, 14), sels positions in a value list. Arguments outside their tables
    give a neutral result (0, -1 or an empty text) and never touch memory outside
    the tables.
*/
namespace Defa
{
    //==============================================================================
    /** 0 (a button) for an id 1..50, otherwise -1. */
    int kindForCid (int id);

    /** The code-table entry of a control, aids[id - 1] + 1, or -1 for an id outside 1..50. */
    int slotForId (int id);

    /** The factory "value" of a control: its aid in Pro Tools (0 for a bad id), its
        code-table note in the other modes (-1 for a bad id).
    */
    int factoryValue (int mode, int id);

    /** The data byte of entry aids[index] + 1 of lg (Logic), ud (User Defined) or mk
        (any other mode). A negative index comes back unchanged; one above 49 gives -1.
    */
    int getButtonValue2 (int mode, int index);

    /** The MIDI channel 1..16 of a control's code: 1 in Pro Tools, 0 for a bad mode or id. */
    int getChan (int mode, int id);

    /** The message-type code of a control: 11 in Pro Tools, 0 for a bad mode or id. */
    int getMsgType (int mode, int id);

    /** The data byte of a control's code in the device model's current mode; 0 when
        there is no device model or the id is bad.
    */
    int getMsVal (int id);

    /** valOfSele[sel], or 0 for a sel that is no CtType value. */
    int getMstyForSel (int sel);

    /** The CtType slug of a message-type code, or an empty string. */
    juce::String getMstyStr (int code);

    /** The CtType value of a message-type code; 0 for an unknown code. */
    int selForMsgType (int code);

    //==============================================================================
    /** Returns the mode's code table to its factory codes: entries 1..50 from
        cubaseButtons0 for a Mackie Control mode, all 51 from ptBtnDefaVals for
        Pro Tools. The other modes' tables are left alone. A bad mode does nothing.
    */
    void loadFactoryCodes (int mode);

    /** All four code tables back to zero, as at process start. */
    void resetCodeTables();

    /** Fills every PITCH record with "--". Safe to call more than once. */
    void fillPitchNames();

    //==============================================================================
    /** The length of the value list: 50 in Pro Tools (0 with a flag), 128 otherwise. */
    int nSelsInFunc2 (int mode, int flag);

    /** The value at a selection: the selection itself, or 0 with a flag. */
    int getValue2 (int mode, int flag, int sel);

    /** The first selection whose value is the given one, or -1. */
    int selForval2 (int mode, int flag, int value);

    /** Same as selForval2; the button labels use this one. */
    int indexForvalue (int mode, int flag, int value);

    /** The name of a selection in the value combo box. Empty for a sel outside the table. */
    const char* getName3 (int mode, int flag, int sel, int code);

    /** The name of a selection in a button label. Empty for a sel outside the table. */
    const char* getName (int mode, int flag, int sel);
}
