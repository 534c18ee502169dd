#include "DemoSignal.h"

#include "plugin/dsp/FilterBand.h"

#include <cmath>

namespace
{
constexpr double twoPi = 6.283185307179586;

/** One formant: a band pass at a vowel resonance. */
struct Formant
{
    double frequency, q, gain;
};
} // namespace

juce::AudioBuffer<float> DemoSignal::create()
{
    const auto length = (int) (sampleRate * seconds);
    juce::AudioBuffer<float> audio (2, length);
    audio.clear();

    // "ah": formants near 700, 1220 and 2600 Hz.
    const Formant formants[] = { { 700.0, 5.0, 1.0 }, { 1220.0, 6.0, 0.6 }, { 2600.0, 8.0, 0.35 } };
    FilterBand formantBands[3];

    for (size_t f = 0; f < 3; ++f)
        formantBands[f].configure (FilterType::bandPass, sampleRate, formants[f].frequency, formants[f].q, 0.0);

    FilterBand hiss;
    hiss.configure (FilterType::highPass, sampleRate, 5500.0, 0.9, 0.0);

    juce::Random random (2026);
    const double notes[] = { 220.0, 246.94, 261.63, 220.0 };
    double phase = 0.0;

    for (int i = 0; i < length; ++i)
    {
        const auto t = i / sampleRate;
        const auto bar = std::fmod (t, 2.0);
        const auto note = notes[(int) (t / 2.0) % 4];

        // Voice: sharp pulses rich in harmonics, 5 Hz vibrato, phrases of 1.4 s.
        phase += note * (1.0 + 0.006 * std::sin (twoPi * 5.0 * t)) / sampleRate;
        phase -= std::floor (phase);
        const auto pulse = std::pow (0.5 + 0.5 * std::cos (twoPi * phase), 12.0) - 0.16;
        const auto phraseEnvelope = bar < 1.4 ? std::min (1.0, bar * 20.0) * std::min (1.0, (1.4 - bar) * 10.0) : 0.0;

        double voice = 0.0;
        for (size_t f = 0; f < 3; ++f)
            voice += formants[f].gain * formantBands[f].processSample (pulse);

        voice *= 0.9 * phraseEnvelope;

        // "s": bright noise bursts at the end of each phrase and once in its middle.
        const auto sibilant = (bar > 1.40 && bar < 1.62) || (bar > 0.62 && bar < 0.74);
        const auto noise = hiss.processSample (random.nextDouble() * 2.0 - 1.0);
        const auto s
            = sibilant ? 1.2 * noise * std::sin (juce::MathConstants<double>::pi * std::fmod (bar, 0.1) / 0.1) : 0.0;

        // Kick on every beat (120 bpm): a falling sine with a fast decay.
        const auto beat = std::fmod (t, 0.5);
        const auto kick = 0.7 * std::exp (-beat * 18.0)
                          * std::sin (twoPi * (45.0 * beat + 60.0 * (1.0 - std::exp (-beat * 30.0)) / 30.0));

        const auto mono = voice + s;
        audio.setSample (0, i, (float) (0.8 * mono + kick));
        audio.setSample (1, i, (float) (0.7 * mono + kick));
    }

    audio.applyGain (0.8f / std::max (0.001f, audio.getMagnitude (0, length)));
    return audio;
}

double DemoSignal::sibilanceLevelDb (const juce::AudioBuffer<float>& audio, double rate)
{
    double sum = 0.0;
    juce::int64 count = 0;

    for (int ch = 0; ch < audio.getNumChannels(); ++ch)
    {
        FilterBand low, high;
        low.configure (FilterType::highPass, rate, 5000.0, 0.707, 0.0);
        high.configure (FilterType::lowPass, rate, 10000.0, 0.707, 0.0);

        for (int i = 0; i < audio.getNumSamples(); ++i)
        {
            const auto y = high.processSample (low.processSample (audio.getSample (ch, i)));
            sum += y * y;
            ++count;
        }
    }

    const auto rms = count > 0 ? std::sqrt (sum / (double) count) : 0.0;
    return juce::Decibels::gainToDecibels (rms, -150.0);
}
