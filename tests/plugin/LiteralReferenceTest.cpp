#include "ProcessorTestHelpers.h"
#include "bench/LiteralDynamicEq.h"

// The engine may compute its coefficients any way it likes, but every output sample
// must equal the plain formulas bit for bit.

using namespace orvotest;

namespace
{
struct Case
{
    int type, destination, midSide = 2;
    bool modEq = false, sidechain = false, inverse = false, mono = false;
    float minimum = 0.0f;
};

void fillTestSignal (juce::AudioBuffer<float>& buffer, int offset)
{
    juce::Random random (offset + 1);

    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const auto t = offset + i;
            const auto burst = (t / 6000) % 3 == 0 ? 0.9f : 0.15f;
            buffer.setSample (ch, i,
                              burst
                                  * (0.6f * (float) std::sin (std::fmod (1.0e-5 * t * t, 6.283) + ch)
                                     + 0.4f * (random.nextFloat() - 0.5f)));
        }
}
} // namespace

TEST (LiteralReferenceTest, EngineOutputEqualsThePlainFormulasBitForBit)
{
    std::vector<Case> cases;

    for (int type = 0; type < 7; ++type)
        for (int destination = 0; destination < 3; ++destination)
            cases.push_back ({ type, destination });

    cases.push_back ({ 3, 2, 0, true, true, false, false, 20.0f });
    cases.push_back ({ 5, 1, 1, true, false, true, false, 50.0f });
    cases.push_back ({ 6, 0, 3, false, false, false, true, 0.0f });
    cases.push_back ({ 1, 0, 4, true, false, true, false, 100.0f });

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("type " + std::to_string (c.type) + ", destination " + std::to_string (c.destination) + ", mode "
                      + std::to_string (c.midSide));

        auto processor = makeProcessor (c.mono ? 1 : 2, 1, 48000.0, 512);
        const std::pair<const char*, float> values[] = {
            { "type", (float) c.type },
            { "moddestination", (float) c.destination },
            { "frequency", 2500.0f },
            { "q", 2.0f },
            { "gain", c.destination == 2 ? -12.0f : 9.0f },
            { "attack", 3.0f },
            { "release", 80.0f },
            { "modmakeupgain", 6.0f },
            { "modeq", c.modEq ? 1.0f : 0.0f },
            { "modtype", 2.0f },
            { "modfrequency", 3000.0f },
            { "sidechain", c.sidechain ? 1.0f : 0.0f },
            { "midside", (float) c.midSide },
            { "modminimum", c.minimum },
            { "inverse", c.inverse ? 1.0f : 0.0f },
            { "output", -3.0f },
        };

        for (const auto& [id, value] : values)
            setParameter (*processor, id, value);

        const auto value = [&] (const char* id) { return processor->parameters.getRawParameterValue (id)->load(); };

        LiteralDynamicEq::Settings settings;
        settings.type = c.type;
        settings.destination = c.destination;
        settings.frequency = value ("frequency");
        settings.q = value ("q");
        settings.gainDb = value ("gain");
        settings.attackMs = value ("attack");
        settings.releaseMs = value ("release");
        settings.makeupGainDb = value ("modmakeupgain");
        settings.modEq = c.modEq;
        settings.modType = 2;
        settings.modFrequency = value ("modfrequency");
        settings.modQ = value ("modq");
        settings.modGainDb = value ("modgain");
        settings.sidechain = c.sidechain;
        settings.midSide = c.midSide;
        settings.minimumPercent = value ("modminimum");
        settings.inverse = c.inverse;
        settings.outputDb = value ("output");

        LiteralDynamicEq literal (settings, 48000.0);
        auto buffer = makeBuffer (*processor, 512);
        juce::AudioBuffer<float> reference (buffer.getNumChannels(), 512);
        int mismatches = 0;

        for (int block = 0; block < 190; ++block) // two seconds
        {
            fillTestSignal (buffer, block * 512);
            reference.makeCopyOf (buffer);

            process (*processor, buffer);
            literal.process (reference.getWritePointer (0), c.mono ? nullptr : reference.getWritePointer (1),
                             reference.getReadPointer (c.mono ? 1 : 2), 512);

            for (int ch = 0; ch < (c.mono ? 1 : 2); ++ch)
                mismatches
                    += std::memcmp (buffer.getReadPointer (ch), reference.getReadPointer (ch), 512 * sizeof (float))
                       != 0;
        }

        EXPECT_EQ (mismatches, 0);
    }
}
