#pragma once

#include "FilterBand.h"

#include <algorithm>
#include <cmath>

/**
    The modulator's mapping from envelope to band setting, in single precision.
    Silence gives minimum × (nominal − lower limit), a full-scale peak the nominal value.
*/
struct ModulationMapping
{
    /** The envelope as it drives the mapping: inverted is (1 − e)³. */
    static float shapeEnvelope (double level, bool inverse) noexcept
    {
        auto e = (float) level;

        if (inverse)
        {
            const auto rest = 1.0f - e;
            e = rest * rest * rest;
        }

        return e;
    }

    /** The modulated value of a setting whose unmodulated value is nominal. */
    static float map (BandSetting destination, float nominal, float e, float m) noexcept
    {
        if (m == 1.0f)
            return nominal;

        switch (destination)
        {
            case BandSetting::q:
            {
                const auto lo = m * (nominal - 0.1f);
                return std::clamp (lo + e * (nominal - lo), 0.1f, 15.0f);
            }

            case BandSetting::gain:
            {
                const auto a = std::abs (nominal);
                const auto lo = m * a;
                const auto v = std::clamp (lo + e * (a - lo), 0.0f, 18.0f);
                return nominal < 0.0f ? -v : v;
            }

            case BandSetting::frequency:
            default:
            {
                const auto lo = m * (nominal - 20.0f);
                return std::clamp (lo + e * (nominal - lo), 20.0f, 20000.0f);
            }
        }
    }

    /** Magnitude of the detector sample that feeds the envelope, capped just above full scale. */
    static double detectorLevel (float x) noexcept
    {
        const auto magnitude = (double) (x < 0.0f ? -x : x);
        return magnitude < 1.001 ? magnitude : 1.001;
    }
};
