#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/**
    The built-in demo material, made in code: a sung "ah" (a glottal-like pulse train
    through vowel formants, with vibrato) with sibilant "s" bursts, over a kick drum.
*/
struct DemoSignal
{
    static constexpr double sampleRate = 48000.0;
    static constexpr double seconds = 8.0;

    static juce::AudioBuffer<float> create();

    /** RMS level in dBFS of the sibilance band (5 to 10 kHz), over all channels. */
    static double sibilanceLevelDb (const juce::AudioBuffer<float>& audio, double rate);
};
