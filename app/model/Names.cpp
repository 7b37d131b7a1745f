// The name tables behind the value lists and the button labels.

#include "app/model/Arrays.h"

#include <algorithm>

//==============================================================================
namespace
{
    struct NoteNames
    {
        char records[128][nameWidth] {};
    };

    // " C(4)" for a natural, "C#(4)" for a sharp: the leading blank lines the
    // naturals up with the sharps in a list.
    constexpr NoteNames buildNoteNames()
    {
        constexpr char letters[] = "CCDDEFFGGAAB";
        constexpr bool sharps[] { false, true, false, true, false, false, true, false, true, false, true, false };

        NoteNames table;

        for (int note = 0; note < 128; ++note)
        {
            auto* text = table.records[note];
            const auto pitchClass = note % 12;
            const auto octave = note / 12 - 1;
            int length = 0;

            if (sharps[pitchClass])
            {
                text[length++] = letters[pitchClass];
                text[length++] = '#';
            }
            else
            {
                text[length++] = ' ';
                text[length++] = letters[pitchClass];
            }

            text[length++] = '(';

            if (octave < 0)
            {
                text[length++] = '-';   // only octave -1 is below zero
                text[length++] = '1';
            }
            else
            {
                text[length++] = static_cast<char> ('0' + octave);
            }

            text[length] = ')';
        }

        return table;
    }

    constexpr NoteNames noteNames = buildNoteNames();
}

const char (&Arrays::NOTE)[128][nameWidth] = noteNames.records;

//==============================================================================
const char Arrays::CC[128][nameWidth] =
{
    "Bank MSB*(GS)",               // 0
    "Modulation(GM)",              // 1
    "Breath",                      // 2
    "--",                          // 3
    "Foot Pedal",                  // 4
    "Portamento Time(GM)",         // 5
    "Data Entry MSB(GM)",          // 6
    "Volume*(GM)",                 // 7
    "Balance(GM)",                 // 8
    "--",                          // 9
    "Pan(GM)",                     // 10
    "Expression*(GM)",             // 11
    "--",                          // 12
    "--",                          // 13
    "--",                          // 14
    "--",                          // 15
    "Pan.1",                       // 16
    "Pan.2",                       // 17
    "Pan.3",                       // 18
    "Pan.4",                       // 19
    "Pan.5",                       // 20
    "Pan.6",                       // 21
    "Pan.7",                       // 22
    "Pan.8",                       // 23
    "--",                          // 24
    "--",                          // 25
    "--",                          // 26
    "--",                          // 27
    "--",                          // 28
    "--",                          // 29
    "--",                          // 30
    "--",                          // 31
    "--",                          // 32
    "--",                          // 33
    "--",                          // 34
    "--",                          // 35
    "--",                          // 36
    "--",                          // 37
    "Data Entry LSB",              // 38
    "--",                          // 39
    "--",                          // 40
    "--",                          // 41
    "--",                          // 42
    "--",                          // 43
    "--",                          // 44
    "--",                          // 45
    "--",                          // 46
    "--",                          // 47
    "--",                          // 48
    "--",                          // 49
    "--",                          // 50
    "--",                          // 51
    "--",                          // 52
    "--",                          // 53
    "--",                          // 54
    "--",                          // 55
    "--",                          // 56
    "--",                          // 57
    "--",                          // 58
    "--",                          // 59
    "--",                          // 60
    "--",                          // 61
    "--",                          // 62
    "--",                          // 63
    "Hold Pedal #1*(GM)",          // 64
    "Portamento(Gs)",              // 65
    "Sostenuto(Gs)",               // 66
    "Soft Pedal(Gs)",              // 67
    "Legato Pedal",                // 68
    "Hold Pedal #2",               // 69
    "Sound Variation",             // 70
    "Sound Timbre",                // 71
    "Sound Release Time",          // 72
    "Sound Attack Time",           // 73
    "Sound Brightness",            // 74
    "Sound Control #6",            // 75
    "Sound Control #7",            // 76
    "Sound Control #8",            // 77
    "Sound Control #9",            // 78
    "Sound Control #10",           // 79
    "GP Control #5",               // 80
    "GP Control #6",               // 81
    "GP Control #7",               // 82
    "GP Control #8",               // 83
    "Portamento Control(GS)",      // 84
    "--",                          // 85
    "--",                          // 86
    "--",                          // 87
    "--",                          // 88
    "--",                          // 89
    "--",                          // 90
    "Reverb Level(GS)",            // 91
    "Tremolo Depth",               // 92
    "Chorus Level(GS)",            // 93
    "Celeste Depth",               // 94
    "Phaser Depth",                // 95
    "Data Increment",              // 96
    "Data Decrement",              // 97
    "Non-RPN*Param LSB(GS)",       // 98
    "Non-RPN*Param MSB(GS)",       // 99
    "RPN*Parameter LSB(GM)",       // 100
    "RPN*Parameter MSB(GM)",       // 101
    "--",                          // 102
    "--",                          // 103
    "--",                          // 104
    "--",                          // 105
    "--",                          // 106
    "--",                          // 107
    "--",                          // 108
    "--",                          // 109
    "--",                          // 110
    "--",                          // 111
    "--",                          // 112
    "--",                          // 113
    "--",                          // 114
    "--",                          // 115
    "--",                          // 116
    "--",                          // 117
    "--",                          // 118
    "--",                          // 119
    "All Sound Off*(GS)",          // 120
    "Reset All Contorllers(GM)",   // 121
    "Local On/Off",                // 122
    "All Notes Off*(GM)",          // 123
    "Omni Mode Off",               // 124
    "Omni Mode On",                // 125
    "Mono Mode On",                // 126
    "Poly Mode On",                // 127
};

