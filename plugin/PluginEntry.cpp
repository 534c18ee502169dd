#include "DynamicEqAudioProcessor.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new DynamicEqAudioProcessor();
}
