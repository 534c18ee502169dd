#pragma once

#include "FilterBand.h"

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
    static float map (BandSetting destination, float nominal, float envelope, float minimum) noexcept;

    /** Magnitude of the detector sample that feeds the envelope, capped just above full scale. */
    static double detectorLevel (float x) noexcept
    {
        const auto magnitude = (double) (x < 0.0f ? -x : x);
        return magnitude < 1.001 ? magnitude : 1.001;
    }
};
