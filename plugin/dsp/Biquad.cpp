#include "Biquad.h"

#include <cmath>

BiquadCoefficients BiquadCoefficients::design (BiquadResponse response, double f, double fs, double q,
                                               double gainDb) noexcept
{
    const auto w0 = 6.283185307179586 * f / fs;
    const auto usesGain = response == BiquadResponse::peak || response == BiquadResponse::lowShelf
                          || response == BiquadResponse::highShelf;
    const auto A = usesGain ? std::pow (10.0, gainDb / 40.0) : 1.0;
    return designFromParts (response, std::cos (w0), std::sin (w0), q, A, std::sqrt (A));
}

double BiquadCoefficients::getMagnitude (double f, double fs) const noexcept
{
    using Wide = long double;
    const Wide w = 6.283185307179586L * (Wide) f / (Wide) fs;
    const Wide cw = std::cos (w);
    const Wide c2w = std::cos (2.0L * w);

    const Wide B0 = b0, B1 = b1, B2 = b2, A1 = a1, A2 = a2;
    const Wide numerator = B0 * B0 + B1 * B1 + B2 * B2 + 2.0L * (B0 * B1 + B1 * B2) * cw + 2.0L * B0 * B2 * c2w;
    const Wide denominator = 1.0L + A1 * A1 + A2 * A2 + 2.0L * (A1 + A1 * A2) * cw + 2.0L * A2 * c2w;
    const auto magnitude = (double) std::sqrt (numerator / denominator);

    return std::isnan (magnitude) ? 0.0 : magnitude;
}

void Biquad::setup (BiquadResponse newResponse, double newFrequency, double newSampleRate, double newQ,
                    double newGainDb) noexcept
{
    response = newResponse;
    frequency = newFrequency;
    sampleRate = newSampleRate;
    q = newQ;
    gainDb = newGainDb;
    c = BiquadCoefficients::design (response, frequency, sampleRate, q, gainDb);
}
