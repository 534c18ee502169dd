#include "tools/render/RenderOptions.h"

#include <gtest/gtest.h>

namespace
{
std::optional<RenderOptions> parse (const juce::String& commandLine, juce::String& error)
{
    auto arguments = juce::StringArray::fromTokens (commandLine, " ", "\"");

    for (auto& argument : arguments)
        argument = argument.unquoted();

    return RenderOptions::parse (arguments, error);
}
} // namespace

TEST (RenderOptionsTest, ReadsAFullCommandLine)
{
    juce::String error;
    const auto options = parse ("in.wav out.flac --preset \"Vocal De-esser\" --set type=Notch --set gain=-6.5 "
                                "--set inverse=1 --sidechain key.wav --block-size 250 --bit-depth 24",
                                error);
    ASSERT_TRUE (options.has_value()) << error;

    EXPECT_EQ (options->mode, RenderOptions::Mode::render);
    EXPECT_EQ (options->input.getFileName(), "in.wav");
    EXPECT_EQ (options->output.getFileName(), "out.flac");
    EXPECT_EQ (options->preset, "Vocal De-esser");
    EXPECT_EQ (options->sidechain.getFileName(), "key.wav");
    EXPECT_EQ (options->blockSize, 250);
    EXPECT_EQ (options->bitDepth, 24);

    ASSERT_EQ (options->settings.size(), 3u);
    EXPECT_EQ (options->settings[0].parameterID, "type");
    EXPECT_EQ (options->settings[0].value, 4.0f);
    EXPECT_EQ (options->settings[1].value, -6.5f);
    EXPECT_EQ (options->settings[2].value, 1.0f);
}

TEST (RenderOptionsTest, ModesAndDefaults)
{
    juce::String error;
    EXPECT_EQ (parse ("--help", error)->mode, RenderOptions::Mode::help);
    EXPECT_EQ (parse ("--list-presets", error)->mode, RenderOptions::Mode::listPresets);
    EXPECT_EQ (parse ("--list-parameters", error)->mode, RenderOptions::Mode::listParameters);

    const auto plain = parse ("a.wav b.wav", error);
    ASSERT_TRUE (plain.has_value());
    EXPECT_EQ (plain->blockSize, 512);
    EXPECT_FALSE (plain->bitDepth.has_value());
    EXPECT_EQ (parse ("a.wav b.wav --bit-depth 32f", error)->bitDepth, 32);
    EXPECT_EQ (parse ("a.wav b.wav --set midside=side", error)->settings[0].value, 1.0f) << "choices ignore case";
}

TEST (RenderOptionsTest, BadCommandLinesSayWhatIsWrong)
{
    struct Case
    {
        const char* commandLine;
        const char* errorContains;
    };

    for (const auto& c :
         { Case { "", "need an INPUT and an OUTPUT" }, Case { "a.wav", "need an INPUT and an OUTPUT" },
           Case { "a.wav b.wav c.wav", "too many file names" },
           Case { "a.wav b.wav --frobnicate", "unknown option \"--frobnicate\"" },
           Case { "a.wav b.wav --set", "--set needs a value" }, Case { "a.wav b.wav --set gain", "needs ID=VALUE" },
           Case { "a.wav b.wav --set volume=3", "unknown parameter \"volume\"; valid IDs: frequency, q" },
           Case { "a.wav b.wav --set gain=30", "value out of range: gain=30 (range -18 to 18 dB)" },
           Case { "a.wav b.wav --set gain=loud", "not a number" },
           Case { "a.wav b.wav --set type=Bell", "unknown choice \"Bell\" for type; choose one of: High pass" },
           Case { "a.wav b.wav --set type=9", "value out of range: type=9" },
           Case { "a.wav b.wav --block-size 0", "--block-size must be a whole number" },
           Case { "a.wav b.wav --block-size 12x", "--block-size must be a whole number" },
           Case { "a.wav b.wav --bit-depth 20", "--bit-depth must be 16, 24 or 32f" } })
    {
        juce::String error;
        EXPECT_FALSE (parse (c.commandLine, error).has_value()) << c.commandLine;
        EXPECT_TRUE (error.contains (c.errorContains)) << c.commandLine << " -> " << error;
        EXPECT_FALSE (error.containsChar ('\n')) << "one line";
    }
}
