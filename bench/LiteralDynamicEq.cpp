#include "LiteralDynamicEq.h"

#include <algorithm>
#include <cmath>

namespace
{
// Choice index to shape: 0 high pass, 1 low shelf, 2 band pass, 3 peak, 4 notch, 5 high shelf, 6 low pass.
bool isFourthOrder (int type)
{
    return type == 0 || type == 2 || type == 4 || type == 6;
}

double timeCoefficient (double ms, double rate)
{
    return ms == 0.0 ? 0.0 : std::pow (0.01, 1.0 / (ms * rate * 0.001));
}

float decibelsToGain (float db)
{
    return db > -100.0f ? std::pow (10.0f, db * 0.05f) : 0.0f;
}
} // namespace

LiteralDynamicEq::LiteralDynamicEq (const Settings& s, double rate)
    : settings (s)
    , sampleRate (rate)
{
    live.type = right.type = s.type;
    live.frequency = right.frequency = s.frequency;
    live.q = right.q = s.q;
    live.gainDb = right.gainDb = s.gainDb;
    design (live);
    design (right);

    modEq.type = s.modType;
    modEq.frequency = s.modFrequency;
    modEq.q = s.modQ;
    modEq.gainDb = s.modGainDb;
    design (modEq);

    const auto envelopeRate = (double) (float) rate;
    attackCoefficient = timeCoefficient (s.attackMs, envelopeRate);
    releaseCoefficient = timeCoefficient (s.releaseMs, envelopeRate);
}

void LiteralDynamicEq::design (Band& band) const
{
    const auto fourth = isFourthOrder (band.type);
    double qA = band.q, qB = band.q;

    if (fourth)
    {
        if (band.q < 0.5)
        {
            qA = 0.7071067811865476;
            qB = band.q * 1.4142135623730951;
        }
        else
        {
            constexpr auto degrees = 3.141592653589793 / 180.0;
            const auto d = 0.5 * std::acos (1.0 / (2.0 * band.q)) / degrees;
            qA = 1.0 / (2.0 * std::cos ((45.0 - d) * degrees));
            qB = 1.0 / (2.0 * std::cos ((45.0 + d) * degrees));
        }
    }

    const auto f = std::min (band.frequency, 0.49 * sampleRate);

    for (auto* section : { &band.a, &band.b })
    {
        const auto q = section == &band.a ? qA : qB;
        const auto w0 = 6.283185307179586 * f / sampleRate;
        const auto c = std::cos (w0);
        const auto s = std::sin (w0);
        const auto alpha = s / (2.0 * q);
        double b0, b1, b2, a0, a1, a2;

        switch (band.type)
        {
            case 6:
                b0 = (1 - c) / 2;
                b1 = 1 - c;
                b2 = (1 - c) / 2;
                a0 = 1 + alpha;
                a1 = -2 * c;
                a2 = 1 - alpha;
                break;
            case 0:
                b0 = (1 + c) / 2;
                b1 = -(1 + c);
                b2 = (1 + c) / 2;
                a0 = 1 + alpha;
                a1 = -2 * c;
                a2 = 1 - alpha;
                break;
            case 2:
                b0 = alpha;
                b1 = 0;
                b2 = -alpha;
                a0 = 1 + alpha;
                a1 = -2 * c;
                a2 = 1 - alpha;
                break;
            case 4:
                b0 = 1;
                b1 = -2 * c;
                b2 = 1;
                a0 = 1 + alpha;
                a1 = -2 * c;
                a2 = 1 - alpha;
                break;
            case 3:
            {
                const auto A = std::pow (10.0, band.gainDb / 40.0);
                b0 = 1 + alpha * A;
                b1 = -2 * c;
                b2 = 1 - alpha * A;
                a0 = 1 + alpha / A;
                a1 = -2 * c;
                a2 = 1 - alpha / A;
                break;
            }
            case 1:
            {
                const auto A = std::pow (10.0, band.gainDb / 40.0);
                const auto k = std::sqrt (A) * s / q;
                b0 = A * ((A + 1) - (A - 1) * c + k);
                b1 = 2 * A * ((A - 1) - (A + 1) * c);
                b2 = A * ((A + 1) - (A - 1) * c - k);
                a0 = (A + 1) + (A - 1) * c + k;
                a1 = -2 * ((A - 1) + (A + 1) * c);
                a2 = (A + 1) + (A - 1) * c - k;
                break;
            }
            default:
            {
                const auto A = std::pow (10.0, band.gainDb / 40.0);
                const auto k = std::sqrt (A) * s / q;
                b0 = A * ((A + 1) + (A - 1) * c + k);
                b1 = -2 * A * ((A - 1) + (A + 1) * c);
                b2 = A * ((A + 1) + (A - 1) * c - k);
                a0 = (A + 1) - (A - 1) * c + k;
                a1 = 2 * ((A - 1) - (A + 1) * c);
                a2 = (A + 1) - (A - 1) * c - k;
                break;
            }
        }

        section->b0 = b0 / a0;
        section->b1 = b1 / a0;
        section->b2 = b2 / a0;
        section->a1 = a1 / a0;
        section->a2 = a2 / a0;
    }
}

