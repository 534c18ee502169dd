#pragma once

#include "DividePair.h"

#include <cmath>

/** The shape of one second-order section. */
enum class BiquadResponse
{
    lowPass,
    highPass,
    bandPass,
    notch,
    peak,
    lowShelf,
    highShelf
};

/** Normalised coefficients of one section (already divided by a0). */
struct BiquadCoefficients
{
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;

    /** Designs a section with the cookbook formulas. */
    static BiquadCoefficients design (BiquadResponse response, double frequency, double sampleRate, double q,
                                      double gainDb) noexcept;

    /** The same design from precomputed parts: c and s are the cosine and sine of
        2π·f/fs, A is 10^(gainDb/40) and sqrtA its square root (read by peak and
        shelves only). Sections that
        share a frequency share c and s, and A is recomputed only when the gain moves. */
    static BiquadCoefficients designFromParts (BiquadResponse response, double c, double s, double q, double A,
                                               double sqrtA) noexcept;

    /** Both sections of a fourth-order band (low pass, high pass, band pass, notch), which
        differ only in their Q, designed together. */
    static void designPairFromParts (BiquadResponse response, double c, double s, double qA, double qB,
                                     BiquadCoefficients& sectionA, BiquadCoefficients& sectionB) noexcept;

    /** Linear magnitude at a frequency; 0 where the expression is not a number. */
    double getMagnitude (double frequency, double sampleRate) const noexcept;

    bool operator== (const BiquadCoefficients& other) const noexcept
    {
        return b0 == other.b0 && b1 == other.b1 && b2 == other.b2 && a1 == other.a1 && a2 == other.a2;
    }
};

// Inline: the per-sample modulation path designs through it.
inline BiquadCoefficients BiquadCoefficients::designFromParts (BiquadResponse response, double c, double s, double q,
                                                               double A, double sqrtA) noexcept
{
    // Where two coefficients share a numerator, one division serves both; halving and
    // negation are exact, so every coefficient equals the plain formula's b/a0.
    switch (response)
    {
        case BiquadResponse::lowPass:
        {
            const auto alpha = s / (2.0 * q);
            const auto a0 = 1.0 + alpha;
            const auto b1 = (1.0 - c) / a0;
            return { b1 * 0.5, b1, b1 * 0.5, (-2.0 * c) / a0, (1.0 - alpha) / a0 };
        }

        case BiquadResponse::highPass:
        {
            const auto alpha = s / (2.0 * q);
            const auto a0 = 1.0 + alpha;
            const auto b0 = (1.0 + c) / a0;
            return { b0 * 0.5, -b0, b0 * 0.5, (-2.0 * c) / a0, (1.0 - alpha) / a0 };
        }

        case BiquadResponse::bandPass:
        {
            const auto alpha = s / (2.0 * q);
            const auto a0 = 1.0 + alpha;
            const auto b0 = alpha / a0;
            return { b0, 0.0 / a0, -b0, (-2.0 * c) / a0, (1.0 - alpha) / a0 };
        }

        case BiquadResponse::notch:
        {
            const auto alpha = s / (2.0 * q);
            const auto a0 = 1.0 + alpha;
            const auto b0 = 1.0 / a0;
            const auto a1 = (-2.0 * c) / a0;
            return { b0, a1, b0, a1, (1.0 - alpha) / a0 };
        }

        case BiquadResponse::peak:
        {
            const auto alpha = s / (2.0 * q);
            const auto alphaOverA = alpha / A;
            const auto a0 = 1.0 + alphaOverA;
            BiquadCoefficients k;
            dividePair (1.0 + alpha * A, a0, -2.0 * c, a0, k.b0, k.b1);
            dividePair (1.0 - alpha * A, a0, 1.0 - alphaOverA, a0, k.b2, k.a2);
            k.a1 = k.b1;
            return k;
        }

        case BiquadResponse::lowShelf:
        {
            const auto k = sqrtA * s / q;
            const auto a0 = (A + 1.0) + (A - 1.0) * c + k;
            BiquadCoefficients r;
            dividePair (A * ((A + 1.0) - (A - 1.0) * c + k), a0, 2.0 * A * ((A - 1.0) - (A + 1.0) * c), a0, r.b0, r.b1);
            dividePair (A * ((A + 1.0) - (A - 1.0) * c - k), a0, -2.0 * ((A - 1.0) + (A + 1.0) * c), a0, r.b2, r.a1);
            r.a2 = ((A + 1.0) + (A - 1.0) * c - k) / a0;
            return r;
        }

        case BiquadResponse::highShelf:
        default:
        {
            const auto k = sqrtA * s / q;
            const auto a0 = (A + 1.0) - (A - 1.0) * c + k;
            BiquadCoefficients r;
            dividePair (A * ((A + 1.0) + (A - 1.0) * c + k), a0, -2.0 * A * ((A - 1.0) + (A + 1.0) * c), a0, r.b0,
                        r.b1);
            dividePair (A * ((A + 1.0) + (A - 1.0) * c - k), a0, 2.0 * ((A - 1.0) - (A + 1.0) * c), a0, r.b2, r.a1);
            r.a2 = ((A + 1.0) - (A - 1.0) * c - k) / a0;
            return r;
        }
    }
}

