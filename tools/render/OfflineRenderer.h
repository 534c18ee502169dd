#pragma once

#include "RenderOptions.h"
#include "plugin/DynamicEqAudioProcessor.h"

#include <atomic>
#include <functional>

/**
    Runs DynamicEqAudioProcessor over an audio file block by block, as a host would,
    and writes the result. The output goes to a temporary file beside the target and
    replaces it only when everything succeeded.
*/
class OfflineRenderer
{
public:
    struct Levels
    {
        float peak = 0.0f;
        double sumOfSquares = 0.0;
        juce::int64 samples = 0;

        void add (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples);
        double getRms() const { return samples > 0 ? std::sqrt (sumOfSquares / (double) samples) : 0.0; }
    };

    struct Summary
    {
        double seconds = 0.0;
        double sampleRate = 0.0;
        int channels = 0;
        int bitDepth = 0;
        Levels in, out;
        double elapsedSeconds = 0.0;

        /** One line: duration, levels in and out, time taken and speed. */
        juce::String describe() const;
    };

    explicit OfflineRenderer (DynamicEqAudioProcessor& processor);

    /** Applies a library preset by name, or a preset file by path, through the preset library. */
    juce::Result applyPreset (const juce::String& nameOrFile);

    /** Sets each parameter in its own units. */
    void applySettings (const std::vector<RenderOptions::Setting>& settings);

    /** Renders options.input to options.output. progress gets the fraction done after each
        block; a set cancel flag stops the render and leaves no output behind. */
    juce::Result render (const RenderOptions& options, Summary& summary,
                         const std::function<void (double)>& progress = {}, const std::atomic<bool>* cancel = nullptr);

    /** Library presets whose names are close to the text, closest first. */
    juce::StringArray findCloseNames (const juce::String& text) const;

private:
    DynamicEqAudioProcessor& processor;
    juce::AudioFormatManager formats;
};
