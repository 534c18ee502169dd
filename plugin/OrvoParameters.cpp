#include "OrvoParameters.h"

using Kind = OrvoParameterInfo::Kind;
using Choices = OrvoParameterInfo::ChoiceList;

const std::array<OrvoParameterInfo, (size_t) OrvoParameter::count>& OrvoParameterInfo::all() noexcept
{
    // clang-format off
    static const std::array<OrvoParameterInfo, (size_t) OrvoParameter::count> table { {
        { "frequency",      "Frequency",       Kind::skewed, 20.0f,  20000.0f, 5000.0f, 0.25f, " Hz", 0, Choices::none },
        { "q",              "Q",               Kind::skewed, 0.1f,   15.0f,    0.707f,  0.45f, "",    3, Choices::none },
        { "gain",           "Gain",            Kind::linear, -18.0f, 18.0f,    0.0f,    1.0f,  " dB", 1, Choices::none },
        { "type",           "Type",            Kind::choice, 0.0f,   6.0f,     3.0f,    1.0f,  "",    0, Choices::filterTypes },
        { "attack",         "Attack",          Kind::linear, 0.0f,   100.0f,   10.0f,   1.0f,  " ms", 0, Choices::none },
        { "release",        "Release",         Kind::skewed, 20.0f,  2000.0f,  100.0f,  0.5f,  " ms", 0, Choices::none },
        { "modmakeupgain",  "Mod Makup Gain",  Kind::linear, -12.0f, 12.0f,    0.0f,    1.0f,  " dB", 1, Choices::none },
        { "sidechain",      "Sidechain",       Kind::choice, 0.0f,   1.0f,     0.0f,    1.0f,  "",    0, Choices::offOn },
        { "modeq",          "Mod EQ",          Kind::choice, 0.0f,   1.0f,     0.0f,    1.0f,  "",    0, Choices::offOn },
        { "modfrequency",   "Mod Filter Freq", Kind::skewed, 20.0f,  20000.0f, 5000.0f, 0.25f, " Hz", 0, Choices::none },
        { "modq",           "Mod Filter Q",    Kind::skewed, 0.1f,   15.0f,    0.707f,  0.45f, "",    3, Choices::none },
        { "modgain",        "Mod Filter Gain", Kind::linear, -18.0f, 18.0f,    0.0f,    1.0f,  " dB", 1, Choices::none },
        { "modtype",        "Mod Filter Type", Kind::choice, 0.0f,   6.0f,     3.0f,    1.0f,  "",    0, Choices::filterTypes },
        { "midside",        "Mid/Side Mode",   Kind::choice, 0.0f,   4.0f,     2.0f,    1.0f,  "",    0, Choices::midSide },
        { "moddestination", "Mod Destination", Kind::choice, 0.0f,   2.0f,     0.0f,    1.0f,  "",    0, Choices::destinations },
        { "modminimum",     "Mod Minimum",     Kind::skewed, 0.0f,   100.0f,   0.0f,    0.5f,  "%",   1, Choices::none },
        { "inverse",        "Inverse",         Kind::choice, 0.0f,   1.0f,     0.0f,    1.0f,  "",    0, Choices::offOn },
        { "output",         "Output",          Kind::linear, -18.0f, 18.0f,    0.0f,    1.0f,  " dB", 1, Choices::none },
        { "modpreview",     "Mod Preview",     Kind::choice, 0.0f,   1.0f,     0.0f,    1.0f,  "",    0, Choices::offOn },
        { "enable",         "Enable",          Kind::choice, 0.0f,   1.0f,     1.0f,    1.0f,  "",    0, Choices::offOn },
    } };
    // clang-format on

    return table;
}

OrvoParameter OrvoParameterInfo::find (const juce::String& parameterID) noexcept
{
    const auto& table = all();

    for (size_t i = 0; i < table.size(); ++i)
        if (parameterID == table[i].id)
            return (OrvoParameter) i;

    return OrvoParameter::count;
}

juce::StringArray OrvoParameterInfo::getChoiceTexts (ChoiceList list)
{
    switch (list)
    {
        case Choices::filterTypes:
            return { "High pass", "Low shelf", "Band pass", "Peak", "Notch", "High shelf", "Low pass" };
        case Choices::midSide: return { "Mid", "Side", "All", "L", "R" };
        case Choices::destinations: return { "Freq", "Q", "Gain" };
        case Choices::offOn: return { "Off", "On" };
        case Choices::none: break;
    }

    return {};
}
