#include "BenchSupport.h"
#include "LiteralDynamicEq.h"
#include "plugin/DynamicEqAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <iomanip>
#include <iostream>
#include <map>

// Orvo's per-sample cost: 10 s of pink-ish stereo noise at 48 kHz in blocks of 512,
// reported per stereo frame and as a multiple of realtime, with the ratios that
// matter printed after the table.

namespace
{
using namespace orvobench;

const juce::AudioBuffer<float>& testSignal()
{
    static const auto signal = makeTestSignal (3);
    return signal;
}

struct Setup
{
    const char* name;
    int channels;
    std::vector<std::pair<const char*, float>> parameters;
};

void runProcessor (benchmark::State& state, const Setup& setup)
{
    DynamicEqAudioProcessor processor;
    auto layout = processor.getBusesLayout();
    const auto main = juce::AudioChannelSet::canonicalChannelSet (setup.channels);
    layout.inputBuses.getReference (0) = main;
    layout.outputBuses.getReference (0) = main;
    processor.setBusesLayout (layout);

    for (const auto& [id, value] : setup.parameters)
        if (auto* p = processor.parameters.getParameter (id))
            p->setValueNotifyingHost (p->convertTo0to1 (value));

    processor.prepareToPlay (sampleRate, blockSize);

    const auto channels = setup.channels + 1;
    juce::AudioBuffer<float> buffer (channels, numFrames);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        state.PauseTiming();
        for (int ch = 0; ch < channels; ++ch)
            buffer.copyFrom (ch, 0, testSignal(), ch, 0, numFrames);
        state.ResumeTiming();

        for (int start = 0; start < numFrames; start += blockSize)
        {
            juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), channels, start, blockSize);
            processor.processBlock (block, midi);
        }

        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

    state.counters["ns/frame"] = benchmark::Counter ((double) numFrames * (double) state.iterations(),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["x_realtime"] = benchmark::Counter ((double) numFrames / sampleRate * (double) state.iterations(),
                                                       benchmark::Counter::kIsRate);
}

