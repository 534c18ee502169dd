#include "ProcessorTestHelpers.h"
#include "tests/AllocationCounter.h"

#include <limits>

using namespace orvotest;

namespace
{
constexpr int blockSize = 256;
const float minusSixDb = juce::Decibels::decibelsToGain (-6.0f);

/** Stereo or mono processor with a flat band that does not move: gain 0 dB, minimum 100 %. */
std::unique_ptr<DynamicEqAudioProcessor> makeFlatProcessor (int mainChannels)
{
    auto processor = makeProcessor (mainChannels, 1, 48000.0, blockSize);
    setParameter (*processor, "modminimum", 100.0f);
    return processor;
}
} // namespace

TEST (BlockProcessingTest, ChannelRoutingAndOutputGain)
{
    struct Case
    {
        const char* what;
        int channels;
        float midSide;
        // Expected output from the input (l, r) with output gain g, band flat.
        std::function<std::pair<float, float> (float l, float r, float g)> expected;
    };

    const Case cases[] = {
        { "All scales both channels", 2, 2.0f,
          [] (float l, float r, float g) {
              return std::pair { l * g, r * g };
          } },
        { "L scales only the left", 2, 3.0f,
          [] (float l, float r, float g) {
              return std::pair { l * g, r };
          } },
        { "R scales only the right", 2, 4.0f,
          [] (float l, float r, float g) {
              return std::pair { l, r * g };
          } },
        { "Mid scales the mid signal only", 2, 0.0f,
          [] (float l, float r, float g)
          {
              const auto m = (l + r) * 0.5f, s = (l - r) * 0.5f;
              return std::pair { m * g + s, m * g - s };
          } },
        { "Side scales the side signal only", 2, 1.0f,
          [] (float l, float r, float g)
          {
              const auto m = (l + r) * 0.5f, s = (l - r) * 0.5f;
              return std::pair { m + s * g, m - s * g };
          } },
        { "mono bus with mode R still processes its channel", 1, 4.0f,
          [] (float l, float, float g) {
              return std::pair { l * g, 0.0f };
          } },
    };

    for (const auto& c : cases)
    {
        auto processor = makeFlatProcessor (c.channels);
        setParameter (*processor, "midside", c.midSide);
        setParameter (*processor, "output", -6.0f);

        auto buffer = makeBuffer (*processor, blockSize);
        fillSine (buffer, 0, 0.5f, 0.01);

        if (c.channels == 2)
            fillSine (buffer, 1, 0.3f, 0.023);

        const auto input = buffer;
        process (*processor, buffer);

        for (int i = 0; i < blockSize; ++i)
        {
            const auto l = input.getSample (0, i);
            const auto r = c.channels == 2 ? input.getSample (1, i) : 0.0f;
            const auto [expectedLeft, expectedRight] = c.expected (l, r, minusSixDb);

            ASSERT_NEAR (buffer.getSample (0, i), expectedLeft, 1e-6f) << c.what << ", sample " << i;

            if (c.channels == 2)
            {
                ASSERT_NEAR (buffer.getSample (1, i), expectedRight, 1e-6f) << c.what << ", sample " << i;
            }
        }
    }
}

TEST (BlockProcessingTest, MidModeLetsOppositeChannelsThrough)
{
    auto processor = makeFlatProcessor (2);
    setParameter (*processor, "midside", 0.0f);
    setParameter (*processor, "output", -6.0f);

    auto buffer = makeBuffer (*processor, blockSize);
    fillSine (buffer, 0, 0.5f, 0.01);
    fillSine (buffer, 1, -0.5f, 0.01);
    const auto input = buffer;

    process (*processor, buffer);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < blockSize; ++i)
            ASSERT_FLOAT_EQ (buffer.getSample (ch, i), input.getSample (ch, i));
}

TEST (BlockProcessingTest, DefaultSettingsLeaveTheSignalAsItWas)
{
    auto processor = makeProcessor();
    auto buffer = makeBuffer (*processor, blockSize);

    for (int block = 0; block < 8; ++block)
    {
        fillSine (buffer, 0, 0.8f, 0.013, block * blockSize);
        fillSine (buffer, 1, 0.4f, 0.051, block * blockSize);
        const auto input = buffer;

        process (*processor, buffer);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_NEAR (buffer.getSample (ch, i), input.getSample (ch, i), 1e-6f);
    }
}

