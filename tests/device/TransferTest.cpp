#include "app/device/Messages.h"
#include "app/model/Arrays.h"
#include "tests/support/ScopedDeviceModel.h"
#include "tools/simdevice/SimulatedDalvi.h"

#include <gtest/gtest.h>

namespace
{
    using Bytes = std::vector<juce::uint8>;

    // The factory codes copied by hand from the device's documentation, by aid
    // (the transfer order): the Mackie Control note of each button, all on Note On
    // channel 1, and the HUI zone/port pair of each Pro Tools function.
    const int factoryNotes[50] = { 40, 41, 54, 55, 56, 57, 58, 59, 42, 43, 62, 63, 64, 65, 66, 67, 44, 45, 80, 81,
                                   82, 83, 50, 70, 52, 53, 76, 77, 78, 79, 51, 98, 84, 85, 86, 87, 88, 89, 90, 72,
                                   60, 61, 68, 69, 96, 71, 100, 99, 97, 73 };

    const juce::uint8 huiPairs[50][2] = {
        { 0x0B, 0x42 }, { 0xF7, 0xF7 }, { 0x1A, 0x44 }, { 0x1A, 0x43 }, { 0x09, 0x42 }, { 0x09, 0x43 }, { 0x09, 0x45 },
        { 0x1A, 0x41 }, { 0x0C, 0x40 }, { 0x0B, 0x47 }, { 0x18, 0x42 }, { 0x18, 0x44 }, { 0x18, 0x45 }, { 0x18, 0x41 },
        { 0x18, 0x40 }, { 0x18, 0x43 }, { 0x0B, 0x41 }, { 0x0B, 0x40 }, { 0x08, 0x47 }, { 0x08, 0x43 }, { 0x1B, 0x47 },
        { 0x14, 0x40 }, { 0xF7, 0xF6 }, { 0x08, 0x41 }, { 0x17, 0x42 }, { 0x17, 0x45 }, { 0x17, 0x40 }, { 0x17, 0x41 },
        { 0x17, 0x44 }, { 0x17, 0x43 }, { 0xF7, 0xF5 }, { 0x0D, 0x41 }, { 0x1B, 0x40 }, { 0x0C, 0x42 }, { 0x10, 0x42 },
        { 0x10, 0x43 }, { 0x0F, 0x42 }, { 0xF7, 0xF3 }, { 0xF7, 0xF2 }, { 0x08, 0x44 }, { 0x1A, 0x45 }, { 0x1A, 0x40 },
        { 0x19, 0x42 }, { 0x0C, 0x41 }, { 0x0D, 0x44 }, { 0x08, 0x42 }, { 0x0D, 0x42 }, { 0x0D, 0x43 }, { 0x0D, 0x40 },
        { 0x08, 0x45 }
    };

    Bytes bytesOf (const juce::MidiMessage& m)
    {
        return { m.getRawData(), m.getRawData() + m.getRawDataSize() };
    }

    /** The whole stream the device must see for a factory map of a mode. */
    std::vector<Bytes> expectedFactoryStream (int mode)
    {
        std::vector<Bytes> stream;
        stream.push_back ({ 0xF0, 0x1D, 0x03, 0x01, 0x2A, (juce::uint8) (mode == 2 ? 1 : 0), (juce::uint8) (mode + 1), 0x7F, 0xF7 });

        for (int aid = 0; aid < 50; ++aid)
        {
            const juce::uint8 b0 = mode == 2 ? huiPairs[aid][0] : 0x90;
            const juce::uint8 b1 = mode == 2 ? huiPairs[aid][1] : (juce::uint8) factoryNotes[aid];
            stream.push_back ({ 0x9F, (juce::uint8) (b0 >> 4), (juce::uint8) (b0 & 0x0F) });
            stream.push_back ({ 0x9F, (juce::uint8) (b1 >> 4), (juce::uint8) (b1 & 0x0F) });
        }

        stream.push_back ({ 0x9E, 0x7F, 0x7F });
        return stream;
    }

    class Transfer : public ::testing::Test
    {
    protected:
        juce::Result send()
        {
            return model->sendCurrentMapping();
        }

        testsupport::ScopedDeviceModel model;
        SimulatedDalvi device { model.midi };
    };
}

//==============================================================================
TEST (TransferMessages, StartMessageForEachMode)
{
    const struct { int mode; Bytes expected; } cases[] = {
        { 0, { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x01, 0x7F, 0xF7 } },
        { 1, { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x02, 0x7F, 0xF7 } },
        { 2, { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x01, 0x03, 0x7F, 0xF7 } },
        { 3, { 0xF0, 0x1D, 0x03, 0x01, 0x2A, 0x00, 0x04, 0x7F, 0xF7 } },
    };

    for (const auto& c : cases)
        EXPECT_EQ (bytesOf (Messages::makeStart (170, c.mode)), c.expected) << "mode " << c.mode;

    EXPECT_EQ (bytesOf (Messages::makeEnd()), (Bytes { 0x9E, 0x7F, 0x7F }));
}

