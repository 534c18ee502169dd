#include "plugin/dsp/FilterBand.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

namespace
{
constexpr double fs = 48000.0;
constexpr double pi = 3.141592653589793;

double toDb (double magnitude)
{
    return 20.0 * std::log10 (magnitude);
}

/** Steady-state gain of a sine at frequency f through the band, from its RMS over
    a whole number of cycles (f a multiple of 10 Hz). */
double measuredGain (FilterBand& band, double f, double sampleRate)
{
    const auto settle = (int) sampleRate;
    const auto measure = (int) sampleRate / 10;
    double sumOfSquares = 0.0;

    for (int i = 0; i < settle + measure; ++i)
    {
        const auto y = band.processSample (std::sin (2.0 * pi * f * i / sampleRate));

        if (i >= settle)
            sumOfSquares += y * y;
    }

    return std::sqrt (2.0 * sumOfSquares / measure);
}
} // namespace

TEST (FilterBandTest, QSplitKeepsTheProductAndMatchesKnownPairs)
{
    struct Case
    {
        double q, qA, qB;
    };

    for (const auto& c :
         { Case { 0.707, 0.541213, 1.306325 }, Case { 0.5, 0.707107, 0.707107 }, Case { 1.0, 0.517638, 1.931852 },
           Case { 15.0, 0.500069, 29.995832 }, Case { 0.3, 0.707107, 0.424264 } })
    {
        const auto [qA, qB] = FilterBand::splitQ (c.q);
        EXPECT_NEAR (qA, c.qA, 1e-6) << "Q " << c.q;
        EXPECT_NEAR (qB, c.qB, 1e-6) << "Q " << c.q;
        EXPECT_NEAR (qA * qB, c.q, 1e-12) << "Q " << c.q;
    }
}

TEST (FilterBandTest, FourthOrderTypesUseTheSplitPair)
{
    FilterBand band;
    band.configure (FilterType::notch, fs, 1000.0, 0.3, 0.0);

    EXPECT_NEAR (band.getSectionA().getQ(), 0.707107, 1e-6);
    EXPECT_NEAR (band.getSectionB().getQ(), 0.424264, 1e-6);

    band.setType (FilterType::peak);
    EXPECT_DOUBLE_EQ (band.getSectionA().getQ(), 0.3);
}

TEST (FilterBandTest, MagnitudesMatchTheDesign)
{
    struct Case
    {
        const char* what;
        FilterType type;
        double frequency, q, gainDb, probe, expected, tolerance;
    };

    const double sixDb = std::pow (10.0, 6.0 / 20.0);
    const double twelveDb = std::pow (10.0, 12.0 / 20.0);

    const Case cases[] = {
        { "peak +6 dB at its centre", FilterType::peak, 1000, 0.707, 6, 1000, sixDb, 1e-9 },
        { "peak 0 dB is flat", FilterType::peak, 1000, 0.707, 0, 137, 1.0, 1e-12 },
        { "peak 0 dB is flat high up", FilterType::peak, 1000, 4, 0, 15000, 1.0, 1e-12 },
        { "low pass -3.01 dB at the corner", FilterType::lowPass, 1000, 0.707, 0, 1000, 0.707, 1e-9 },
        { "high pass -3.01 dB at the corner", FilterType::highPass, 1000, 0.707, 0, 1000, 0.707, 1e-9 },
        { "band pass unity at the centre, Q 0.3", FilterType::bandPass, 2000, 0.3, 0, 2000, 1.0, 1e-9 },
        { "band pass unity at the centre, Q 10", FilterType::bandPass, 2000, 10, 0, 2000, 1.0, 1e-9 },
        { "notch nothing at the centre", FilterType::notch, 3000, 1, 0, 3000, 0.0, 1e-6 },
        { "low shelf +12 dB low down", FilterType::lowShelf, 1000, 0.707, 12, 10, twelveDb, 0.01 },
        { "low shelf unity near Nyquist", FilterType::lowShelf, 1000, 0.707, 12, 23500, 1.0, 0.01 },
        { "high shelf unity low down", FilterType::highShelf, 1000, 0.707, 12, 10, 1.0, 0.01 },
        { "high shelf +12 dB near Nyquist", FilterType::highShelf, 1000, 0.707, 12, 23500, twelveDb, 0.01 },
    };

    for (const auto& c : cases)
    {
        FilterBand band;
        band.configure (c.type, fs, c.frequency, c.q, c.gainDb);
        EXPECT_NEAR (band.getMagnitude (c.probe), c.expected, c.tolerance) << c.what;
    }
}

TEST (FilterBandTest, LowPassFallsTwentyFourDbPerOctave)
{
    FilterBand band;
    band.configure (FilterType::lowPass, fs, 1000.0, 0.707, 0.0);

    EXPECT_NEAR (toDb (band.getMagnitude (1000.0)), -3.01, 0.01);
    EXPECT_NEAR (toDb (band.getMagnitude (4000.0)) - toDb (band.getMagnitude (2000.0)), -24.0, 1.0);
}

