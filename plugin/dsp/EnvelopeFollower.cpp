#include "EnvelopeFollower.h"

#include <cmath>

EnvelopeFollower::EnvelopeFollower() noexcept
{
    prepare (sampleRate);
}

double EnvelopeFollower::coefficientFor (double ms, double rate) noexcept
{
    if (ms == 0.0)
        return 0.0;

    return std::pow (0.01, 1.0 / (ms * rate * 0.001));
}

void EnvelopeFollower::prepare (double newSampleRate) noexcept
{
    sampleRate = (double) (float) newSampleRate;
    attackCoefficient = coefficientFor (attackMs, sampleRate);
    releaseCoefficient = coefficientFor (releaseMs, sampleRate);
}

void EnvelopeFollower::setAttack (double ms) noexcept
{
    attackMs = ms;
    attackCoefficient = coefficientFor (attackMs, sampleRate);
}

void EnvelopeFollower::setRelease (double ms) noexcept
{
    releaseMs = ms;
    releaseCoefficient = coefficientFor (releaseMs, sampleRate);
}
