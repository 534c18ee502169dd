#include "plugin/dsp/Biquad.h"

#include <gtest/gtest.h>

#include <cmath>

TEST (BiquadTest, DirectFormOneMatchesTheDifferenceEquation)
{
    Biquad section;
    section.setup (BiquadResponse::peak, 1000.0, 48000.0, 1.0, 6.0);
    const auto c = section.getCoefficients();

    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    for (int i = 0; i < 32; ++i)
    {
        const auto x = std::sin (i * 0.3);
        const auto expected = c.b0 * x + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = expected;

        EXPECT_EQ (section.processSample (x), expected);
    }
}

TEST (BiquadTest, MagnitudeThatIsNotANumberCountsAsZero)
{
    BiquadCoefficients broken;
    broken.b0 = std::nan ("");
    EXPECT_EQ (broken.getMagnitude (1000.0, 48000.0), 0.0);
}

TEST (BiquadTest, ResetClearsOnlyTheMemory)
{
    Biquad section;
    section.setup (BiquadResponse::lowPass, 1000.0, 48000.0, 0.707, 0.0);
    const auto first = section.processSample (1.0);
    section.processSample (0.5);

    section.reset();
    EXPECT_EQ (section.processSample (1.0), first);
}
