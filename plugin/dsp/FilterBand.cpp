#include "FilterBand.h"

#include <algorithm>
#include <cmath>
#include <tuple>

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
    typeOrRateChanged();
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

void FilterBand::configure (FilterType newType, double newSampleRate, double newFrequency, double newQ,
                            double newGainDb) noexcept
{
    type = newType;
    sampleRate = newSampleRate;
    frequency = newFrequency;
    q = newQ;
    gainDb = newGainDb;
    typeOrRateChanged();
    recompute();
}

void FilterBand::typeOrRateChanged() noexcept
{
    fourthOrder = isFourthOrder (type);
    response = responseFor (type);
    maxDesignFrequency = getMaxDesignFrequency (sampleRate);
}

void FilterBand::setType (FilterType newType) noexcept
{
    if (newType != type)
    {
        type = newType;
        typeOrRateChanged();
        recompute();
    }
}

void FilterBand::setFrequency (double newFrequency) noexcept
{
    setSetting (BandSetting::frequency, newFrequency);
}

void FilterBand::setQ (double newQ) noexcept
{
    setSetting (BandSetting::q, newQ);
}

void FilterBand::setGain (double newGainDb) noexcept
{
    setSetting (BandSetting::gain, newGainDb);
}

void FilterBand::setSetting (BandSetting setting, double value) noexcept
{
    if (modulate (setting, value))
        publish();
}

void FilterBand::copyDesignFrom (const FilterBand& other) noexcept
{
    type = other.type;
    frequency = other.frequency;
    q = other.q;
    gainDb = other.gainDb;
    sampleRate = other.sampleRate;
    fourthOrder = other.fourthOrder;
    response = other.response;
    maxDesignFrequency = other.maxDesignFrequency;

    const auto& a = other.sectionA;
    sectionA.setDesign (a.getCoefficients(), a.getResponse(), a.getFrequency(), a.getSampleRate(), a.getQ(),
                        a.getGainDb());

    if (fourthOrder)
    {
        const auto& b = other.sectionB;
        sectionB.setDesign (b.getCoefficients(), b.getResponse(), b.getFrequency(), b.getSampleRate(), b.getQ(),
                            b.getGainDb());
    }

    unpublished = true;
}

void FilterBand::publishIfChanged() noexcept
{
    if (unpublished)
        publish();
}

void FilterBand::recompute (bool publishNow) noexcept
{
    const auto designFrequency = std::min (frequency, maxDesignFrequency);

    // Both sections share the frequency, so they share one sine and cosine, which stay
    // valid while only the Q or the gain moves.
    if (! (designFrequency == cachedFrequency && sampleRate == cachedSampleRate))
    {
        const auto w0 = 6.283185307179586 * designFrequency / sampleRate;
        cachedCos = std::cos (w0);
        cachedSin = std::sin (w0);
        cachedFrequency = designFrequency;
        cachedSampleRate = sampleRate;
    }

    const auto c = cachedCos;
    const auto s = cachedSin;

    if (response == BiquadResponse::peak || response == BiquadResponse::lowShelf
        || response == BiquadResponse::highShelf)
    {
        if (! (gainDb == cachedGainDb))
        {
            cachedA = std::pow (10.0, gainDb / 40.0);
            cachedSqrtA = std::sqrt (cachedA);
            cachedGainDb = gainDb;
        }
    }

    if (fourthOrder)
    {
        if (! (q == cachedQ))
        {
            std::tie (cachedQA, cachedQB) = splitQ (q);
            cachedQ = q;
        }

        BiquadCoefficients designA, designB;
        BiquadCoefficients::designPairFromParts (response, c, s, cachedQA, cachedQB, designA, designB);
        sectionA.setDesign (designA, response, designFrequency, sampleRate, cachedQA, gainDb);
        sectionB.setDesign (designB, response, designFrequency, sampleRate, cachedQB, gainDb);
    }
    else
    {
        sectionA.setDesign (BiquadCoefficients::designFromParts (response, c, s, q, cachedA, cachedSqrtA), response,
                            designFrequency, sampleRate, q, gainDb);
    }

    if (publishNow)
        publish();
    else
        unpublished = true;
}

void FilterBand::publish() noexcept
{
    FilterResponse snapshot;
    snapshot.sections
        = { sectionA.getCoefficients(), fourthOrder ? sectionB.getCoefficients() : BiquadCoefficients {} };
    snapshot.numSections = fourthOrder ? 2 : 1;
    snapshot.sampleRate = sampleRate;
    published.publish (snapshot);
    unpublished = false;
}

double FilterBand::recoverFromNonFinite() noexcept
{
    sectionA.reset();

    if (fourthOrder)
        sectionB.reset();

    return 0.0;
}
