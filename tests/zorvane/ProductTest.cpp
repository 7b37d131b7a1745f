#include "zorvane_core/Product.h"
#include "zorvane_firmware/DeviceHelpers.h"

#include <gtest/gtest.h>

using zorvane::Product;

namespace
{
    struct NameCase
    {
        const char* portName;
        int expectedPid;
    };

    void expectRecognised (const NameCase& c)
    {
        EXPECT_EQ ((int) Product::fromDeviceName (c.portName).getPID(), c.expectedPid) << "port name '" << c.portName << "'";
    }
}

//==============================================================================
TEST (ProductRecognition, TieBreaksAndNearMisses)
{
    const NameCase cases[] =
    {
        { "Dalvi K+",             156 },
        { "Dalvi K",              117 },
        { "Dalvi R+ Port 1",      161 },
        { "  DALVI V+ ",          170 },
        { "dAlVi v+",             170 },
        { "Ostra Pro RS",         130 },
        { "Ostra Pro R",           94 },
        { "Ostra Pro G2",         176 },
        { "Ostra Ex G2",          177 },
        { "Ostra Pro",             79 },
        { "OstraPro R",          2000 },
        { "Merrow 3T VST",        133 },
        { "Merrow 3T (TS III)",   133 },
        { "Merrow 3T",            111 },
        { "Merrow 3R",            147 },
        { "Merrow 3 Lite",        141 },
        { "Mer row 5",            103 },
        { "Merrow 5",            2000 },
        { "Merrow T",            2000 },
        { "",                    2000 },
        { "   ",                 2000 },
        { "Zorvane firmware upgrade", 2000 },
        { "USB Audio Device",    2000 }
    };

    for (const auto& c : cases)
        expectRecognised (c);
}

TEST (ProductRecognition, EveryPatternInItsOrder)
{
    // One name per pattern, in the patterns' order; the word separators vary
    // where the pattern accepts any one character.
    const NameCase cases[] =
    {
        { "Ostra Pro RS MIDI 1",  130 },
        { "Ostra Pro R Port 2",    94 },
        { "Ostra_Pro_G2",         176 },
        { "Ostra-Ex G2",          177 },
        { "Ostra Pro MIDI 1",      79 },
        { "Ostra Ex MIDI",         89 },
        { "Dalvi_K+",             156 },
        { "Dalvi-K",              117 },
        { "Dalvi R+",             161 },
        { "Dalvi R",              118 },
        { "Dalvi V+",             170 },
        { "Dalvi Go",             186 },
        { "DalviLite",            179 },
        { "Merrow 3R",            147 },
        { "Merrow_4R",            148 },
        { "Merrow 5R",            149 },
        { "Merrow 6R",            150 },
        { "Merrow 8R",            151 },
        { "Merrow 3T VST",        133 },
        { "Merrow 3T (TS III)",   133 },
        { "Merrow 4T VST",        134 },
        { "Merrow 4T (TS III)",   134 },
        { "Merrow 5T VST",        135 },
        { "Merrow 5T (TS-III)",   135 },
        { "Merrow 6T VST",        136 },
        { "Merrow 6T (TS III)",   136 },
        { "Merrow 8T VST",        137 },
        { "Merrow 8T (TS III)",   137 },
        { "Merrow 3T",            111 },
        { "Merrow 4T",            112 },
        { "Merrow 5T",            113 },
        { "Merrow 6T",            114 },
        { "Merrow 8T",            126 },
        { "Merrow 3 Lite",        141 },
        { "Merrow 4 Lite",        142 },
        { "Merrow 5_Lite",        143 },
        { "Merrow 6 Lite",        144 },
        { "Merrow 8 Lite",        145 },
        { "Mer row 3",            101 },
        { "Mer-row 4",            102 },
        { "Mer row 5",            103 },
        { "Mer row 6",            104 },
        { "Mer row 8",            125 }
    };

    for (const auto& c : cases)
        expectRecognised (c);
}

//==============================================================================
TEST (ProductCatalogue, NamesAndValidity)
{
    struct Case
    {
        int pid;
        const char* name;
        bool valid;
    };

    const Case cases[] =
    {
        {   79, "OstraPro",               true },
        {   94, "OstraPro R",             true },
        {  110, "Merrow T",               true },
        {  130, "OstraPro RS",            true },
        {  133, "Merrow 3T (Tessel III)", true },
        {  145, "Merrow 8 Lite",          true },
        {  156, "Dalvi K+",               true },
        {  170, "Dalvi V+",               true },
        {  177, "OstraEx G2",             true },
        {  179, "DalviLite",              true },
        {  186, "Dalvi Go",               true },
        {  171, "Unknown",                true },
        {    0, "Unknown",                true },
        { 2000, "Unknown",                false }
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (Product::getName (Product::PID (c.pid)), c.name) << c.pid;
        EXPECT_EQ (Product::validPID (c.pid), c.valid) << c.pid;
    }
}

//==============================================================================
namespace
{
    /** Lists the names it is given; opens nothing. */
    class ListingBackend final : public zorvane::MidiBackend
    {
    public:
        juce::StringArray outputs, inputs;

        juce::StringArray getOutputNames() override { return outputs; }
        juce::StringArray getInputNames() override  { return inputs; }
        std::unique_ptr<zorvane::MidiOutputPort> openOutput (int) override { return {}; }
        std::unique_ptr<zorvane::MidiInputPort> openInput (int, juce::MidiInputCallback&) override { return {}; }
    };
}

TEST (DeviceHelpers, NamesListedOnceWithoutBlanks)
{
    ListingBackend midi;
    midi.outputs = { "A", "", "A", "B", "   " };
    midi.inputs = { "b", "B", "b", " ", "Dalvi V+", "A" };

    EXPECT_EQ (zorvane::DeviceHelpers::getDeviceNames (true, midi), juce::StringArray ({ "A", "B" }));
    EXPECT_EQ (zorvane::DeviceHelpers::getDeviceNames (false, midi), juce::StringArray ({ "b", "B", "Dalvi V+", "A" }));
}