TEST (BlockProcessingTest, DisabledPassesTheSignalBitForBitAndFreezesTheModulator)
{
    auto processor = makeProcessor();
    setParameter (*processor, "gain", 12.0f);
    setParameter (*processor, "output", 6.0f);
    processor->createEditorIfNeeded();

    auto buffer = makeBuffer (*processor, blockSize);
    fillSine (buffer, 0, 0.9f, 0.01);
    fillSine (buffer, 1, 0.7f, 0.02);
    process (*processor, buffer);

    const auto level = processor->envelope.getLevel();
    const auto frequency = processor->liveBand.getFrequency();
    const auto fifoIndex = processor->analyserFeed.fifoIndex;

    setParameter (*processor, "enable", 0.0f);
    fillSine (buffer, 0, 0.9f, 0.01);
    fillSine (buffer, 1, 0.7f, 0.02);
    fillSine (buffer, 2, 1.0f, 0.03);
    const auto input = buffer;

    process (*processor, buffer);

    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        EXPECT_EQ (std::memcmp (buffer.getReadPointer (ch), input.getReadPointer (ch), sizeof (float) * blockSize), 0);

    EXPECT_EQ (processor->envelope.getLevel(), level);
    EXPECT_EQ (processor->liveBand.getFrequency(), frequency);
    EXPECT_EQ (processor->analyserFeed.fifoIndex, fifoIndex);

    delete processor->getActiveEditor();
}

TEST (BlockProcessingTest, PreviewPlaysTheModulatorSignal)
{
    const auto g = juce::Decibels::decibelsToGain (6.0f);

    struct Case
    {
        const char* what;
        int mainChannels;
        int sidechainChannels;
        bool sidechainOn;
        // Which input channel each output should carry, times the makeup gain.
        int leftSource, rightSource;
    };

    const Case cases[] = {
        { "input, stereo", 2, 1, false, 0, 1 },
        { "sidechain on both channels", 2, 1, true, 2, 2 },
        { "sidechain on but absent: the input", 2, 0, true, 0, 1 },
        { "mono: only the first channel", 1, 1, false, 0, -1 },
    };

    for (const auto& c : cases)
    {
        auto processor = makeProcessor (c.mainChannels, c.sidechainChannels, 48000.0, blockSize);
        setParameter (*processor, "modpreview", 1.0f);
        setParameter (*processor, "modmakeupgain", 6.0f);
        setParameter (*processor, "sidechain", c.sidechainOn ? 1.0f : 0.0f);
        setParameter (*processor, "output", -12.0f); // the preview ignores it

        auto buffer = makeBuffer (*processor, blockSize);

        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            fillSine (buffer, ch, 0.2f + 0.1f * (float) ch, 0.01 * (ch + 1));

        const auto input = buffer;
        const auto levelBefore = processor->envelope.getLevel();
        process (*processor, buffer);

        for (int i = 0; i < blockSize; ++i)
        {
            ASSERT_FLOAT_EQ (buffer.getSample (0, i), input.getSample (c.leftSource, i) * g) << c.what;

            if (c.rightSource >= 0)
            {
                ASSERT_FLOAT_EQ (buffer.getSample (1, i), input.getSample (c.rightSource, i) * g) << c.what;
            }
            else if (buffer.getNumChannels() > 1)
            {
                ASSERT_EQ (buffer.getSample (1, i), input.getSample (1, i)) << c.what << ": sidechain untouched";
            }
        }

        EXPECT_EQ (processor->envelope.getLevel(), levelBefore) << c.what << ": the modulator stands still";
    }
}

TEST (BlockProcessingTest, PreviewWithModulatorEqFiltersEachChannel)
{
    auto processor = makeProcessor (2, 1, 48000.0, blockSize);
    setParameter (*processor, "modpreview", 1.0f);
    setParameter (*processor, "modeq", 1.0f);
    setParameter (*processor, "modtype", 6.0f);
    setParameter (*processor, "modfrequency", 200.0f);

    auto buffer = makeBuffer (*processor, 4096);
    fillSine (buffer, 0, 0.5f, 5000.0 / 48000.0);
    fillSine (buffer, 1, 0.5f, 50.0 / 48000.0);
    process (*processor, buffer);

    const auto tail = [&] (int ch) { return buffer.getMagnitude (ch, 2048, 2048); };
    EXPECT_LT (tail (0), 0.01f) << "5 kHz is far above a 200 Hz low pass";
    EXPECT_GT (tail (1), 0.45f) << "50 Hz passes";
}

TEST (BlockProcessingTest, NonFiniteInputDoesNotPoisonTheOutput)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto inf = std::numeric_limits<float>::infinity();

    struct Case
    {
        const char* what;
        float midSide;
        bool sidechainOn, modEqOn;
        float bad;
    };

    for (const auto& c :
         { Case { "NaN, stereo", 2.0f, false, false, nan }, Case { "NaN, mid", 0.0f, false, true, nan },
           Case { "infinity, side", 1.0f, false, false, inf }, Case { "NaN in the sidechain", 2.0f, true, true, nan } })
    {
        auto processor = makeProcessor();
        setParameter (*processor, "gain", 9.0f);
        setParameter (*processor, "type", 6.0f);
        setParameter (*processor, "midside", c.midSide);
        setParameter (*processor, "sidechain", c.sidechainOn ? 1.0f : 0.0f);
        setParameter (*processor, "modeq", c.modEqOn ? 1.0f : 0.0f);

        auto buffer = makeBuffer (*processor, blockSize);
        fillSine (buffer, 0, 0.5f, 0.01);
        fillSine (buffer, 1, 0.5f, 0.02);
        fillSine (buffer, 2, 0.5f, 0.03);

        for (int i = 0; i < 64; ++i)
            for (int ch = 0; ch < 3; ++ch)
                if (ch == 2 || ! c.sidechainOn)
                    buffer.setSample (ch, i, c.bad);

        process (*processor, buffer);

        for (int block = 0; block < 4; ++block)
        {
            fillSine (buffer, 0, 0.5f, 0.01);
            fillSine (buffer, 1, 0.5f, 0.02);
            fillSine (buffer, 2, 0.5f, 0.03);
            process (*processor, buffer);
        }

        EXPECT_TRUE (std::isfinite (processor->envelope.getLevel())) << c.what;

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_TRUE (std::isfinite (buffer.getSample (ch, i))) << c.what << ", channel " << ch;

        EXPECT_GT (buffer.getMagnitude (0, 0, blockSize), 0.01f) << c.what << ": the band plays again";
    }
}

