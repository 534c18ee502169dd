#pragma once

#include <juce_core/juce_core.h>

namespace kolbrith
{
/** One entry of the preset library, in the library's numbering. */
struct Preset
{
    juce::String name;
    int index = 0;
    bool factory = false;
    juce::String author;
    juce::StringArray categories;
    juce::String path;
    juce::String description;

    /** Splits a categories attribute at commas, trims each item and sorts them by code point. */
    static juce::StringArray parseCategories (const juce::String& text);
};
} // namespace kolbrith
