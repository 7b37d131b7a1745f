#include "tools/simdevice/SimulatedBootloader.h"

#include <array>
#include <optional>
#include <vector>

namespace
{
    constexpr size_t preambleLength = 10;
    constexpr juce::uint8 header[] = { 0x1D, 0x03, 0x00, 0x49 };
    constexpr size_t commandOffset = preambleLength + std::size (header);
    constexpr size_t commandPacketLength = 17;
    constexpr size_t dataPacketLength = 530;
    constexpr size_t blockSize = 512;

    constexpr juce::uint8 connectCommand = 0x7F;
    constexpr juce::uint8 eraseCommand   = 0x00;
    constexpr juce::uint8 writeCommand   = 0x01;
    constexpr juce::uint8 resetCommand   = 0x02;

    juce::String hex (juce::uint8 byte)
    {
        return "0x" + juce::String::toHexString ((int) byte).paddedLeft ('0', 2).toUpperCase();
    }

    //==============================================================================
    // FIPS 180-4, for comparing a written image with its file by digest.
    class Sha256
    {
    public:
        void update (const juce::uint8* data, size_t numBytes)
        {
            for (size_t i = 0; i < numBytes; ++i)
            {
                buffer[bufferUsed++] = data[i];

                if (bufferUsed == buffer.size())
                {
                    processBlock (buffer.data());
                    bufferUsed = 0;
                }
            }

            totalBytes += numBytes;
        }

        juce::String finish()
        {
            const auto bitLength = (juce::uint64) totalBytes * 8;

            const juce::uint8 one = 0x80;
            update (&one, 1);

            const juce::uint8 zero = 0;

            while (bufferUsed != 56)
                update (&zero, 1);

            juce::uint8 length[8];

            for (int i = 0; i < 8; ++i)
                length[i] = (juce::uint8) (bitLength >> (56 - 8 * i));

            update (length, 8);

            juce::String digest;

            for (auto word : h)
                digest << juce::String::toHexString ((juce::int64) word).paddedLeft ('0', 8);

            return digest;
        }

    private:
        static juce::uint32 rotr (juce::uint32 x, int n) { return (x >> n) | (x << (32 - n)); }

        void processBlock (const juce::uint8* block)
        {
            static constexpr juce::uint32 k[64] =
            {
                0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
                0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
                0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
                0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
                0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
                0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
                0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
                0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2
            };

            juce::uint32 w[64];

            for (int i = 0; i < 16; ++i)
                w[i] = ((juce::uint32) block[4 * i] << 24) | ((juce::uint32) block[4 * i + 1] << 16)
                     | ((juce::uint32) block[4 * i + 2] << 8) | (juce::uint32) block[4 * i + 3];

            for (int i = 16; i < 64; ++i)
            {
                const auto s0 = rotr (w[i - 15], 7) ^ rotr (w[i - 15], 18) ^ (w[i - 15] >> 3);
                const auto s1 = rotr (w[i - 2], 17) ^ rotr (w[i - 2], 19) ^ (w[i - 2] >> 10);
                w[i] = w[i - 16] + s0 + w[i - 7] + s1;
            }

            auto a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];

            for (int i = 0; i < 64; ++i)
            {
                const auto s1 = rotr (e, 6) ^ rotr (e, 11) ^ rotr (e, 25);
                const auto ch = (e & f) ^ (~e & g);
                const auto t1 = hh + s1 + ch + k[i] + w[i];
                const auto s0 = rotr (a, 2) ^ rotr (a, 13) ^ rotr (a, 22);
                const auto maj = (a & b) ^ (a & c) ^ (b & c);
                const auto t2 = s0 + maj;

                hh = g; g = f; f = e; e = d + t1;
                d = c; c = b; b = a; a = t1 + t2;
            }

            h[0] += a; h[1] += b; h[2] += c; h[3] += d;
            h[4] += e; h[5] += f; h[6] += g; h[7] += hh;
        }

        std::array<juce::uint32, 8> h { 0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19 };
        std::array<juce::uint8, 64> buffer {};
        size_t bufferUsed = 0;
        juce::uint64 totalBytes = 0;
    };
}

