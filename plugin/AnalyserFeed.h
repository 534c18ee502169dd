#pragma once

#include <juce_dsp/juce_dsp.h>

#include <array>
#include <atomic>

/**
    Hands processed samples from the audio thread to the spectrum display. The audio
    thread fills the fifo; every full fifo becomes one block in fftData unless the
    display has not taken the previous one yet, in which case it is dropped.
*/
struct AnalyserFeed
{
    static constexpr int fftOrder = 11;
    static constexpr int fftSize = 1 << fftOrder;

    double sampleRate = 44100.0;
    juce::dsp::FFT fft { fftOrder };
    juce::dsp::WindowingFunction<float> window { (size_t) fftSize, juce::dsp::WindowingFunction<float>::blackman,
                                                 true };
    std::array<float, fftSize> fifo {};
    std::array<float, 2 * fftSize> fftData {};
    int fifoIndex = 0;

    /** Set (release) by the audio thread when fftData holds a new block; the reader
        tests it with acquire and clears it once it has analysed the block. */
    std::atomic<bool> nextBlockReady { false };

    std::array<float, fftSize> scopeData {};
    int minDb = -60;
    int maxDb = 0;

    /** Audio thread only: no allocation, no lock. */
    void pushSample (float sample) noexcept
    {
        if (fifoIndex == fftSize)
        {
            fifoIndex = 0;

            if (! nextBlockReady.load (std::memory_order_acquire))
            {
                std::fill (fftData.begin() + fftSize, fftData.end(), 0.0f);
                std::copy (fifo.begin(), fifo.end(), fftData.begin());
                nextBlockReady.store (true, std::memory_order_release);
            }
        }

        fifo[(size_t) fifoIndex++] = sample;
    }
};
