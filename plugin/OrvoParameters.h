#pragma once

#include <juce_core/juce_core.h>

#include <array>

/** Orvo's twenty parameters, in the order the host sees them. */
enum class OrvoParameter
{
    frequency,
    q,
    gain,
    type,
    attack,
    release,
    modMakeupGain,
    sidechain,
    modEq,
    modFrequency,
    modQ,
    modGain,
    modType,
    midSide,
    modDestination,
    modMinimum,
    inverse,
    output,
    modPreview,
    enable,
    count
};

/** The one table of parameter definitions: every ID, range and display rule lives here. */
struct OrvoParameterInfo
{
    enum class Kind
    {
        linear,
        skewed,
        choice
    };

    enum class ChoiceList
    {
        none,
        filterTypes,
        midSide,
        destinations,
        offOn
    };

    const char* id;
    const char* name;
    Kind kind;
    float minimum;
    float maximum;
    float defaultValue;
    float skew;
    const char* unit;
    int decimalPlaces;
    ChoiceList choices;

    /** The table, indexed by OrvoParameter. */
    static const std::array<OrvoParameterInfo, (size_t) OrvoParameter::count>& all() noexcept;

    static const OrvoParameterInfo& get (OrvoParameter parameter) noexcept { return all()[(size_t) parameter]; }

    /** The parameter with this ID, or OrvoParameter::count for an unknown ID. */
    static OrvoParameter find (const juce::String& parameterID) noexcept;

    /** The texts of a choice list, in index order. */
    static juce::StringArray getChoiceTexts (ChoiceList list);
};
