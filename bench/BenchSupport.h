#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

// What both benchmark programs share: the test signal, a private environment for the
// plug-ins they run, and the way they run Google Benchmark.

namespace orvobench
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int numFrames = 10 * 48000;

/** Ten seconds of pink-ish noise around -12 dBFS, louder and quieter in turns so an
    envelope follower keeps moving. */
inline juce::AudioBuffer<float> makeTestSignal (int channels)
{
    juce::AudioBuffer<float> audio (channels, numFrames);
    juce::Random random (42);

    for (int ch = 0; ch < channels; ++ch)
    {
        float b0 = 0, b1 = 0, b2 = 0;

        for (int i = 0; i < numFrames; ++i)
        {
            const auto white = random.nextFloat() * 2.0f - 1.0f;
            b0 = 0.99765f * b0 + white * 0.0990460f;
            b1 = 0.96300f * b1 + white * 0.2965164f;
            b2 = 0.57000f * b2 + white * 1.0526913f;
            const auto swell = (i / 12000) % 2 == 0 ? 1.0f : 0.3f;
            audio.setSample (ch, i, 0.12f * swell * (b0 + b1 + b2 + white * 0.1848f));
        }
    }

    return audio;
}

/** Points the configuration, home and factory folders at a temporary folder for the
    life of the run: the plug-ins write logs, and JUCE's LV2 hosting also looks in
    ~/.lv2, where an installed Orvo would shadow the build. */
class PrivateEnvironment
{
public:
    PrivateEnvironment()
    {
        folder.createDirectory();
        ::setenv ("XDG_CONFIG_HOME", folder.getFullPathName().toRawUTF8(), 1);
        ::setenv ("HOME", folder.getFullPathName().toRawUTF8(), 1);
        ::setenv ("ORVO_FACTORY_PRESET_DIR", folder.getChildFile ("factory").getFullPathName().toRawUTF8(), 1);
    }

    ~PrivateEnvironment() { folder.deleteRecursively(); }

private:
    juce::File folder = juce::File::createTempFile ("orvo-bench");
};

/** Runs the registered benchmarks as medians of three unless the arguments say otherwise. */
inline void runBenchmarks (int argc, char** argv, benchmark::BenchmarkReporter& reporter)
{
    std::vector<char*> arguments (argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=3", aggregates = "--benchmark_report_aggregates_only=true";
    arguments.insert (arguments.begin() + 1, { repetitions.data(), aggregates.data() });
    auto count = (int) arguments.size();

    benchmark::Initialize (&count, arguments.data());
    benchmark::RunSpecifiedBenchmarks (&reporter);
    benchmark::Shutdown();
}
} // namespace orvobench