TEST (FilterBandTest, FilteredSinesHaveTheDesignedGain)
{
    struct Case
    {
        FilterType type;
        double gainDb, probe;
    };

    for (const auto& c : { Case { FilterType::peak, 6.0, 1000.0 }, Case { FilterType::lowPass, 0.0, 1000.0 },
                           Case { FilterType::lowPass, 0.0, 3000.0 }, Case { FilterType::highShelf, -9.0, 8000.0 },
                           Case { FilterType::bandPass, 0.0, 700.0 } })
    {
        FilterBand band;
        band.configure (c.type, fs, 1000.0, 0.707, c.gainDb);
        EXPECT_NEAR (measuredGain (band, c.probe, fs), band.getMagnitude (c.probe), 2e-3)
            << "type " << (int) c.type << " at " << c.probe << " Hz";
    }
}

TEST (FilterBandTest, NamesSelectTypesAndUnknownNamesMeanLowPass)
{
    struct Case
    {
        const char* name;
        FilterType type;
    };

    for (const auto& c : { Case { "High pass", FilterType::highPass }, Case { "Low shelf", FilterType::lowShelf },
                           Case { "Band pass", FilterType::bandPass }, Case { "Peak", FilterType::peak },
                           Case { "Notch", FilterType::notch }, Case { "High shelf", FilterType::highShelf },
                           Case { "Low pass", FilterType::lowPass }, Case { "", FilterType::lowPass },
                           Case { "peak", FilterType::lowPass } })
        EXPECT_EQ (FilterBand::typeFromName (c.name), c.type) << '"' << c.name << '"';
}

TEST (FilterBandTest, SettingsChangeKeepsTheFilterMemory)
{
    FilterBand continued, fresh;
    continued.configure (FilterType::lowPass, fs, 500.0, 0.707, 0.0);
    fresh.configure (FilterType::lowPass, fs, 2000.0, 0.707, 0.0);

    for (int i = 0; i < 64; ++i)
        continued.processSample (1.0);

    continued.setFrequency (2000.0);

    // Same coefficients, different history: the outputs differ.
    EXPECT_NE (continued.processSample (1.0), fresh.processSample (1.0));
}

TEST (FilterBandTest, StaysStableAtLowSampleRatesWithTheHighestSettings)
{
    for (const auto rate : { 22050.0, 32000.0, 44100.0 })
    {
        for (auto type : { FilterType::highPass, FilterType::lowShelf, FilterType::bandPass, FilterType::peak,
                           FilterType::notch, FilterType::highShelf, FilterType::lowPass })
        {
            for (const auto q : { 0.1, 15.0 })
            {
                FilterBand band;
                band.configure (type, rate, 20000.0, q, 18.0);

                double peak = 0.0;
                unsigned noise = 1;

                for (int i = 0; i < 20000; ++i)
                {
                    noise = noise * 1664525u + 1013904223u;
                    peak = std::max (peak, std::abs (band.processSample ((double) noise / 4294967296.0 - 0.5)));
                }

                EXPECT_LT (peak, 100.0) << "rate " << rate << " type " << (int) type << " Q " << q;
            }
        }
    }
}

TEST (FilterBandTest, RecoversFromNonFiniteInput)
{
    for (const auto bad : { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() })
    {
        for (auto type : { FilterType::peak, FilterType::lowPass })
        {
            FilterBand band;
            band.configure (type, fs, 1000.0, 0.707, 6.0);

            band.processSample (0.5);
            EXPECT_EQ (band.processSample (bad), 0.0);

            for (int i = 0; i < 16; ++i)
                EXPECT_TRUE (std::isfinite (band.processSample (0.25))) << "sample " << i;
        }
    }
}

TEST (FilterBandTest, ReadersNeverSeeATornResponse)
{
    FilterBand band;
    band.configure (FilterType::peak, fs, 1000.0, 0.707, 6.0);
    const auto peakResponse = band.getResponse();
    band.configure (FilterType::lowPass, fs, 5000.0, 3.0, 0.0);
    const auto lowPassResponse = band.getResponse();

    const auto same = [] (const FilterResponse& a, const FilterResponse& b)
    {
        return a.numSections == b.numSections && a.sampleRate == b.sampleRate && a.sections[0] == b.sections[0]
               && a.sections[1] == b.sections[1];
    };

    ASSERT_FALSE (same (peakResponse, lowPassResponse));

    std::atomic<bool> done { false };
    std::thread writer (
        [&]
        {
            for (int i = 0; i < 200000; ++i)
            {
                if (i % 2 == 0)
                    band.configure (FilterType::peak, fs, 1000.0, 0.707, 6.0);
                else
                    band.configure (FilterType::lowPass, fs, 5000.0, 3.0, 0.0);
            }

            done = true;
        });

    int torn = 0;

    while (! done)
    {
        const auto r = band.getResponse();

        if (! same (r, peakResponse) && ! same (r, lowPassResponse))
            ++torn;
    }

    writer.join();
    EXPECT_EQ (torn, 0);
}
