#pragma once

#include <vector>

/**
    The dynamic equaliser written out plainly from its formulas: every section of every
    band is redesigned at every sample with its own sine, cosine and power of ten. It is
    the reference the engine's speed is measured against and its output is compared to.
*/
class LiteralDynamicEq
{
public:
    struct Settings
    {
        int type = 3; // choice index: 0 high pass … 6 low pass
        double frequency = 5000.0, q = 0.707, gainDb = 0.0;
        double attackMs = 10.0, releaseMs = 100.0;
        float makeupGainDb = 0.0f;
        bool sidechain = false, modEq = false;
        int modType = 3;
        double modFrequency = 5000.0, modQ = 0.707, modGainDb = 0.0;
        int midSide = 2;     // 0 mid, 1 side, 2 all, 3 L, 4 R
        int destination = 0; // 0 frequency, 1 Q, 2 gain
        float minimumPercent = 0.0f;
        bool inverse = false;
        float outputDb = 0.0f;
    };

    LiteralDynamicEq (const Settings& settings, double sampleRate);

    /** Processes in place; right is null for mono, sidechain may be null. */
    void process (float* left, float* right, const float* sidechain, int numSamples);

private:
    struct Section
    {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    };

    struct Band
    {
        int type = 3;
        double frequency = 1000, q = 0.707, gainDb = 0;
        Section a, b;
    };

    void design (Band& band) const;
    double filter (Band& band, double x) const;

    Settings settings;
    double sampleRate;
    Band live, right, modEq;
    double level = 0.0, attackCoefficient = 0.0, releaseCoefficient = 0.0;
};
