#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace kolbrith
{
/**
    Brings a stored parameter tree (a host state or a preset) up to date in place
    before it is applied. Each product supplies its own subclass.
*/
class PresetUpdater
{
public:
    virtual ~PresetUpdater() = default;

    /** Migrates the tree in place and returns the same tree handle. */
    virtual juce::ValueTree update (juce::ValueTree& tree) = 0;

    /** Appends a PARAM child with the id and value, whether or not one exists. Being
        last, it is the entry that counts when the state is applied. */
    static void addParam (juce::ValueTree& tree, const juce::String& id, const juce::String& value);

    /** True when a is a strictly newer "x.y.z" version than b, or when either is empty. */
    static bool isVersionNewer (const juce::String& a, const juce::String& b);
};
} // namespace kolbrith
