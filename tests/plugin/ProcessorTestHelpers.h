#pragma once

#include "plugin/DynamicEqAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvotest
{
/** Sets a parameter in its own units, as a host or the editor would. */
inline void setParameter (DynamicEqAudioProcessor& processor, const juce::String& id, float value)
{
    auto* parameter = processor.parameters.getParameter (id);
    ASSERT_NE (parameter, nullptr) << id;
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

/** A processor with main and sidechain buses of the given sizes (0 disables the sidechain). */
inline std::unique_ptr<DynamicEqAudioProcessor> makeProcessor (int mainChannels = 2, int sidechainChannels = 1,
                                                               double sampleRate = 48000.0, int blockSize = 512)
{
    auto processor = std::make_unique<DynamicEqAudioProcessor>();

    auto layout = processor->getBusesLayout();
    const auto main = juce::AudioChannelSet::canonicalChannelSet (mainChannels);
    layout.inputBuses.getReference (0) = main;
    layout.outputBuses.getReference (0) = main;
    layout.inputBuses.getReference (1)
        = sidechainChannels > 0 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::disabled();
    EXPECT_TRUE (processor->setBusesLayout (layout));

    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);
    return processor;
}

/** The buffer a host hands over: main channels first, then the sidechain. */
inline juce::AudioBuffer<float> makeBuffer (const juce::AudioProcessor& processor, int numSamples)
{
    juce::AudioBuffer<float> buffer (
        juce::jmax (processor.getTotalNumInputChannels(), processor.getTotalNumOutputChannels()), numSamples);
    buffer.clear();
    return buffer;
}

inline void process (juce::AudioProcessor& processor, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
}

/** Fills a channel with a sine of the given amplitude and cycles per sample. */
inline void fillSine (juce::AudioBuffer<float>& buffer, int channel, float amplitude, double cyclesPerSample,
                      int offset = 0)
{
    for (int i = 0; i < buffer.getNumSamples(); ++i)
        buffer.setSample (channel, i,
                          amplitude * (float) std::sin (6.283185307179586 * cyclesPerSample * (i + offset)));
}

inline void fillConstant (juce::AudioBuffer<float>& buffer, int channel, float value)
{
    juce::FloatVectorOperations::fill (buffer.getWritePointer (channel), value, buffer.getNumSamples());
}
} // namespace orvotest
