#include "ProcessorTestHelpers.h"

using namespace orvotest;

TEST (AnalyserFeedTest, HandsOverEachFullFifoAndDropsWhileTheReaderLags)
{
    AnalyserFeed feed;

    for (int i = 0; i < AnalyserFeed::fftSize; ++i)
        feed.pushSample ((float) i);

    EXPECT_FALSE (feed.nextBlockReady) << "a block is offered when the next sample arrives";

    feed.fftData.back() = 99.0f;
    feed.pushSample (-1.0f);
    ASSERT_TRUE (feed.nextBlockReady);
    EXPECT_EQ (feed.fftData[0], 0.0f);
    EXPECT_EQ (feed.fftData[2047], 2047.0f);
    EXPECT_EQ (feed.fftData.back(), 0.0f) << "the second half is cleared for the FFT";
    EXPECT_EQ (feed.fifoIndex, 1);

    // The reader has not taken the block: the next full fifo is dropped.
    for (int i = 0; i < AnalyserFeed::fftSize; ++i)
        feed.pushSample (5.0f);

    EXPECT_EQ (feed.fftData[0], 0.0f);

    feed.nextBlockReady = false;

    for (int i = 0; i < AnalyserFeed::fftSize; ++i)
        feed.pushSample (7.0f);

    // The last dropped fifo's final sample started this one.
    ASSERT_TRUE (feed.nextBlockReady);
    EXPECT_EQ (feed.fftData[0], 5.0f);
    EXPECT_EQ (feed.fftData[1], 7.0f);
    EXPECT_EQ (feed.fftData[2047], 7.0f);
}

TEST (AnalyserFeedTest, WindowIsANormalisedBlackman)
{
    AnalyserFeed feed;
    std::vector<float> ones ((size_t) AnalyserFeed::fftSize, 1.0f);
    feed.window.multiplyWithWindowingTable (ones.data(), ones.size());

    double sum = 0.0;
    for (auto v : ones)
        sum += v;

    EXPECT_NEAR (sum, 2048.0, 0.05);
    EXPECT_NEAR (ones.front(), 0.0f, 1e-6f);
}

TEST (AnalyserFeedTest, ProcessorFeedsTheFirstOutputChannelOnlyWhileAnEditorIsOpen)
{
    auto processor = makeProcessor();
    setParameter (*processor, "output", -6.0f);

    auto buffer = makeBuffer (*processor, 512);
    fillConstant (buffer, 0, 0.5f);
    process (*processor, buffer);
    EXPECT_EQ (processor->analyserFeed.fifoIndex, 0);

    {
        const DynamicEqAudioProcessor::EditorPresence editor (*processor);
        fillConstant (buffer, 0, 0.5f);
        fillConstant (buffer, 1, 0.1f);
        process (*processor, buffer);

        EXPECT_EQ (processor->analyserFeed.fifoIndex, 512);
        EXPECT_NEAR (processor->analyserFeed.fifo[511], 0.5f * juce::Decibels::decibelsToGain (-6.0f), 1e-5f);
    }

    process (*processor, buffer);
    EXPECT_EQ (processor->analyserFeed.fifoIndex, 512);
}
