#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace kolbrith
{
/**
    Makes a stored parameter tree the live state. Parameters the tree has no PARAM
    entry for keep their current values (the parameter tree on its own would reset
    them to their defaults), and so do entries whose value is not a finite number.
*/
void replaceParameterState (juce::AudioProcessorValueTreeState& parameters, juce::ValueTree stored);
} // namespace kolbrith
