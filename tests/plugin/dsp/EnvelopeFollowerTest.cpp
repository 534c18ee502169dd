#include "plugin/dsp/EnvelopeFollower.h"

#include <gtest/gtest.h>

TEST (EnvelopeFollowerTest, TimeCoefficientCoversNinetyNinePercentOfAStep)
{
    EXPECT_NEAR (EnvelopeFollower::coefficientFor (10.0, 48000.0), 0.990452, 1e-6);
    EXPECT_EQ (EnvelopeFollower::coefficientFor (0.0, 48000.0), 0.0);

    EnvelopeFollower follower;
    follower.prepare (48000.0);
    follower.setAttack (10.0);

    double level = 0.0;

    for (int i = 0; i < 480; ++i)
        level = follower.process (1.0);

    EXPECT_NEAR (level, 0.99, 1e-9);
}

TEST (EnvelopeFollowerTest, ZeroTimesFollowAtOnce)
{
    EnvelopeFollower follower;
    follower.prepare (48000.0);
    follower.setAttack (0.0);
    follower.setRelease (0.0);

    EXPECT_EQ (follower.process (0.8), 0.8);
    EXPECT_EQ (follower.process (0.1), 0.1);
}

TEST (EnvelopeFollowerTest, AttackAndReleaseUseTheirOwnCoefficients)
{
    EnvelopeFollower follower;
    follower.prepare (48000.0);
    follower.setAttack (1.0);
    follower.setRelease (1000.0);

    for (int i = 0; i < 4800; ++i)
        follower.process (1.0);

    EXPECT_NEAR (follower.getLevel(), 1.0, 1e-9);

    // Ten milliseconds into a one-second release barely moves the level.
    for (int i = 0; i < 480; ++i)
        follower.process (0.0);

    EXPECT_GT (follower.getLevel(), 0.9);
}

TEST (EnvelopeFollowerTest, PrepareKeepsTheLevelAndRoundsTheRateToSinglePrecision)
{
    EnvelopeFollower follower;
    follower.setAttack (0.0);
    follower.process (0.5);

    follower.prepare (44100.0000001);
    EXPECT_EQ (follower.getSampleRate(), (double) (float) 44100.0000001);
    EXPECT_EQ (follower.getLevel(), 0.5);
}
