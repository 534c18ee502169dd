#include "BenchSupport.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <benchmark/benchmark.h>

#include <iomanip>
#include <iostream>
#include <map>

// Orvo against a peer single-band dynamic equaliser, both hosted as LV2 plug-ins
// through JUCE in the same run: a peak band whose gain follows the signal, on 10 s of
// pink-ish noise at 48 kHz in blocks of 512. The peer is mono, so both are reported
// per channel.

namespace
{
using namespace orvobench;

const char* const orvoUri = "https://kolbrith.com/plugins/orvo";
const char* const peerUri = "urn:zamaudio:ZamDynamicEQ";

std::unique_ptr<juce::AudioPluginInstance> load (const juce::String& uri)
{
    juce::AudioPluginFormatManager formats;
    auto* format = new juce::LV2PluginFormat();
    formats.addFormat (format);

    // The peer comes from the system folders JUCE always reads; Orvo from the build.
    format->searchPathsForPlugins (
        juce::FileSearchPath (juce::File (ORVO_LV2_BUNDLE).getParentDirectory().getFullPathName()), true, false);

    juce::OwnedArray<juce::PluginDescription> found;
    format->findAllTypesForFile (found, uri);

    if (found.isEmpty())
        return {};

    juce::String error;
    return formats.createPluginInstance (*found[0], sampleRate, blockSize, error);
}

void set (juce::AudioPluginInstance& plugin, const juce::String& name, float normalised)
{
    for (auto* p : plugin.getParameters())
        if (p->getName (100) == name)
            p->setValueNotifyingHost (normalised);
}

/** Processes the whole signal once and returns the largest change the plug-in made. */
float processAll (juce::AudioPluginInstance& plugin, juce::AudioBuffer<float>& buffer, int audioChannels)
{
    const auto source = makeTestSignal (buffer.getNumChannels());
    buffer.makeCopyOf (source);
    juce::MidiBuffer midi;

    for (int start = 0; start < numFrames; start += blockSize)
    {
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start, blockSize);
        plugin.processBlock (block, midi);
    }

    float change = 0.0f;

    for (int ch = 0; ch < audioChannels; ++ch)
        for (int i = 0; i < numFrames; ++i)
            change = std::max (change, std::abs (buffer.getSample (ch, i) - source.getSample (ch, i)));

    return change;
}

void run (benchmark::State& state, const juce::String& uri, int audioChannels, bool modulated = true)
{
    auto plugin = load (uri);

    if (plugin == nullptr)
    {
        state.SkipWithError ((uri + " is not installed").toRawUTF8());
        return;
    }

    // JUCE's LV2 hosting re-creates the plug-in when it is prepared: set parameters after.
    plugin->prepareToPlay (sampleRate, blockSize);

    if (uri == peerUri)
    {
        set (*plugin, "Peak", 1.0f);
        set (*plugin, "Threshold", 0.5f);     // -40 dB
        set (*plugin, "Max Boost/Cut", 1.0f); // 10 dB
    }
    else
    {
        set (*plugin, "Frequency", 0.6f);
        set (*plugin, "Gain", 0.25f);           // -9 dB
        set (*plugin, "Mod Destination", 1.0f); // gain
        set (*plugin, "Mod Minimum", modulated ? 0.0f : 1.0f);
    }

    const auto channels = std::max (plugin->getTotalNumInputChannels(), plugin->getTotalNumOutputChannels());
    juce::AudioBuffer<float> buffer (channels, numFrames);

    if (processAll (*plugin, buffer, audioChannels) < 1.0e-4f && modulated)
    {
        state.SkipWithError ((uri + " does not act on the signal").toRawUTF8());
        return;
    }

    for (auto _ : state)
    {
        state.PauseTiming();
        const auto source = makeTestSignal (channels);
        buffer.makeCopyOf (source);
        state.ResumeTiming();

        juce::MidiBuffer midi;

        for (int start = 0; start < numFrames; start += blockSize)
        {
            juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), channels, start, blockSize);
            plugin->processBlock (block, midi);
        }
    }

    state.counters["ns/channel-sample"]
        = benchmark::Counter ((double) numFrames * audioChannels * (double) state.iterations(),
                              benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["x_realtime/channel"] = benchmark::Counter (
        (double) numFrames * audioChannels / sampleRate * (double) state.iterations(), benchmark::Counter::kIsRate);
}

class PerChannelReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns (const std::vector<Run>& runs) override
    {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                if (const auto it = run.counters.find ("ns/channel-sample"); it != run.counters.end())
                    perChannel[run.run_name.function_name] = it->second.value;

        benchmark::ConsoleReporter::ReportRuns (runs);
    }

    void printRatio() const
    {
        const auto orvo = perChannel.find ("Orvo/LV2/Peak/Gain"), peer = perChannel.find ("Peer/LV2/ZamDynamicEQ");

        if (orvo != perChannel.end() && peer != perChannel.end() && orvo->second > 0.0)
            std::cout << "\npeer / Orvo per channel: " << std::fixed << std::setprecision (2)
                      << peer->second / orvo->second << "x (Orvo " << orvo->second * 1e9 << " ns, peer "
                      << peer->second * 1e9 << " ns per channel sample)\n";
    }

private:
    std::map<std::string, double> perChannel;
};
} // namespace

int main (int argc, char** argv)
{
    const PrivateEnvironment environment;
    const juce::ScopedJuceInitialiser_GUI juce;

    benchmark::RegisterBenchmark ("Orvo/LV2/Peak/Gain", [] (benchmark::State& s) { run (s, orvoUri, 2); })
        ->Unit (benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark ("Orvo/LV2/Peak/Static", [] (benchmark::State& s) { run (s, orvoUri, 2, false); })
        ->Unit (benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark ("Peer/LV2/ZamDynamicEQ", [] (benchmark::State& s) { run (s, peerUri, 1); })
        ->Unit (benchmark::kMillisecond)
        ->UseRealTime();

    PerChannelReporter reporter;
    runBenchmarks (argc, argv, reporter);
    reporter.printRatio();
    return 0;
}
