#pragma once

#include "Biquad.h"
#include "FilterResponse.h"

#include <cmath>
#include <string_view>
#include <utility>

/** The seven band shapes, in the order of the filter-type choice list. */
enum class FilterType
{
    highPass,
    lowShelf,
    bandPass,
    peak,
    notch,
    highShelf,
    lowPass
};

/** The three settings the modulator can move, in the order of the destination choices. */
enum class BandSetting
{
    frequency = 0,
    q = 1,
    gain = 2
};

/**
    One equaliser band: a peak or shelf as one biquad, or a high pass, low pass, band
    pass or notch as two biquads in series with the Q split between them.

    Settings are changed by the thread that owns the band (under the processor's lock);
    getMagnitude() and getResponse() may be called from any thread.
*/
class FilterBand
{
public:
    FilterBand() noexcept;

    /** The type a filter-type name stands for; any unknown name means low pass. */
    static FilterType typeFromName (std::string_view name) noexcept;

    /** The Q pair of a fourth-order type whose product is q. */
    static std::pair<double, double> splitQ (double q) noexcept;

    /** The highest frequency a section is designed at, safely below half the sample rate. */
    static double getMaxDesignFrequency (double sampleRate) noexcept { return 0.49 * sampleRate; }

    static bool isFourthOrder (FilterType t) noexcept
    {
        return t == FilterType::lowPass || t == FilterType::highPass || t == FilterType::bandPass
               || t == FilterType::notch;
    }

    void configure (FilterType newType, double newSampleRate, double newFrequency, double newQ,
                    double newGainDb) noexcept;
    void setType (FilterType newType) noexcept;
    void setFrequency (double newFrequency) noexcept;
    void setQ (double newQ) noexcept;
    void setGain (double newGainDb) noexcept;

    /** Sets or reads the frequency, Q or gain. */
    void setSetting (BandSetting setting, double value) noexcept;

    double getSetting (BandSetting setting) const noexcept
    {
        return setting == BandSetting::q ? q : (setting == BandSetting::gain ? gainDb : frequency);
    }

    /** The audio thread's per-sample path: like setSetting(), but nothing is redesigned
        when the value did not change and the response is published later, by
        publishIfChanged(). Returns whether the design changed. */
    bool modulate (BandSetting setting, double value) noexcept
    {
        auto& current = setting == BandSetting::q ? q : (setting == BandSetting::gain ? gainDb : frequency);

        // The same settings give the same coefficients: nothing to do.
        if (current == value)
            return false;

        current = value;
        recompute (false);
        return true;
    }

    /** Takes another band's settings and coefficients, keeping this band's memory; for a
        band that always has the same settings as another. Published later too. */
    void copyDesignFrom (const FilterBand& other) noexcept;

    /** Publishes the response when the quiet paths above changed it. */
    void publishIfChanged() noexcept;

    /** Filters one sample. A result that is not finite clears the memory and gives 0, so
        one bad input sample cannot silence the band for good. */
    double processSample (double x) noexcept
    {
        auto y = sectionA.processSample (x);

        if (fourthOrder)
            y = sectionB.processSample (y);

        if (! std::isfinite (y))
            return recoverFromNonFinite();

        return y;
    }

    /** Filters one sample with another band's coefficients and this band's memory: a
        band whose settings always equal another's need not copy its design per sample. */
    double processSampleUsing (const FilterBand& design, double x) noexcept
    {
        auto y = sectionA.processSample (x, design.sectionA.getCoefficients());

        if (design.fourthOrder)
            y = sectionB.processSample (y, design.sectionB.getCoefficients());

        if (! std::isfinite (y))
            return recoverFromNonFinite();

        return y;
    }

    /** Linear magnitude at a frequency from the coefficients most recently designed. */
    double getMagnitude (double frequencyHz) const noexcept { return published.read().getMagnitude (frequencyHz); }

    /** A coherent copy of the coefficients, for drawing many points of one curve. */
    FilterResponse getResponse() const noexcept { return published.read(); }

    FilterType getType() const noexcept { return type; }
    double getFrequency() const noexcept { return frequency; }
    double getQ() const noexcept { return q; }
    double getGain() const noexcept { return gainDb; }
    double getSampleRate() const noexcept { return sampleRate; }

    const Biquad& getSectionA() const noexcept { return sectionA; }
    const Biquad& getSectionB() const noexcept { return sectionB; }

private:
    void typeOrRateChanged() noexcept;

    /** Redesigns the sections in use; publishes the response unless told not to. */
    void recompute (bool publishNow = true) noexcept;
    void publish() noexcept;
    double recoverFromNonFinite() noexcept;

    FilterType type = FilterType::peak;
    double frequency = 1000.0;
    double q = 0.707;
    double gainDb = 0.0;
    double sampleRate = 44100.0;
    // Follow the type and the sample rate; kept so the per-sample design need not derive them.
    bool fourthOrder = false;
    BiquadResponse response = BiquadResponse::peak;
    double maxDesignFrequency = getMaxDesignFrequency (44100.0);

    // Parts of the design that change more rarely than the frequency.
    double cachedGainDb = std::nan (""), cachedA = 1.0, cachedSqrtA = 1.0;
    double cachedQ = std::nan (""), cachedQA = 0.0, cachedQB = 0.0;
    double cachedFrequency = std::nan (""), cachedSampleRate = std::nan (""), cachedCos = 1.0, cachedSin = 0.0;

    Biquad sectionA, sectionB;
    PublishedFilterResponse published;
    bool unpublished = false;
};