//==============================================================================
struct SimulatedBootloader::State
{
    enum class Stage { waiting, connected, erased };

    juce::CriticalSection lock;
    std::vector<juce::uint8> packet;
    juce::String firstError;
    juce::MemoryBlock image;
    Stage stage = Stage::waiting;
    int expectedBlock = 0;
    int eraseParameter = -1;
    int numConnects = 0, numErases = 0, numBlocks = 0, numResets = 0;

    std::optional<Phase> silentPhase;
    int lastAnsweredBlock = -1;
    std::optional<Phase> wrongPhase;
    juce::uint8 wrongAnswer = 0;
    int unplugBlock = -1;

    void fail (const juce::String& error)
    {
        if (firstError.isEmpty())
            firstError = error;

        packet.clear();
    }

    /** What a complete, well-formed packet makes the device do: the answer to give, if any. */
    std::optional<juce::uint8> handle (const std::vector<juce::uint8>& p, bool& shouldUnplug, bool& didReset)
    {
        const auto command = p[commandOffset];
        const auto parameter = p[commandOffset + 1];

        auto answer = [this] (Phase phase, juce::uint8 code) -> std::optional<juce::uint8>
        {
            if (silentPhase == phase)
                return {};

            if (wrongPhase == phase)
                return wrongAnswer;

            return code;
        };

        switch (command)
        {
            case connectCommand:
                if (parameter != 0)
                {
                    fail ("Connect with parameter " + hex (parameter));
                    return {};
                }

                ++numConnects;
                stage = Stage::connected;
                expectedBlock = 0;
                numBlocks = 0;
                image.reset();
                return answer (Phase::connect, connectCommand);

            case eraseCommand:
                if (stage == Stage::waiting)
                {
                    fail ("Erase before connect");
                    return {};
                }

                ++numErases;
                eraseParameter = parameter;
                stage = Stage::erased;
                return answer (Phase::erase, eraseCommand);

            case writeCommand:
            {
                if (stage != Stage::erased)
                {
                    fail ("Block before erase");
                    return {};
                }

                if (parameter != expectedBlock)
                {
                    fail ("Block " + juce::String (parameter) + " where block " + juce::String (expectedBlock) + " was due");
                    return {};
                }

                if (p[commandOffset + 2] != 0)
                {
                    fail ("Block " + juce::String (parameter) + " with " + hex (p[commandOffset + 2]) + " after its number");
                    return {};
                }

                image.append (p.data() + commandOffset + 3, blockSize);
                const auto block = expectedBlock++;
                ++numBlocks;

                shouldUnplug = (block == unplugBlock);

                if (lastAnsweredBlock >= 0 && block > lastAnsweredBlock)
                    return {};

                return answer (Phase::block, writeCommand);
            }

            case resetCommand:
                if (parameter != 0)
                {
                    fail ("Reset with parameter " + hex (parameter));
                    return {};
                }

                ++numResets;
                stage = Stage::waiting;
                didReset = true;
                return answer (Phase::reset, resetCommand);

            default:
                break;
        }

        return {};
    }
};

//==============================================================================
SimulatedBootloader::SimulatedBootloader (zorvane::VirtualMidiBackend& b, const juce::String& name)
    : state (std::make_unique<State>()), bus (b), portName (name)
{
}

SimulatedBootloader::~SimulatedBootloader()
{
    unplug();
}

void SimulatedBootloader::plugIn()
{
    if (! plugged.exchange (true))
        bus.plugIn (portName, *this);
}

void SimulatedBootloader::unplug()
{
    if (plugged.exchange (false))
        bus.unplug (portName);
}

bool SimulatedBootloader::isPluggedIn() const
{
    return plugged;
}

//==============================================================================
void SimulatedBootloader::setSilentAt (Phase phase)
{
    const juce::ScopedLock sl (state->lock);
    state->silentPhase = phase;
}

void SimulatedBootloader::stopAnsweringAfterBlock (int lastAnsweredBlock)
{
    const juce::ScopedLock sl (state->lock);
    state->lastAnsweredBlock = lastAnsweredBlock;
}

void SimulatedBootloader::answerWrongAt (Phase phase, juce::uint8 answerByte)
{
    const juce::ScopedLock sl (state->lock);
    state->wrongPhase = phase;
    state->wrongAnswer = answerByte;
}

