#include "plugin/dsp/ModulationMapping.h"

#include <gtest/gtest.h>

TEST (ModulationMappingTest, SettlesBetweenMinimumAndNominal)
{
    struct Case
    {
        const char* what;
        BandSetting destination;
        float nominal, envelope, minimum, expected;
    };

    const Case cases[] = {
        { "frequency, silence, clamped to 20 Hz", BandSetting::frequency, 1000, 0.0f, 0.0f, 20 },
        { "frequency, half scale", BandSetting::frequency, 1000, 0.5f, 0.0f, 500 },
        { "frequency, full scale", BandSetting::frequency, 1000, 1.0f, 0.0f, 1000 },
        { "frequency, half minimum, silence", BandSetting::frequency, 1000, 0.0f, 0.5f, 490 },
        { "frequency, half minimum, full scale", BandSetting::frequency, 1000, 1.0f, 0.5f, 1000 },
        { "frequency, envelope above full scale", BandSetting::frequency, 20000, 1.001f, 0.0f, 20000 },
        { "Q, silence, clamped to 0.1", BandSetting::q, 4, 0.0f, 0.0f, 0.1f },
        { "Q, half minimum, silence", BandSetting::q, 4.1f, 0.0f, 0.5f, 2.0f },
        { "gain cut, silence", BandSetting::gain, -12, 0.0f, 0.0f, 0 },
        { "gain cut, full scale", BandSetting::gain, -12, 1.0f, 0.0f, -12 },
        { "gain boost, half scale", BandSetting::gain, 12, 0.5f, 0.0f, 6 },
        { "gain cut, half minimum, silence", BandSetting::gain, -12, 0.0f, 0.5f, -6 },
        { "minimum 100 % holds the nominal frequency", BandSetting::frequency, 1000, 0.0f, 1.0f, 1000 },
        { "minimum 100 % holds the nominal gain", BandSetting::gain, -7, 0.3f, 1.0f, -7 },
    };

    for (const auto& c : cases)
        EXPECT_FLOAT_EQ (ModulationMapping::map (c.destination, c.nominal, c.envelope, c.minimum), c.expected)
            << c.what;
}

TEST (ModulationMappingTest, InverseShapesTheEnvelopeAsTheCubeOfItsComplement)
{
    EXPECT_FLOAT_EQ (ModulationMapping::shapeEnvelope (0.0, true), 1.0f);
    EXPECT_FLOAT_EQ (ModulationMapping::shapeEnvelope (1.0, true), 0.0f);
    EXPECT_FLOAT_EQ (ModulationMapping::shapeEnvelope (0.5, true), 0.125f);
    EXPECT_FLOAT_EQ (ModulationMapping::shapeEnvelope (0.5, false), 0.5f);

    // Inverted, silence gives the nominal cut and a full-scale peak none.
    EXPECT_FLOAT_EQ (
        ModulationMapping::map (BandSetting::gain, -12, ModulationMapping::shapeEnvelope (0.0, true), 0.0f), -12.0f);
}

TEST (ModulationMappingTest, DetectorLevelIsTheMagnitudeCappedAboveFullScale)
{
    EXPECT_EQ (ModulationMapping::detectorLevel (-0.5f), 0.5);
    EXPECT_EQ (ModulationMapping::detectorLevel (0.25f), 0.25);
    EXPECT_EQ (ModulationMapping::detectorLevel (-8.0f), 1.001);
}
