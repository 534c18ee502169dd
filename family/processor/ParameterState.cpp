#include "ParameterState.h"

namespace kolbrith
{
void replaceParameterState (juce::AudioProcessorValueTreeState& parameters, juce::ValueTree stored)
{
    for (auto* p : parameters.processor.getParameters())
    {
        const auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (p);

        if (parameter == nullptr)
            continue;

        const auto current = parameter->convertFrom0to1 (parameter->getValue());
        bool found = false;

        for (auto entry : stored)
        {
            if (entry.getProperty ("id").toString() != parameter->paramID)
                continue;

            found = true;

            // NaN or infinity from a damaged file would reach the filters as they are.
            if (! std::isfinite ((double) entry.getProperty ("value")))
                entry.setProperty ("value", current, nullptr);
        }

        if (! found)
        {
            juce::ValueTree entry ("PARAM");
            entry.setProperty ("id", parameter->paramID, nullptr);
            entry.setProperty ("value", current, nullptr);
            stored.appendChild (entry, nullptr);
        }
    }

    parameters.replaceState (stored);
}
} // namespace kolbrith