double LiteralDynamicEq::filter (Band& band, double x) const
{
    const auto run = [] (Section& s, double in)
    {
        const auto y = s.b0 * in + s.b1 * s.x1 + s.b2 * s.x2 - s.a1 * s.y1 - s.a2 * s.y2;
        s.x2 = s.x1;
        s.x1 = in;
        s.y2 = s.y1;
        s.y1 = y;
        return y;
    };

    auto y = run (band.a, x);
    return isFourthOrder (band.type) ? run (band.b, y) : y;
}

void LiteralDynamicEq::process (float* left, float* rightChannel, const float* sidechain, int numSamples)
{
    const auto m = settings.minimumPercent / 100.0f;
    const auto makeup = decibelsToGain (settings.makeupGainDb);
    const auto output = decibelsToGain (settings.outputDb);

    for (int i = 0; i < numSamples; ++i)
    {
        float x = 0.0f;

        if (settings.sidechain)
            x = sidechain != nullptr ? sidechain[i] : 0.0f;
        else if (rightChannel == nullptr)
            x = left[i];
        else
            x = std::abs (rightChannel[i]) < std::abs (left[i]) ? left[i] : rightChannel[i];

        if (settings.modEq)
            x = (float) filter (modEq, x);

        x *= makeup;
        const auto detector = std::min ((double) std::abs (x), 1.001);
        const auto coefficient = detector >= level ? attackCoefficient : releaseCoefficient;
        level = coefficient == 0.0 ? detector : detector + coefficient * (level - detector);

        auto e = (float) level;
        if (settings.inverse)
            e = (1.0f - e) * (1.0f - e) * (1.0f - e);

        float v = 0.0f;

        if (settings.destination == 0)
        {
            const auto nominal = (float) settings.frequency;
            const auto lo = m * (nominal - 20.0f);
            v = m == 1.0f ? nominal : std::clamp (lo + e * (nominal - lo), 20.0f, 20000.0f);
            live.frequency = right.frequency = v;
        }
        else if (settings.destination == 1)
        {
            const auto nominal = (float) settings.q;
            const auto lo = m * (nominal - 0.1f);
            v = m == 1.0f ? nominal : std::clamp (lo + e * (nominal - lo), 0.1f, 15.0f);
            live.q = right.q = v;
        }
        else
        {
            const auto nominal = (float) settings.gainDb;
            const auto a = std::abs (nominal);
            const auto lo = m * a;
            v = std::clamp (lo + e * (a - lo), 0.0f, 18.0f);
            v = m == 1.0f ? nominal : (nominal < 0.0f ? -v : v);
            live.gainDb = right.gainDb = v;
        }

        design (live);
        design (right);

        if (rightChannel == nullptr)
        {
            left[i] = (float) filter (live, left[i]) * output;
            continue;
        }

        const auto l = left[i], r = rightChannel[i];

        switch (settings.midSide)
        {
            case 0:
            case 1:
            {
                auto mid = (l + r) * 0.5f, side = (l - r) * 0.5f;

                if (settings.midSide == 0)
                    mid = (float) filter (live, mid) * output;
                else
                    side = (float) filter (live, side) * output;

                left[i] = mid + side;
                rightChannel[i] = mid - side;
                break;
            }
            case 3: left[i] = (float) filter (live, l) * output; break;
            case 4: rightChannel[i] = (float) filter (right, r) * output; break;
            default:
                left[i] = (float) filter (live, l) * output;
                rightChannel[i] = (float) filter (right, r) * output;
                break;
        }
    }
}