void runLiteral (benchmark::State& state, int type)
{
    LiteralDynamicEq::Settings settings;
    settings.type = type;
    settings.frequency = 2000.0;
    settings.gainDb = 9.0;

    juce::AudioBuffer<float> buffer (3, numFrames);

    for (auto _ : state)
    {
        state.PauseTiming();
        LiteralDynamicEq literal (settings, sampleRate);
        for (int ch = 0; ch < 3; ++ch)
            buffer.copyFrom (ch, 0, testSignal(), ch, 0, numFrames);
        state.ResumeTiming();

        for (int start = 0; start < numFrames; start += blockSize)
            literal.process (buffer.getWritePointer (0, start), buffer.getWritePointer (1, start),
                             buffer.getReadPointer (2, start), blockSize);

        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

    state.counters["ns/frame"] = benchmark::Counter ((double) numFrames * (double) state.iterations(),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["x_realtime"] = benchmark::Counter ((double) numFrames / sampleRate * (double) state.iterations(),
                                                       benchmark::Counter::kIsRate);
}

void graphFrame (benchmark::State& state)
{
    DynamicEqAudioProcessor processor;
    processor.prepareToPlay (sampleRate, blockSize);
    double sum = 0.0;

    // One frame of the response graph: 555 columns, the static and the live curve.
    for (auto _ : state)
    {
        const auto live = processor.liveBand.getResponse();
        const auto display = processor.displayBand.getResponse();

        for (int column = 0; column < 555; ++column)
        {
            const auto f = 20.0 * std::pow (1000.0, column / 554.0);
            sum += live.getMagnitude (f) + display.getMagnitude (f);
        }
    }

    benchmark::DoNotOptimize (sum);
}

void analyserFrame (benchmark::State& state)
{
    AnalyserFeed feed;
    juce::Random random (3);

    for (auto& v : feed.fftData)
        v = random.nextFloat();

    // One frame of the spectrum: window and a 2048-point magnitude transform.
    for (auto _ : state)
    {
        feed.window.multiplyWithWindowingTable (feed.fftData.data(), (size_t) AnalyserFeed::fftSize);
        feed.fft.performFrequencyOnlyForwardTransform (feed.fftData.data());
        benchmark::DoNotOptimize (feed.fftData.data());
    }
}

const Setup setups[] = {
    { "Static/LowPass", 2, { { "type", 6 }, { "frequency", 2000 }, { "modminimum", 100 } } },
    { "Static/Peak", 2, { { "type", 3 }, { "frequency", 2000 }, { "gain", 9 }, { "modminimum", 100 } } },
    { "Static/HighShelf", 2, { { "type", 5 }, { "frequency", 2000 }, { "gain", 9 }, { "modminimum", 100 } } },
    { "Modulated/LowPass", 2, { { "type", 6 }, { "frequency", 2000 } } },
    { "Modulated/Peak", 2, { { "type", 3 }, { "frequency", 2000 }, { "gain", 9 } } },
    { "Modulated/HighShelf", 2, { { "type", 5 }, { "frequency", 2000 }, { "gain", 9 } } },
    { "Modulated/LowPass/Mono", 1, { { "type", 6 }, { "frequency", 2000 } } },
    { "Modulated/Q/ModEq/Sidechain/Mid",
      2,
      { { "type", 3 }, { "gain", 9 }, { "moddestination", 1 }, { "modeq", 1 }, { "sidechain", 1 }, { "midside", 0 } } },
    { "Modulated/Gain/ModEq/Sidechain/Side",
      2,
      { { "type", 5 },
        { "gain", -9 },
        { "moddestination", 2 },
        { "modeq", 1 },
        { "sidechain", 1 },
        { "midside", 1 } } },
};

/** Keeps each benchmark's median time so the ratios can be printed after the table. */
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns (const std::vector<Run>& runs) override
    {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();

        benchmark::ConsoleReporter::ReportRuns (runs);
    }

    void printRatios() const
    {
        const auto ratio = [this] (const std::string& a, const std::string& b, const char* what)
        {
            const auto ia = medians.find (a), ib = medians.find (b);

            if (ia != medians.end() && ib != medians.end() && ib->second > 0.0)
                std::cout << std::left << std::setw (58) << what << std::fixed << std::setprecision (2)
                          << ia->second / ib->second << "x\n";
        };

        std::cout << "\nRatios (medians of this run)\n";
        ratio ("Modulated/LowPass", "Static/LowPass", "modulated / static, low pass (fourth order)");
        ratio ("Modulated/Peak", "Static/Peak", "modulated / static, peak");
        ratio ("Modulated/HighShelf", "Static/HighShelf", "modulated / static, high shelf");
        ratio ("Literal/LowPass", "Modulated/LowPass", "literal / modulated, low pass");
        ratio ("Literal/Peak", "Modulated/Peak", "literal / modulated, peak");
        ratio ("Literal/HighShelf", "Modulated/HighShelf", "literal / modulated, high shelf");
    }

private:
    std::map<std::string, double> medians;
};
} // namespace

int main (int argc, char** argv)
{
    const PrivateEnvironment environment;
    const juce::ScopedJuceInitialiser_GUI juce;

    for (const auto& setup : setups)
        benchmark::RegisterBenchmark (setup.name, [&setup] (benchmark::State& s) { runProcessor (s, setup); })
            ->Unit (benchmark::kMillisecond)
            ->UseRealTime();

    for (const auto& [name, type] :
         { std::pair { "Literal/LowPass", 6 }, std::pair { "Literal/Peak", 3 }, std::pair { "Literal/HighShelf", 5 } })
        benchmark::RegisterBenchmark (name, [type = type] (benchmark::State& s) { runLiteral (s, type); })
            ->Unit (benchmark::kMillisecond)
            ->UseRealTime();

    benchmark::RegisterBenchmark ("Editor/ResponseGraphFrame", graphFrame)->Unit (benchmark::kMicrosecond);
    benchmark::RegisterBenchmark ("Editor/AnalyserFrame", analyserFrame)->Unit (benchmark::kMicrosecond);

    RatioReporter reporter;
    runBenchmarks (argc, argv, reporter);
    reporter.printRatios();
    return 0;
}