inline void BiquadCoefficients::designPairFromParts (BiquadResponse response, double c, double s, double qA, double qB,
                                                     BiquadCoefficients& a, BiquadCoefficients& b) noexcept
{
    double alphaA, alphaB;
    dividePair (s, 2.0 * qA, s, 2.0 * qB, alphaA, alphaB);
    const auto a0A = 1.0 + alphaA, a0B = 1.0 + alphaB;

    dividePair (-2.0 * c, a0A, -2.0 * c, a0B, a.a1, b.a1);
    dividePair (1.0 - alphaA, a0A, 1.0 - alphaB, a0B, a.a2, b.a2);

    switch (response)
    {
        case BiquadResponse::highPass:
        {
            double nA, nB;
            dividePair (1.0 + c, a0A, 1.0 + c, a0B, nA, nB);
            a.b0 = a.b2 = nA * 0.5;
            a.b1 = -nA;
            b.b0 = b.b2 = nB * 0.5;
            b.b1 = -nB;
            return;
        }

        case BiquadResponse::bandPass:
            dividePair (alphaA, a0A, alphaB, a0B, a.b0, b.b0);
            a.b1 = std::copysign (0.0, a0A);
            b.b1 = std::copysign (0.0, a0B);
            a.b2 = -a.b0;
            b.b2 = -b.b0;
            return;

        case BiquadResponse::notch:
            dividePair (1.0, a0A, 1.0, a0B, a.b0, b.b0);
            a.b2 = a.b0;
            b.b2 = b.b0;
            a.b1 = a.a1;
            b.b1 = b.a1;
            return;

        case BiquadResponse::lowPass:
        case BiquadResponse::peak:
        case BiquadResponse::lowShelf:
        case BiquadResponse::highShelf:
        default:
        {
            double nA, nB;
            dividePair (1.0 - c, a0A, 1.0 - c, a0B, nA, nB);
            a.b0 = a.b2 = nA * 0.5;
            a.b1 = nA;
            b.b0 = b.b2 = nB * 0.5;
            b.b1 = nB;
            return;
        }
    }
}

/** One second-order section in direct form I, all in double precision. */
class Biquad
{
public:
    /** Recomputes the coefficients; the filter memory is kept. */
    void setup (BiquadResponse newResponse, double newFrequency, double newSampleRate, double newQ,
                double newGainDb) noexcept;

    double processSample (double x) noexcept { return processSample (x, c); }

    /** Filters with another section's coefficients and this section's memory. */
    double processSample (double x, const BiquadCoefficients& k) noexcept
    {
        const auto y = k.b0 * x + k.b1 * x1 + k.b2 * x2 - k.a1 * y1 - k.a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    /** Takes coefficients designed elsewhere for these settings. */
    void setDesign (const BiquadCoefficients& coefficients, BiquadResponse newResponse, double newFrequency,
                    double newSampleRate, double newQ, double newGainDb) noexcept
    {
        c = coefficients;
        response = newResponse;
        frequency = newFrequency;
        sampleRate = newSampleRate;
        q = newQ;
        gainDb = newGainDb;
    }

    /** Clears the filter memory. */
    void reset() noexcept { x1 = x2 = y1 = y2 = 0.0; }

    const BiquadCoefficients& getCoefficients() const noexcept { return c; }
    double getMagnitude (double f) const noexcept { return c.getMagnitude (f, sampleRate); }

    BiquadResponse getResponse() const noexcept { return response; }
    double getFrequency() const noexcept { return frequency; }
    double getSampleRate() const noexcept { return sampleRate; }
    double getQ() const noexcept { return q; }
    double getGainDb() const noexcept { return gainDb; }

private:
    BiquadCoefficients c;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    BiquadResponse response = BiquadResponse::peak;
    double frequency = 1000.0, sampleRate = 44100.0, q = 0.7071067811865476, gainDb = 0.0;
};
