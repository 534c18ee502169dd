#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** What orvo-render was asked to do, read from its command line. */
struct RenderOptions
{
    enum class Mode
    {
        render,
        help,
        listPresets,
        listParameters
    };

    /** One --set: a parameter and its value in the parameter's own units. */
    struct Setting
    {
        juce::String parameterID;
        float value = 0.0f;
    };

    Mode mode = Mode::render;
    juce::File input, output, sidechain;
    juce::String preset;
    std::vector<Setting> settings;
    int blockSize = 512;

    /** 16, 24 or 32 (float); none keeps the input's depth where the format allows it. */
    std::optional<int> bitDepth;

    /** Reads the arguments (without the program name). On failure the message says
        what is wrong in one line. */
    static std::optional<RenderOptions> parse (const juce::StringArray& arguments, juce::String& error);

    /** Reads "ID=VALUE": IDs of the parameter table, numbers in the parameter's units,
        choices by index or by their text. */
    static std::optional<Setting> parseSetting (const juce::String& text, juce::String& error);

    static juce::String getUsage();
};