//==============================================================================
char Arrays::PITCH[128][nameWidth] {};

void Defa::fillPitchNames()
{
    for (auto& record : PITCH)
    {
        std::fill (std::begin (record), std::end (record), '\0');
        record[0] = '-';
        record[1] = '-';
    }
}

//==============================================================================
const char (* const Arrays::NCP[4])[nameWidth] { noteNames.records, CC, PITCH, nullptr };

//==============================================================================
const char Arrays::logicNotes[128][nameWidth] =
{
    "REC.1",                       // 0
    "REC.2",                       // 1
    "REC.3",                       // 2
    "REC.4",                       // 3
    "REC.5",                       // 4
    "REC.6",                       // 5
    "REC.7",                       // 6
    "REC.8",                       // 7
    "SOLO.1",                      // 8
    "SOLO.2",                      // 9
    "SOLO.3",                      // 10
    "SOLO.4",                      // 11
    "SOLO.5",                      // 12
    "SOLO.6",                      // 13
    "SOLO.7",                      // 14
    "SOLO.8",                      // 15
    "MUTE.1",                      // 16
    "MUTE.2",                      // 17
    "MUTE.3",                      // 18
    "MUTE.4",                      // 19
    "MUTE.5",                      // 20
    "MUTE.6",                      // 21
    "MUTE.7",                      // 22
    "MUTE.8",                      // 23
    "SEL.1",                       // 24
    "SEL.2",                       // 25
    "SEL.3",                       // 26
    "SEL.4",                       // 27
    "SEL.5",                       // 28
    "SEL.6",                       // 29
    "SEL.7",                       // 30
    "SEL.8",                       // 31
    "Mon1",                        // 32
    "Mon2",                        // 33
    "Mon3",                        // 34
    "Mon4",                        // 35
    "Mon5",                        // 36
    "Mon6",                        // 37
    "Mon7",                        // 38
    "Mon8",                        // 39
    "Track",                       // 40
    "Send",                        // 41
    "Pan/ Surround",               // 42
    "Plug-in",                     // 43
    "EQ",                          // 44
    "Inst.",                       // 45
    "<<8",                         // 46
    "8>>",                         // 47
    "1<",                          // 48
    ">1",                          // 49
    "Flip",                        // 50
    "Global View",                 // 51
    "Name/ Value",                 // 52
    "SMPTE /Beats",                // 53
    "F1",                          // 54
    "F2",                          // 55
    "F3",                          // 56
    "F4",                          // 57
    "F5",                          // 58
    "F6",                          // 59
    "F7",                          // 60
    "F8",                          // 61
    "MIDI Tracks",                 // 62
    "Inputs",                      // 63
    "Audio Tracks",                // 64
    "Audio Inst",                  // 65
    "Aux",                         // 66
    "Busses",                      // 67
    "Outputs",                     // 68
    "User",                        // 69
    "Shift",                       // 70
    "Option",                      // 71
    "Ctrl",                        // 72
    "Cmd/Alt",                     // 73
    "Read /Off",                   // 74
    "Write",                       // 75
    "Trim",                        // 76
    "Touch",                       // 77
    "Latch",                       // 78
    "Group",                       // 79
    "Save",                        // 80
    "Undo",                        // 81
    "Cancel",                      // 82
    "Enter",                       // 83
    "Marker",                      // 84
    "Nudge",                       // 85
    "Cycle",                       // 86
    "Drop",                        // 87
    "Replace",                     // 88
    "Click",                       // 89
    "Solo",                        // 90
    "Rewind",                      // 91
    "FastFwd",                     // 92
    "Stop",                        // 93
    "Play",                        // 94
    "Record",                      // 95
    "Up",                          // 96
    "Down",                        // 97
    "Left",                        // 98
    "Right",                       // 99
    "Zoom",                        // 100
    "Scrub",                       // 101
    "User B",                      // 102
    "User A",                      // 103
    "Touch.1",                     // 104
    "Touch.2",                     // 105
    "Touch.3",                     // 106
    "Touch.4",                     // 107
    "Touch.5",                     // 108
    "Touch.6",                     // 109
    "Touch.7",                     // 110
    "Touch.8",                     // 111
    "Touch.M",                     // 112
    "",                            // 113
    "",                            // 114
    "",                            // 115
    "",                            // 116
    "",                            // 117
    "",                            // 118
    "",                            // 119
    "",                            // 120
    "",                            // 121
    "",                            // 122
    "",                            // 123
    "",                            // 124
    "",                            // 125
    "",                            // 126
    "",                            // 127
};

