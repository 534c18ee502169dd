#pragma once

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
        2π·f/fs, A is 10^(gainDb/40) (read by peak and shelves only). Sections that
        share a frequency share c and s, and A is recomputed only when the gain moves. */
    static BiquadCoefficients designFromParts (BiquadResponse response, double c, double s, double q,
                                               double A) noexcept;

    /** Linear magnitude at a frequency; 0 where the expression is not a number. */
    double getMagnitude (double frequency, double sampleRate) const noexcept;

    bool operator== (const BiquadCoefficients& other) const noexcept
    {
        return b0 == other.b0 && b1 == other.b1 && b2 == other.b2 && a1 == other.a1 && a2 == other.a2;
    }
};

/** One second-order section in direct form I, all in double precision. */
class Biquad
{
public:
    /** Recomputes the coefficients; the filter memory is kept. */
    void setup (BiquadResponse newResponse, double newFrequency, double newSampleRate, double newQ,
                double newGainDb) noexcept;

    double processSample (double x) noexcept
    {
        const auto y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
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

    bool hasFiniteMemory() const noexcept;

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
