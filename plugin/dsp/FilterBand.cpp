#include "FilterBand.h"

#include <algorithm>
#include <cmath>

namespace
{
BiquadResponse responseFor (FilterType type) noexcept
{
    switch (type)
    {
        case FilterType::highPass: return BiquadResponse::highPass;
        case FilterType::lowShelf: return BiquadResponse::lowShelf;
        case FilterType::bandPass: return BiquadResponse::bandPass;
        case FilterType::peak: return BiquadResponse::peak;
        case FilterType::notch: return BiquadResponse::notch;
        case FilterType::highShelf: return BiquadResponse::highShelf;
        case FilterType::lowPass: return BiquadResponse::lowPass;
    }

    return BiquadResponse::lowPass;
}
} // namespace

FilterBand::FilterBand() noexcept
{
    recompute();
}

FilterType FilterBand::typeFromName (std::string_view name) noexcept
{
    if (name == "High pass")
        return FilterType::highPass;
    if (name == "Low shelf")
        return FilterType::lowShelf;
    if (name == "Band pass")
        return FilterType::bandPass;
    if (name == "Peak")
        return FilterType::peak;
    if (name == "Notch")
        return FilterType::notch;
    if (name == "High shelf")
        return FilterType::highShelf;

    return FilterType::lowPass;
}

std::pair<double, double> FilterBand::splitQ (double bandQ) noexcept
{
    if (bandQ < 0.5)
        return { 0.7071067811865476, bandQ * 1.4142135623730951 };

    constexpr auto degrees = 3.141592653589793 / 180.0;
    const auto d = 0.5 * std::acos (1.0 / (2.0 * bandQ)) / degrees;

    return { 1.0 / (2.0 * std::cos ((45.0 - d) * degrees)), 1.0 / (2.0 * std::cos ((45.0 + d) * degrees)) };
}

bool FilterBand::isFourthOrder (FilterType t) noexcept
{
    return t == FilterType::lowPass || t == FilterType::highPass || t == FilterType::bandPass || t == FilterType::notch;
}

void FilterBand::configure (FilterType newType, double newSampleRate, double newFrequency, double newQ,
                            double newGainDb) noexcept
{
    type = newType;
    sampleRate = newSampleRate;
    frequency = newFrequency;
    q = newQ;
    gainDb = newGainDb;
    recompute();
}

void FilterBand::setType (FilterType newType) noexcept
{
    type = newType;
    recompute();
}

void FilterBand::setFrequency (double newFrequency) noexcept
{
    frequency = newFrequency;
    recompute();
}

void FilterBand::setQ (double newQ) noexcept
{
    q = newQ;
    recompute();
}

void FilterBand::setGain (double newGainDb) noexcept
{
    gainDb = newGainDb;
    recompute();
}

void FilterBand::setSetting (BandSetting setting, double value) noexcept
{
    switch (setting)
    {
        case BandSetting::frequency: setFrequency (value); break;
        case BandSetting::q: setQ (value); break;
        case BandSetting::gain: setGain (value); break;
    }
}

double FilterBand::getSetting (BandSetting setting) const noexcept
{
    switch (setting)
    {
        case BandSetting::frequency: return frequency;
        case BandSetting::q: return q;
        case BandSetting::gain: return gainDb;
    }

    return frequency;
}

void FilterBand::recompute() noexcept
{
    fourthOrder = isFourthOrder (type);

    const auto response = responseFor (type);
    const auto designFrequency = std::min (frequency, getMaxDesignFrequency (sampleRate));
    const auto [qA, qB] = fourthOrder ? splitQ (q) : std::pair { q, q };

    sectionA.setup (response, designFrequency, sampleRate, qA, gainDb);
    sectionB.setup (response, designFrequency, sampleRate, qB, gainDb);

    FilterResponse snapshot;
    snapshot.sections = { sectionA.getCoefficients(), sectionB.getCoefficients() };
    snapshot.numSections = fourthOrder ? 2 : 1;
    snapshot.sampleRate = sampleRate;
    published.publish (snapshot);
}

double FilterBand::recoverFromNonFinite() noexcept
{
    sectionA.reset();

    if (fourthOrder)
        sectionB.reset();

    return 0.0;
}
