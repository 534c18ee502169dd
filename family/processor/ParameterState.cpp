#include "ParameterState.h"

namespace kolbrith
{
void replaceParameterState (juce::AudioProcessorValueTreeState& parameters, juce::ValueTree stored)
{
    for (auto* p : parameters.processor.getParameters())
    {
        const auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (p);

        if (parameter == nullptr || stored.getChildWithProperty ("id", parameter->paramID).isValid())
            continue;

        juce::ValueTree entry ("PARAM");
        entry.setProperty ("id", parameter->paramID, nullptr);
        entry.setProperty ("value", parameter->convertFrom0to1 (parameter->getValue()), nullptr);
        stored.appendChild (entry, nullptr);
    }

    parameters.replaceState (stored);
}
} // namespace kolbrith
