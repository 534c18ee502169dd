#pragma once

/**
    Peak follower with separate attack and release. A time is how long the level takes
    to cover 99 % of a step; 0 means the level jumps to the input at once.
*/
class EnvelopeFollower
{
public:
    EnvelopeFollower() noexcept;

    /** Keeps the level; the rate is stored at single precision, as hosts report it. */
    void prepare (double newSampleRate) noexcept;
    void setAttack (double ms) noexcept;
    void setRelease (double ms) noexcept;

    double process (double x) noexcept
    {
        const auto coefficient = x >= level ? attackCoefficient : releaseCoefficient;
        level = coefficient == 0.0 ? x : x + coefficient * (level - x);
        return level;
    }

    /** The smoothing factor for a time in ms at a sample rate. */
    static double coefficientFor (double ms, double sampleRate) noexcept;

    double getLevel() const noexcept { return level; }
    double getAttackCoefficient() const noexcept { return attackCoefficient; }
    double getReleaseCoefficient() const noexcept { return releaseCoefficient; }
    double getSampleRate() const noexcept { return sampleRate; }

private:
    double level = 0.0;
    double attackMs = 10.0;
    double releaseMs = 100.0;
    double attackCoefficient = 0.0;
    double releaseCoefficient = 0.0;
    double sampleRate = 44100.0;
};
