#include "ProcessorTestHelpers.h"

using namespace orvotest;

namespace
{
/** Runs a constant detector signal long enough for the envelope to settle. */
void settle (DynamicEqAudioProcessor& processor, float left, float right, float sidechain)
{
    auto buffer = makeBuffer (processor, 4800);

    for (int block = 0; block < 5; ++block)
    {
        fillConstant (buffer, 0, left);

        if (buffer.getNumChannels() > 1)
            fillConstant (buffer, 1, right);

        if (buffer.getNumChannels() > 2)
            fillConstant (buffer, 2, sidechain);

        process (processor, buffer);
    }
}
} // namespace

TEST (ModulatorTest, DetectorDrivesTheLiveBandsBetweenMinimumAndNominal)
{
    struct Case
    {
        const char* what;
        int mainChannels, sidechainChannels;
        std::vector<std::pair<const char*, float>> settings;
        float left, right, sidechain;
        double expectedFrequency;
    };

    const Case cases[] = {
        { "silence: 20 Hz", 2, 1, {}, 0.0f, 0.0f, 0.0f, 20.0 },
        { "half scale: half the nominal", 2, 1, {}, 0.5f, 0.5f, 0.0f, 500.0 },
        { "full scale: the nominal", 2, 1, {}, 1.0f, 1.0f, 0.0f, 1000.0 },
        { "hotter than full scale: capped just above the nominal", 2, 1, {}, 4.0f, -4.0f, 0.0f, 1001.0 },
        { "the larger channel counts, sign aside", 2, 1, {}, 0.2f, -0.5f, 0.0f, 500.0 },
        { "mono", 1, 1, {}, 0.25f, 0.0f, 0.0f, 250.0 },
        { "half minimum, silence", 2, 1, { { "modminimum", 50.0f } }, 0.0f, 0.0f, 0.0f, 490.0 },
        { "minimum 100 %: nominal whatever the input", 2, 1, { { "modminimum", 100.0f } }, 0.0f, 0.0f, 0.0f, 1000.0 },
        { "sidechain", 2, 1, { { "sidechain", 1.0f } }, 1.0f, 1.0f, 0.5f, 500.0 },
        { "sidechain on but absent: silence", 2, 0, { { "sidechain", 1.0f } }, 1.0f, 1.0f, 0.0f, 20.0 },
        { "makeup +12 dB lifts -12 dBFS to full scale",
          2,
          1,
          { { "modmakeupgain", 12.0f } },
          0.2512f,
          0.2512f,
          0.0f,
          1000.0 },
        { "flat modulator EQ changes nothing", 2, 1, { { "modeq", 1.0f } }, 0.5f, 0.5f, 0.0f, 500.0 },
        { "inverse: silence gives the nominal", 2, 1, { { "inverse", 1.0f } }, 0.0f, 0.0f, 0.0f, 1000.0 },
        { "inverse: half scale gives an eighth", 2, 1, { { "inverse", 1.0f } }, 0.5f, 0.5f, 0.0f, 125.0 },
    };

    for (const auto& c : cases)
    {
        auto processor = makeProcessor (c.mainChannels, c.sidechainChannels);
        setParameter (*processor, "frequency", 1000.0f);
        setParameter (*processor, "attack", 1.0f);
        setParameter (*processor, "release", 20.0f);

        for (const auto& [id, value] : c.settings)
            setParameter (*processor, id, value);

        settle (*processor, c.left, c.right, c.sidechain);

        const auto nominal = processor->displayBand.getFrequency();
        const auto expected = c.expectedFrequency * nominal / 1000.0; // the skewed range rounds 1000 a little
        EXPECT_NEAR (processor->liveBand.getFrequency(), juce::jmax (20.0, expected), 0.5) << c.what;
        EXPECT_EQ (processor->rightBand.getFrequency(), processor->liveBand.getFrequency()) << c.what;
        EXPECT_NEAR (nominal, 1000.0, 0.1) << c.what << ": the display band is never modulated";
    }
}

TEST (ModulatorTest, GainAndQDestinations)
{
    struct Case
    {
        const char* what;
        float destination, nominal, level;
        bool inverse;
        double expected;
    };

    for (const auto& c : { Case { "gain cut, silence", 2.0f, -12.0f, 0.0f, false, 0.0 },
                           Case { "gain cut, full scale", 2.0f, -12.0f, 1.0f, false, -12.0 },
                           Case { "gain cut inverted, silence", 2.0f, -12.0f, 0.0f, true, -12.0 },
                           Case { "gain cut inverted, full scale", 2.0f, -12.0f, 1.0f, true, 0.0 },
                           Case { "Q, silence", 1.0f, 8.0f, 0.0f, false, 0.1 },
                           Case { "Q, half scale", 1.0f, 8.0f, 0.5f, false, 4.0 } })
    {
        auto processor = makeProcessor();
        setParameter (*processor, "moddestination", c.destination);
        setParameter (*processor, "attack", 0.0f);
        setParameter (*processor, "release", 20.0f);
        setParameter (*processor, "inverse", c.inverse ? 1.0f : 0.0f);
        setParameter (*processor, c.destination == 2.0f ? "gain" : "q", c.nominal);

        settle (*processor, c.level, c.level, 0.0f);

        const auto& band = processor->liveBand;
        const auto actual = c.destination == 2.0f ? band.getGain() : band.getQ();
        EXPECT_NEAR (actual, c.expected, 0.01) << c.what;
    }
}

TEST (ModulatorTest, ModulatedSettingChangesReachOnlyTheDisplayBandUntilTheNextStep)
{
    auto processor = makeProcessor();
    setParameter (*processor, "attack", 0.0f);
    settle (*processor, 0.5f, 0.5f, 0.0f);

    const auto modulated = processor->liveBand.getFrequency();
    setParameter (*processor, "frequency", 2000.0f);

    EXPECT_EQ (processor->liveBand.getFrequency(), modulated);
    EXPECT_NEAR (processor->displayBand.getFrequency(), 2000.0, 0.5);

    // The unmodulated settings go straight to the live bands.
    setParameter (*processor, "gain", -5.0f);
    EXPECT_NEAR (processor->liveBand.getGain(), -5.0, 1e-5);
    EXPECT_NEAR (processor->rightBand.getGain(), -5.0, 1e-5);

    // Moving the modulation elsewhere gives the frequency back its nominal value.
    setParameter (*processor, "moddestination", 1.0f);
    EXPECT_NEAR (processor->liveBand.getFrequency(), 2000.0, 0.5);
    EXPECT_EQ (processor->destination, 1);
}

TEST (ModulatorTest, TypeAndModulatorEqSettingsReachTheirBands)
{
    auto processor = makeProcessor();

    setParameter (*processor, "type", 4.4f);
    for (const auto* band : { &processor->liveBand, &processor->rightBand, &processor->displayBand })
        EXPECT_EQ (band->getType(), FilterType::notch);

    setParameter (*processor, "modtype", 1.0f);
    setParameter (*processor, "modfrequency", 300.0f);
    setParameter (*processor, "modq", 2.0f);
    setParameter (*processor, "modgain", -6.0f);

    for (const auto* band : { &processor->modEqBand, &processor->previewBandLeft, &processor->previewBandRight })
    {
        EXPECT_EQ (band->getType(), FilterType::lowShelf);
        EXPECT_NEAR (band->getFrequency(), 300.0, 0.1);
        EXPECT_NEAR (band->getQ(), 2.0, 1e-4);
        EXPECT_NEAR (band->getGain(), -6.0, 1e-5);
    }

    EXPECT_EQ (processor->liveBand.getType(), FilterType::notch) << "the main band is separate";
}
