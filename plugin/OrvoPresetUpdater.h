#pragma once

#include "family/processor/PresetUpdater.h"

/**
    Orvo's migration of stored states and presets. Trees older than 0.9.1 gain the
    `enable` and `modpreview` parameters and have `modminimum` rescaled from a 0–1
    fraction to per cent.
*/
class OrvoPresetUpdater : public kolbrith::PresetUpdater
{
public:
    juce::ValueTree update (juce::ValueTree& tree) override;
};