//==============================================================================
const char Arrays::mkModeNotes[128][nameWidth] =
{
    "REC.1",                       // 0
    "REC.2",                       // 1
    "REC.3",                       // 2
    "REC.4",                       // 3
    "REC.5",                       // 4
    "REC.6",                       // 5
    "REC.7",                       // 6
    "REC.8",                       // 7
    "SOLO.1",                      // 8
    "SOLO.2",                      // 9
    "SOLO.3",                      // 10
    "SOLO.4",                      // 11
    "SOLO.5",                      // 12
    "SOLO.6",                      // 13
    "SOLO.7",                      // 14
    "SOLO.8",                      // 15
    "MUTE.1",                      // 16
    "MUTE.2",                      // 17
    "MUTE.3",                      // 18
    "MUTE.4",                      // 19
    "MUTE.5",                      // 20
    "MUTE.6",                      // 21
    "MUTE.7",                      // 22
    "MUTE.8",                      // 23
    "SEL.1",                       // 24
    "SEL.2",                       // 25
    "SEL.3",                       // 26
    "SEL.4",                       // 27
    "SEL.5",                       // 28
    "SEL.6",                       // 29
    "SEL.7",                       // 30
    "SEL.8",                       // 31
    "Mon1",                        // 32
    "Mon2",                        // 33
    "Mon3",                        // 34
    "Mon4",                        // 35
    "Mon5",                        // 36
    "Mon6",                        // 37
    "Mon7",                        // 38
    "Mon8",                        // 39
    "Page<<",                      // 40
    "Page>>",                      // 41
    "Pan",                         // 42
    "Ins",                         // 43
    "EQ",                          // 44
    "FX-Send",                     // 45
    "<<8",                         // 46
    "8>>",                         // 47
    "1<",                          // 48
    ">1",                          // 49
    "Flip",                        // 50
    "Edit",                        // 51
    "Name/ Value",                 // 52
    "SMPTE /Beats",                // 53
    "F1",                          // 54
    "F2",                          // 55
    "F3",                          // 56
    "F4",                          // 57
    "F5",                          // 58
    "F6",                          // 59
    "F7",                          // 60
    "F8",                          // 61
    "",                            // 62
    "",                            // 63
    "",                            // 64
    "",                            // 65
    "",                            // 66
    "",                            // 67
    "",                            // 68
    "",                            // 69
    "Undo",                        // 70
    "Redo",                        // 71
    "Save",                        // 72
    "",                            // 73
    "Read",                        // 74
    "Write",                       // 75
    "",                            // 76
    "",                            // 77
    "Mixer",                       // 78
    "Motor",                       // 79
    "VSTi",                        // 80
    "Master",                      // 81
    "",                            // 82
    "Shift",                       // 83
    "Trnspt<",                     // 84
    "Trnspt>",                     // 85
    "Loop",                        // 86
    "Punch",                       // 87
    "Prev",                        // 88
    "Add",                         // 89
    "Next",                        // 90
    "Rewind",                      // 91
    "FastFwd",                     // 92
    "Stop",                        // 93
    "Play",                        // 94
    "Record",                      // 95
    "Up",                          // 96
    "Down",                        // 97
    "Left",                        // 98
    "Right",                       // 99
    "Zoom",                        // 100
    "Scrub",                       // 101
    "Usr B",                       // 102
    "Usr A",                       // 103
    "Touch.1",                     // 104
    "Touch.2",                     // 105
    "Touch.3",                     // 106
    "Touch.4",                     // 107
    "Touch.5",                     // 108
    "Touch.6",                     // 109
    "Touch.7",                     // 110
    "Touch.8",                     // 111
    "Touch.M",                     // 112
    "SMPTE LED",                   // 113
    "Beats LED",                   // 114
    "",                            // 115
    "",                            // 116
    "",                            // 117
    "",                            // 118
    "",                            // 119
    "",                            // 120
    "",                            // 121
    "",                            // 122
    "",                            // 123
    "",                            // 124
    "",                            // 125
    "",                            // 126
    "",                            // 127
};

//==============================================================================
const char Arrays::msgTypes[3][msgTypeWidth] { "Note", "CC", "Pitch" };