TEST (BlockProcessingTest, EmptyBlockOnlyUpdatesTheStereoFlag)
{
    auto processor = makeProcessor (1, 1);
    processor->isStereo = true;

    juce::AudioBuffer<float> buffer (2, 0);
    process (*processor, buffer);

    EXPECT_FALSE (processor->isStereo);
    EXPECT_EQ (processor->envelope.getLevel(), 0.0);
}

TEST (BlockProcessingTest, PrepareReconfiguresWithoutClearingHistory)
{
    auto processor = makeProcessor();
    setParameter (*processor, "attack", 0.0f);

    auto buffer = makeBuffer (*processor, blockSize);
    fillConstant (buffer, 0, 0.5f);
    process (*processor, buffer);

    const auto level = processor->envelope.getLevel();
    processor->prepareToPlay (96000.0, 128);

    EXPECT_EQ (processor->envelope.getLevel(), level);
    EXPECT_EQ (processor->currentSampleRate, 96000.0);
    EXPECT_EQ (processor->analyserFeed.sampleRate, 96000.0);

    for (const auto* band : { &processor->liveBand, &processor->rightBand, &processor->displayBand,
                              &processor->modEqBand, &processor->previewBandLeft, &processor->previewBandRight })
        EXPECT_EQ (band->getSampleRate(), 96000.0);

    EXPECT_EQ (processor->envelope.getSampleRate(), 96000.0);
}

TEST (BlockProcessingTest, AudioPathAllocatesNothing)
{
    for (const bool withEditor : { false, true })
    {
        for (const auto& settings : { std::vector<std::pair<const char*, float>> {},
                                      { { "type", 6.0f }, { "midside", 0.0f }, { "modeq", 1.0f } },
                                      { { "moddestination", 2.0f }, { "gain", -9.0f }, { "inverse", 1.0f } },
                                      { { "modpreview", 1.0f }, { "modeq", 1.0f }, { "sidechain", 1.0f } },
                                      { { "enable", 0.0f } } })
        {
            auto processor = makeProcessor();

            if (withEditor)
                processor->createEditorIfNeeded();

            for (const auto& [id, value] : settings)
                setParameter (*processor, id, value);

            auto buffer = makeBuffer (*processor, 512);
            fillSine (buffer, 0, 0.5f, 0.01);
            fillSine (buffer, 1, 0.5f, 0.02);
            fillSine (buffer, 2, 0.5f, 0.03);

            auto* frequency = processor->parameters.getParameter ("frequency");
            juce::MidiBuffer midi;

            const ScopedAllocationCounter allocations;

            for (int block = 0; block < 20; ++block)
            {
                // Host automation arrives on the audio thread between blocks.
                frequency->setValueNotifyingHost ((float) block / 20.0f);
                processor->processBlock (buffer, midi);
            }

            EXPECT_EQ (allocations.getCount(), 0u) << (withEditor ? "editor open" : "no editor");

            delete processor->getActiveEditor();
        }
    }
}

TEST (BlockProcessingTest, BlockSizeDoesNotChangeTheResultEvenPastThePreparedSize)
{
    std::vector<juce::AudioBuffer<float>> results;

    for (const auto blockSize : { 1, 64, 4096 })
    {
        auto processor = makeProcessor (2, 1, 48000.0, 64); // prepared for 64
        setParameter (*processor, "gain", 9.0f);
        setParameter (*processor, "moddestination", 2.0f);
        setParameter (*processor, "modeq", 1.0f);

        auto signal = makeBuffer (*processor, 8192);
        fillSine (signal, 0, 0.7f, 0.013);
        fillSine (signal, 1, 0.4f, 0.031);

        for (int start = 0; start < signal.getNumSamples(); start += blockSize)
        {
            juce::AudioBuffer<float> block (signal.getArrayOfWritePointers(), signal.getNumChannels(), start,
                                            std::min (blockSize, signal.getNumSamples() - start));
            process (*processor, block);
        }

        results.push_back (signal);
    }

    for (size_t r = 1; r < results.size(); ++r)
        for (int ch = 0; ch < 2; ++ch)
            EXPECT_EQ (
                std::memcmp (results[0].getReadPointer (ch), results[r].getReadPointer (ch), sizeof (float) * 8192), 0);
}