TEST (TransferMessages, CarrierKeepsAVelocityOfZero)
{
    EXPECT_EQ (bytesOf (Messages::makeCarrier (0x90)), (Bytes { 0x9F, 0x09, 0x00 }));
    EXPECT_EQ (bytesOf (Messages::makeCarrier (0xF7)), (Bytes { 0x9F, 0x0F, 0x07 }));
    EXPECT_EQ (bytesOf (Messages::makeCarrier (0x00)), (Bytes { 0x9F, 0x00, 0x00 }));
}

//==============================================================================
TEST_F (Transfer, FactoryMapsGoOutAsTheGoldenStreams)
{
    model->setCurrentOutputDevice ("Dalvi V+");

    for (int mode = 0; mode < 4; ++mode)
    {
        SCOPED_TRACE ("mode " + std::to_string (mode));
        device.clear();
        model->setCtMode ((CtMode::Type) mode);

        ASSERT_TRUE (send().wasOk());
        EXPECT_EQ (device.getReceivedMessages(), expectedFactoryStream (mode));
        EXPECT_EQ (device.getError(), "");
        EXPECT_EQ (device.getMapping().mode, mode);
    }
}

TEST_F (Transfer, UserDefinedEditReachesTheDevice)
{
    // Control id 5 (aid 4) set to Control Change, channel 3, controller 20.
    model->setCtMode (CtMode::UserDefined);
    ud[aids[4] + 1][0] = 0xB2;
    ud[aids[4] + 1][1] = 0x14;
    model->setCurrentOutputDevice ("Dalvi V+");

    ASSERT_TRUE (send().wasOk());

    const auto messages = device.getReceivedMessages();
    EXPECT_EQ (messages[1 + 2 * 4], (Bytes { 0x9F, 0x0B, 0x02 }));
    EXPECT_EQ (messages[2 + 2 * 4], (Bytes { 0x9F, 0x01, 0x04 }));
    EXPECT_EQ (device.getMapping().entries[4], (std::array<juce::uint8, 2> { 0xB2, 0x14 }));
}

TEST_F (Transfer, ProToolsSendsTheEntryOfEachControlsFunction)
{
    // Control id 1 now triggers function 49, whose pair is the last entry.
    model->setCtMode (CtMode::ProTools);
    model->getCurrentMap().getControlById (1).setProperty (Tags::value, 49, nullptr);
    model->setCurrentOutputDevice ("Dalvi V+");

    ASSERT_TRUE (send().wasOk());
    EXPECT_EQ (device.getMapping().entries[0], (std::array<juce::uint8, 2> { 0x08, 0x45 }));
}

TEST_F (Transfer, PausesTwoMillisecondsAfterEachControl)
{
    model->setCurrentOutputDevice ("Dalvi V+");
    ASSERT_TRUE (send().wasOk());

    EXPECT_EQ (model.waits.numSleeps, 50);
    EXPECT_EQ (model.waits.sleptMs, 100);
}

TEST_F (Transfer, SendingTwiceSendsTheSameStreamAndClosesThePortEachTime)
{
    model->setCtMode (CtMode::Logic);
    model->setCurrentOutputDevice ("Dalvi V+");

    ASSERT_TRUE (send().wasOk());
    EXPECT_EQ (model.midi.getNumOpenOutputs(), 0);
    ASSERT_TRUE (send().wasOk());
    EXPECT_EQ (model.midi.getNumOpenOutputs(), 0);

    const auto messages = device.getReceivedMessages();
    ASSERT_EQ (messages.size(), 204u);
    EXPECT_TRUE (std::equal (messages.begin(), messages.begin() + 102, messages.begin() + 102));
    EXPECT_EQ (device.getNumCompleteTransfers(), 2);
}

TEST_F (Transfer, FailuresSendNothing)
{
    struct Case { const char* port; const char* expected; };
    const Case cases[] = {
        { "", "No device selected" },
        { "dalvi v+", "dalvi v+: device does not exist" },
        { "IAC Bus", "IAC Bus: device does not exist" },
    };

    for (const auto& c : cases)
    {
        model->setCurrentOutputDevice (c.port);
        const auto result = send();
        EXPECT_TRUE (result.failed());
        EXPECT_EQ (result.getErrorMessage(), c.expected);
    }

    EXPECT_TRUE (device.getReceivedMessages().empty());
    EXPECT_EQ (model.midi.getNumOpenOutputs(), 0);
}

TEST_F (Transfer, PortThatCannotBeOpenedIsReported)
{
    model.midi.setRefusesToOpen ("Dalvi V+", true);
    model->setCurrentOutputDevice ("Dalvi V+");

    EXPECT_EQ (send().getErrorMessage(), "Dalvi V+: could not open device");
    EXPECT_TRUE (device.getReceivedMessages().empty());
}

// Regression: a device unplugged in the middle of a transfer used to be reported
// as "Done!".
TEST_F (Transfer, DeviceUnpluggedDuringTransferIsAFailure)
{
    device.onMessage = [this] (int count)
    {
        if (count == 20)
            device.unplug();
    };

    model->setCurrentOutputDevice ("Dalvi V+");
    const auto result = send();

    EXPECT_TRUE (result.failed());
    EXPECT_EQ (result.getErrorMessage(), "Dalvi V+: device disconnected during transfer");
    EXPECT_FALSE (device.hasMapping());
    EXPECT_EQ (model.midi.getNumOpenOutputs(), 0);
}
