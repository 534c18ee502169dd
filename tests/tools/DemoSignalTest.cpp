#include "tools/demo/DemoSignal.h"
#include "tests/TestLibrary.h"
#include "tools/render/OfflineRenderer.h"

#include <gtest/gtest.h>

// The demo is what a new user hears first: its sibilance must be there, and the
// factory de-esser must take it down without flattening the rest.

TEST (DemoSignalTest, FactoryDeEsserTamesTheSibilance)
{
    orvotest::TestLibrary library;
    ::setenv ("ORVO_FACTORY_PRESET_DIR", ORVO_FACTORY_PRESETS_SOURCE, 1);

    auto audio = DemoSignal::create();
    EXPECT_EQ (audio.getNumChannels(), 2);
    EXPECT_NEAR (audio.getMagnitude (0, audio.getNumSamples()), 0.8f, 1e-3f);

    const auto sibilanceBefore = DemoSignal::sibilanceLevelDb (audio, DemoSignal::sampleRate);
    const auto rmsBefore = audio.getRMSLevel (0, 0, audio.getNumSamples());
    EXPECT_GT (sibilanceBefore, -40.0);

    DynamicEqAudioProcessor processor;
    ASSERT_TRUE (OfflineRenderer (processor).applyPreset ("Vocal De-esser").wasOk());

    auto layout = processor.getBusesLayout();
    layout.inputBuses.getReference (1) = juce::AudioChannelSet::disabled();
    ASSERT_TRUE (processor.setBusesLayout (layout));
    processor.prepareToPlay (DemoSignal::sampleRate, 512);

    juce::MidiBuffer midi;

    for (int start = 0; start < audio.getNumSamples(); start += 512)
    {
        juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), 2, start,
                                        std::min (512, audio.getNumSamples() - start));
        processor.processBlock (block, midi);
    }

    const auto reduction = sibilanceBefore - DemoSignal::sibilanceLevelDb (audio, DemoSignal::sampleRate);
    const auto rmsChange = juce::Decibels::gainToDecibels (audio.getRMSLevel (0, 0, audio.getNumSamples()) / rmsBefore);

    EXPECT_GT (reduction, 3.0) << "dB less in the sibilance band";
    EXPECT_GT (rmsChange, -1.5) << "dB overall: the rest of the voice and the kick stay";
}
