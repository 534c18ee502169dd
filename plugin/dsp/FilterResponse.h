#pragma once

#include "Biquad.h"

#include <array>
#include <atomic>
#include <cstdint>

/** A band's coefficients and sample rate at one moment: enough to draw its curve. */
struct FilterResponse
{
    std::array<BiquadCoefficients, 2> sections {};
    int numSections = 1;
    double sampleRate = 44100.0;

    /** Linear magnitude of the whole band at a frequency. */
    double getMagnitude (double frequency) const noexcept;
};

/**
    Hands a FilterResponse from the thread that designs the band to readers on other
    threads. A sequence counter makes the reader retry instead of the writer waiting,
    so the audio thread never blocks on the editor.
*/
class PublishedFilterResponse
{
public:
    PublishedFilterResponse() noexcept;

    /** One writer at a time (the band's owner holds the processor's lock). */
    void publish (const FilterResponse& response) noexcept;

    /** A coherent copy, from any thread. */
    FilterResponse read() const noexcept;

private:
    static constexpr std::size_t valuesPerSection = 5;
    static constexpr std::size_t numValues = 2 * valuesPerSection + 2;

    std::atomic<std::uint32_t> sequence { 0 };
    std::array<std::atomic<double>, numValues> values;

    static_assert (std::atomic<double>::is_always_lock_free);
};