void SimulatedBootloader::unplugAfterBlock (int block)
{
    const juce::ScopedLock sl (state->lock);
    state->unplugBlock = block;
}

void SimulatedBootloader::clearFaults()
{
    const juce::ScopedLock sl (state->lock);
    state->silentPhase.reset();
    state->lastAnsweredBlock = -1;
    state->wrongPhase.reset();
    state->unplugBlock = -1;
}

//==============================================================================
juce::String SimulatedBootloader::getFirstError() const  { const juce::ScopedLock sl (state->lock); return state->firstError; }
juce::MemoryBlock SimulatedBootloader::getImage() const  { const juce::ScopedLock sl (state->lock); return state->image; }
int SimulatedBootloader::getEraseParameter() const       { const juce::ScopedLock sl (state->lock); return state->eraseParameter; }
int SimulatedBootloader::getNumConnects() const          { const juce::ScopedLock sl (state->lock); return state->numConnects; }
int SimulatedBootloader::getNumErases() const            { const juce::ScopedLock sl (state->lock); return state->numErases; }
int SimulatedBootloader::getNumBlocks() const            { const juce::ScopedLock sl (state->lock); return state->numBlocks; }
int SimulatedBootloader::getNumResets() const            { const juce::ScopedLock sl (state->lock); return state->numResets; }

juce::String SimulatedBootloader::getImageSha256() const
{
    const auto image = getImage();
    return sha256 (image.getData(), image.getSize());
}

juce::String SimulatedBootloader::sha256 (const void* data, size_t numBytes)
{
    Sha256 hash;
    hash.update (static_cast<const juce::uint8*> (data), numBytes);
    return hash.finish();
}

//==============================================================================
void SimulatedBootloader::receive (const juce::String&, const juce::MidiMessage& message)
{
    std::optional<juce::uint8> answer;
    auto shouldUnplug = false;
    auto didReset = false;

    {
        const juce::ScopedLock sl (state->lock);
        auto& s = *state;

        const auto* raw = message.getRawData();

        if (message.getRawDataSize() != 3 || raw[0] != 0x9F || raw[1] > 0x0F || raw[2] > 0x0F)
        {
            s.fail ("Not a carrier message: " + juce::String::toHexString (raw, message.getRawDataSize()));
            return;
        }

        const auto byte = (juce::uint8) ((raw[1] << 4) | raw[2]);
        const auto index = s.packet.size();
        s.packet.push_back (byte);

        if (index < preambleLength && byte != 0x55)
        {
            s.fail ("Preamble byte " + juce::String ((int) index) + " is " + hex (byte));
            return;
        }

        if (index >= preambleLength && index < commandOffset && byte != header[index - preambleLength])
        {
            s.fail ("Header byte " + juce::String ((int) (index - preambleLength)) + " is " + hex (byte));
            return;
        }

        if (index == commandOffset
             && byte != connectCommand && byte != eraseCommand && byte != writeCommand && byte != resetCommand)
        {
            s.fail ("Unknown command " + hex (byte));
            return;
        }

        if (s.packet.size() <= commandOffset)
            return;

        const auto length = s.packet[commandOffset] == writeCommand ? dataPacketLength : commandPacketLength;

        if (s.packet.size() < length)
            return;

        const auto complete = std::move (s.packet);
        s.packet.clear();

        unsigned int sum = 0;

        for (size_t i = 0; i + 1 < length; ++i)
            sum += complete[i];

        if ((juce::uint8) (sum & 0xFF) != complete.back())
        {
            s.fail ("Checksum " + hex (complete.back()) + " where " + hex ((juce::uint8) (sum & 0xFF))
                     + " was due, command " + hex (complete[commandOffset]));
            return;
        }

        answer = s.handle (complete, shouldUnplug, didReset);
    }

    // Answering outside our lock: the bus takes its own.
    if (answer.has_value())
        bus.sendToHost (portName, juce::MidiMessage (0x9F, *answer, 0));

    if (shouldUnplug)
        unplug();

    if (didReset && onReset != nullptr)
        onReset();
}
