#include "ModulationMapping.h"

#include <algorithm>
#include <cmath>

float ModulationMapping::map (BandSetting destination, float nominal, float e, float m) noexcept
{
    if (m == 1.0f)
        return nominal;

    switch (destination)
    {
        case BandSetting::frequency:
        {
            const auto lo = m * (nominal - 20.0f);
            return std::clamp (lo + e * (nominal - lo), 20.0f, 20000.0f);
        }

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
    }

    return nominal;
}
