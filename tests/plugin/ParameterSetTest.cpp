#include "ProcessorTestHelpers.h"

namespace
{
struct Expected
{
    const char* id;
    const char* name;
    float minimum, maximum, defaultValue;
    const char* defaultText;
};

// The host-facing contract, written out independently of the parameter table.
const Expected expectedParameters[] = {
    { "frequency", "Frequency", 20, 20000, 5000, "5000 Hz" },
    { "q", "Q", 0.1f, 15, 0.707f, "0.707" },
    { "gain", "Gain", -18, 18, 0, "0.0 dB" },
    { "type", "Type", 0, 6, 3, "Peak" },
    { "attack", "Attack", 0, 100, 10, "10 ms" },
    { "release", "Release", 20, 2000, 100, "100 ms" },
    { "modmakeupgain", "Mod Makup Gain", -12, 12, 0, "0.0 dB" },
    { "sidechain", "Sidechain", 0, 1, 0, "Off" },
    { "modeq", "Mod EQ", 0, 1, 0, "Off" },
    { "modfrequency", "Mod Filter Freq", 20, 20000, 5000, "5000 Hz" },
    { "modq", "Mod Filter Q", 0.1f, 15, 0.707f, "0.707" },
    { "modgain", "Mod Filter Gain", -18, 18, 0, "0.0 dB" },
    { "modtype", "Mod Filter Type", 0, 6, 3, "Peak" },
    { "midside", "Mid/Side Mode", 0, 4, 2, "All" },
    { "moddestination", "Mod Destination", 0, 2, 0, "Freq" },
    { "modminimum", "Mod Minimum", 0, 100, 0, "0.0%" },
    { "inverse", "Inverse", 0, 1, 0, "Off" },
    { "output", "Output", -18, 18, 0, "0.0 dB" },
    { "modpreview", "Mod Preview", 0, 1, 0, "Off" },
    { "enable", "Enable", 0, 1, 1, "On" },
};

juce::RangedAudioParameter& parameter (DynamicEqAudioProcessor& p, const char* id)
{
    return *p.parameters.getParameter (id);
}

juce::String textOf (DynamicEqAudioProcessor& p, const char* id, float value)
{
    auto& param = parameter (p, id);
    return param.getText (param.convertTo0to1 (value), 100);
}
} // namespace

TEST (ParameterSetTest, HostSeesTwentyParametersInOrderWithTheirDefaults)
{
    DynamicEqAudioProcessor processor;
    const auto& params = processor.getParameters();
    ASSERT_EQ (params.size(), 20);

    for (int i = 0; i < params.size(); ++i)
    {
        const auto& e = expectedParameters[i];
        auto* p = dynamic_cast<juce::AudioParameterFloat*> (params[i]);
        ASSERT_NE (p, nullptr) << e.id;

        EXPECT_EQ (p->getParameterID(), e.id);
        EXPECT_EQ (p->getName (100), e.name);
        EXPECT_EQ (p->getVersionHint(), 1) << e.id;
        EXPECT_FLOAT_EQ (p->range.start, e.minimum) << e.id;
        EXPECT_FLOAT_EQ (p->range.end, e.maximum) << e.id;
        EXPECT_EQ (p->range.interval, 0.0f) << e.id;
        EXPECT_FLOAT_EQ (p->get(), e.defaultValue) << e.id;
        EXPECT_EQ (p->getCurrentValueAsText(), e.defaultText) << e.id;
        EXPECT_TRUE (p->isAutomatable()) << e.id;
        EXPECT_FALSE (p->isDiscrete()) << e.id;
        EXPECT_FALSE (p->isBoolean()) << e.id;
        EXPECT_FALSE (p->isMetaParameter()) << e.id;
        EXPECT_EQ (p->getCategory(), juce::AudioProcessorParameter::genericParameter) << e.id;
        EXPECT_EQ (p->getLabel(), "") << e.id;
    }
}

TEST (ParameterSetTest, SkewPutsTheNamedValuesAtMidTravel)
{
    DynamicEqAudioProcessor processor;

    EXPECT_NEAR (parameter (processor, "frequency").convertFrom0to1 (0.5f), 1268.75f, 0.01f);
    EXPECT_NEAR (parameter (processor, "release").convertFrom0to1 (0.5f), 515.0f, 0.01f);
    EXPECT_NEAR (parameter (processor, "modminimum").convertTo0to1 (25.0f), 0.5f, 1e-6f);
    EXPECT_NEAR (parameter (processor, "gain").convertTo0to1 (0.0f), 0.5f, 1e-6f);
}

TEST (ParameterSetTest, DisplayTexts)
{
    DynamicEqAudioProcessor processor;

    struct Case
    {
        const char* id;
        float value;
        const char* text;
    };

    for (const auto& c :
         { Case { "type", 2.4f, "Band pass" }, Case { "type", 2.6f, "Peak" }, Case { "type", 0.0f, "High pass" },
           Case { "modtype", 6.0f, "Low pass" }, Case { "q", 0.1f, "0.100" }, Case { "modq", 15.0f, "15.000" },
           Case { "frequency", 999.6f, "1000 Hz" }, Case { "gain", -18.0f, "-18.0 dB" },
           Case { "modminimum", 25.0f, "25.0%" }, Case { "midside", 3.0f, "L" },
           Case { "moddestination", 1.6f, "Gain" }, Case { "enable", 0.4f, "Off" }, Case { "enable", 0.6f, "On" } })
        EXPECT_EQ (textOf (processor, c.id, c.value), c.text) << c.id << " at " << c.value;
}

TEST (ParameterSetTest, TypedTextIsReadAsANumber)
{
    DynamicEqAudioProcessor processor;

    auto& frequency = parameter (processor, "frequency");
    EXPECT_NEAR (frequency.convertFrom0to1 (frequency.getValueForText ("2500")), 2500.0f, 0.05f);

    // Only numbers are parsed: a choice's name reads as 0, the first choice.
    auto& enable = parameter (processor, "enable");
    EXPECT_EQ (enable.convertFrom0to1 (enable.getValueForText ("On")), 0.0f);
}

TEST (ParameterSetTest, StateTreeIsNamedAfterTheProductWithItsVersion)
{
    DynamicEqAudioProcessor processor;
    const auto& state = processor.parameters.state;

    EXPECT_EQ (state.getType().toString(), "orvo");
    EXPECT_EQ (state.getProperty ("version").toString(), "1.5.4");

    const auto xml = processor.parameters.copyState().createXml();
    ASSERT_NE (xml, nullptr);
    ASSERT_EQ (xml->getNumChildElements(), 20);

    for (int i = 0; i < 20; ++i)
    {
        const auto* child = xml->getChildElement (i);
        EXPECT_TRUE (child->hasTagName ("PARAM"));
        EXPECT_EQ (child->getStringAttribute ("id"), expectedParameters[i].id);
        EXPECT_FLOAT_EQ ((float) child->getDoubleAttribute ("value"), expectedParameters[i].defaultValue);
    }
}

TEST (ParameterSetTest, ChoiceListsAreKeptForTheEditor)
{
    DynamicEqAudioProcessor processor;

    EXPECT_EQ (processor.typeNames.joinIntoString ("|"),
               "High pass|Low shelf|Band pass|Peak|Notch|High shelf|Low pass");
    EXPECT_EQ (processor.destinationNames.joinIntoString ("|"), "Freq|Q|Gain");
    EXPECT_EQ (processor.midSideNames.joinIntoString ("|"), "Mid|Side|All|L|R");
}
