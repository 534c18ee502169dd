#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include "tests/MessagePump.h"

#include <gtest/gtest.h>

// Loads the built bundles through JUCE's own plug-in hosting, as a DAW would, and
// checks what a host sees. The bundle paths come from the build.

namespace
{
const char* const lv2Uri = "https://kolbrith.com/plugins/orvo";

std::unique_ptr<juce::AudioPluginInstance> loadPlugin (const juce::String& formatName, double sampleRate, int blockSize)
{
    juce::AudioPluginFormatManager formats;
    formats.addDefaultFormats();

    for (auto* format : formats.getFormats())
    {
        if (format->getName() != formatName)
            continue;

        juce::String identifier = ORVO_VST3_BUNDLE;

        if (formatName == "LV2")
        {
            format->searchPathsForPlugins (
                juce::FileSearchPath (juce::File (ORVO_LV2_BUNDLE).getParentDirectory().getFullPathName()), true,
                false);
            identifier = lv2Uri;
        }

        juce::OwnedArray<juce::PluginDescription> descriptions;
        format->findAllTypesForFile (descriptions, identifier);

        if (descriptions.isEmpty())
        {
            ADD_FAILURE() << formatName << ": no plug-in found at " << identifier;
            return {};
        }

        juce::String error;
        auto instance = formats.createPluginInstance (*descriptions[0], sampleRate, blockSize, error);

        if (instance == nullptr)
            ADD_FAILURE() << formatName << ": " << error;

        return instance;
    }

    ADD_FAILURE() << "no " << formatName << " hosting in this build";
    return {};
}

/** The plug-in's own parameters, without anything the wrapper adds for the host. */
juce::Array<juce::AudioProcessorParameter*> ownParameters (juce::AudioPluginInstance& plugin)
{
    juce::Array<juce::AudioProcessorParameter*> result;

    for (auto* p : plugin.getParameters())
        if (p != plugin.getBypassParameter())
            result.add (p);

    return result;
}

juce::AudioProcessorParameter* parameterNamed (juce::AudioPluginInstance& plugin, const juce::String& name)
{
    for (auto* p : ownParameters (plugin))
        if (p->getName (100) == name)
            return p;

    return nullptr;
}

class HostedPluginTest : public ::testing::TestWithParam<const char*>
{
};
} // namespace

TEST_P (HostedPluginTest, ReportsNameParametersBusesAndNoMidi)
{
    const auto plugin = loadPlugin (GetParam(), 48000.0, 512);
    ASSERT_NE (plugin, nullptr);

    EXPECT_EQ (plugin->getName(), "Orvo");
    EXPECT_FALSE (plugin->acceptsMidi());
    EXPECT_FALSE (plugin->producesMidi());
    EXPECT_EQ (plugin->getTailLengthSeconds(), 0.0);
    EXPECT_EQ (plugin->getLatencySamples(), 0);

    struct Expected
    {
        const char* name;
        const char* text;
        float value;
    };

    const Expected expected[] = {
        { "Frequency", "5000 Hz", 5000 },
        { "Q", "0.707", 0.707f },
        { "Gain", "0.0 dB", 0 },
        { "Type", "Peak", 3 },
        { "Attack", "10 ms", 10 },
        { "Release", "100 ms", 100 },
        { "Mod Makup Gain", "0.0 dB", 0 },
        { "Sidechain", "Off", 0 },
        { "Mod EQ", "Off", 0 },
        { "Mod Filter Freq", "5000 Hz", 5000 },
        { "Mod Filter Q", "0.707", 0.707f },
        { "Mod Filter Gain", "0.0 dB", 0 },
        { "Mod Filter Type", "Peak", 3 },
        { "Mid/Side Mode", "All", 2 },
        { "Mod Destination", "Freq", 0 },
        { "Mod Minimum", "0.0%", 0 },
        { "Inverse", "Off", 0 },
        { "Output", "0.0 dB", 0 },
        { "Mod Preview", "Off", 0 },
        { "Enable", "On", 1 },
    };

    const auto params = ownParameters (*plugin);
    ASSERT_EQ (params.size(), 20);

    // LV2 declares its parameters as an unordered set and has no way to carry the
    // plug-in's display texts: there the host lists them by URI and shows numbers.
    const auto isLv2 = juce::String (GetParam()) == "LV2";

    for (int i = 0; i < params.size(); ++i)
    {
        const auto& e = expected[i];
        auto* p = isLv2 ? parameterNamed (*plugin, e.name) : params[i];
        ASSERT_NE (p, nullptr) << GetParam() << " " << e.name;

        EXPECT_EQ (p->getName (100), e.name) << GetParam();
        EXPECT_TRUE (p->isAutomatable()) << GetParam() << " " << e.name;

        if (isLv2)
            EXPECT_NEAR (p->getCurrentValueAsText().getFloatValue(), e.value, 1e-3f) << e.name;
        else
            EXPECT_EQ (p->getCurrentValueAsText(), e.text) << GetParam() << " " << e.name;
    }

    ASSERT_EQ (plugin->getBusCount (true), 2);
    ASSERT_EQ (plugin->getBusCount (false), 1);
    EXPECT_EQ (plugin->getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (plugin->getBus (true, 1)->getName(), "Sidechain");
    EXPECT_EQ (plugin->getBus (false, 0)->getName(), "Output");
}

TEST_P (HostedPluginTest, DefaultsPassTheSignalAndDisabledIsBitExact)
{
    const auto plugin = loadPlugin (GetParam(), 48000.0, 512);
    ASSERT_NE (plugin, nullptr);

    plugin->prepareToPlay (48000.0, 512);

    const auto channels = juce::jmax (plugin->getTotalNumInputChannels(), plugin->getTotalNumOutputChannels());
    juce::AudioBuffer<float> buffer (channels, 512);
    juce::MidiBuffer midi;

    const auto fill = [&] (int block)
    {
        buffer.clear();

        for (int ch = 0; ch < juce::jmin (2, channels); ++ch)
            for (int i = 0; i < 512; ++i)
                buffer.setSample (ch, i, 0.5f * (float) std::sin (0.05 * (block * 512 + i) * (ch + 1)));
    };

    for (int block = 0; block < 4; ++block)
    {
        fill (block);
        const auto input = buffer;
        plugin->processBlock (buffer, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 512; ++i)
                ASSERT_NEAR (buffer.getSample (ch, i), input.getSample (ch, i), 1e-5f) << GetParam();
    }

    auto* enable = parameterNamed (*plugin, "Enable");
    auto* gain = parameterNamed (*plugin, "Gain");
    ASSERT_NE (enable, nullptr);
    ASSERT_NE (gain, nullptr);

    enable->setValueNotifyingHost (0.0f);
    gain->setValueNotifyingHost (1.0f); // +18 dB, which must not be heard

    // The parameter reaches LV2 plug-ins with the next block.
    fill (4);
    plugin->processBlock (buffer, midi);

    fill (5);
    const auto input = buffer;
    plugin->processBlock (buffer, midi);

    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (std::memcmp (buffer.getReadPointer (ch), input.getReadPointer (ch), 512 * sizeof (float)), 0)
            << GetParam();

    plugin->releaseResources();
}

/** Runs one block, which is when LV2 plug-ins receive parameter changes. */
static void processOneBlock (juce::AudioPluginInstance& plugin)
{
    juce::AudioBuffer<float> buffer (juce::jmax (plugin.getTotalNumInputChannels(), plugin.getTotalNumOutputChannels()),
                                     512);
    buffer.clear();
    juce::MidiBuffer midi;
    plugin.processBlock (buffer, midi);
}

TEST_P (HostedPluginTest, StateRoundTripRestoresEveryParameter)
{
    const auto source = loadPlugin (GetParam(), 48000.0, 512);
    ASSERT_NE (source, nullptr);
    source->prepareToPlay (48000.0, 512);

    const auto params = ownParameters (*source);

    for (int i = 0; i < params.size(); ++i)
        params[i]->setValueNotifyingHost ((float) ((i * 37) % 101) / 100.0f);

    processOneBlock (*source);

    juce::MemoryBlock state;
    source->getStateInformation (state);

    const auto restored = loadPlugin (GetParam(), 48000.0, 512);
    ASSERT_NE (restored, nullptr);
    restored->prepareToPlay (48000.0, 512);
    restored->setStateInformation (state.getData(), (int) state.getSize());
    processOneBlock (*restored);

    const auto restoredParams = ownParameters (*restored);
    ASSERT_EQ (restoredParams.size(), params.size());

    for (auto* p : restoredParams)
    {
        const auto* original = parameterNamed (*source, p->getName (100));
        ASSERT_NE (original, nullptr);
        EXPECT_NEAR (p->getValue(), original->getValue(), 1e-6f) << GetParam() << " " << p->getName (100);
        EXPECT_EQ (p->getCurrentValueAsText(), original->getCurrentValueAsText()) << GetParam();
    }

    const auto changed
        = std::count_if (restoredParams.begin(), restoredParams.end(),
                         [] (auto* p) { return std::abs (p->getValue() - p->getDefaultValue()) > 0.01f; });
    EXPECT_GE (changed, 15) << "not simply the defaults";
}

TEST (HostedRenderTest, HostedVst3MatchesOrvoRender)
{
    const auto folder = juce::File::createTempFile ("orvo-host-render");
    folder.createDirectory();
    const auto input = folder.getChildFile ("in.wav");
    const auto output = folder.getChildFile ("out.wav");

    // Three seconds of a bright signal with loud and quiet passages.
    juce::AudioBuffer<float> signal (2, 3 * 48000);
    juce::Random random (11);

    for (int i = 0; i < signal.getNumSamples(); ++i)
    {
        const auto loud = (i / 12000) % 2 == 0 ? 1.0f : 0.2f;
        const auto noise = random.nextFloat() - 0.5f;
        signal.setSample (0, i, loud * (0.4f * (float) std::sin (0.07 * i) + 0.3f * noise));
        signal.setSample (1, i, loud * (0.3f * (float) std::sin (0.31 * i) - 0.3f * noise));
    }

    {
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (
            wav.createWriterFor (input.createOutputStream().release(), 48000.0, 2, 32, {}, 0));
        ASSERT_NE (writer, nullptr);
        writer->writeFromAudioSampleBuffer (signal, 0, signal.getNumSamples());
    }

    juce::StringArray command { ORVO_RENDER_EXECUTABLE,
                                input.getFullPathName(),
                                output.getFullPathName(),
                                "--preset",
                                "Vocal De-esser",
                                "--bit-depth",
                                "32f" };

    const auto previous = juce::SystemStats::getEnvironmentVariable ("ORVO_FACTORY_PRESET_DIR", {});
    ::setenv ("ORVO_FACTORY_PRESET_DIR", ORVO_FACTORY_PRESETS_SOURCE, 1);

    juce::ChildProcess render;
    ASSERT_TRUE (render.start (command));
    const auto renderOutput = render.readAllProcessOutput();
    ASSERT_EQ (render.getExitCode(), 0u) << renderOutput;

    const auto plugin = loadPlugin ("VST3", 48000.0, 512);
    ::setenv ("ORVO_FACTORY_PRESET_DIR", previous.toRawUTF8(), 1);
    ASSERT_NE (plugin, nullptr);

    int program = -1;
    for (int i = 0; i < plugin->getNumPrograms(); ++i)
        if (plugin->getProgramName (i) == "Vocal De-esser")
            program = i;

    ASSERT_GT (program, 0);
    plugin->prepareToPlay (48000.0, 512);
    plugin->setCurrentProgram (program);
    processOneBlock (*plugin); // silence: delivers the program change and leaves no history
    orvotest::pumpMessages (200);

    auto hosted = signal;
    const auto channels = juce::jmax (plugin->getTotalNumInputChannels(), plugin->getTotalNumOutputChannels());
    juce::AudioBuffer<float> block (channels, 512);
    juce::MidiBuffer midi;

    for (int start = 0; start < hosted.getNumSamples(); start += 512)
    {
        const auto n = std::min (512, hosted.getNumSamples() - start);
        block.clear();
        for (int ch = 0; ch < 2; ++ch)
            block.copyFrom (ch, 0, hosted, ch, start, n);

        juce::AudioBuffer<float> part (block.getArrayOfWritePointers(), channels, n);
        plugin->processBlock (part, midi);

        for (int ch = 0; ch < 2; ++ch)
            hosted.copyFrom (ch, start, block, ch, 0, n);
    }

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (output));
    ASSERT_NE (reader, nullptr);
    ASSERT_EQ (reader->lengthInSamples, signal.getNumSamples());

    juce::AudioBuffer<float> rendered (2, signal.getNumSamples());
    reader->read (&rendered, 0, rendered.getNumSamples(), 0, true, true);

    float largest = 0.0f, changed = 0.0f;
    for (int ch = 0; ch < 2; ++ch)
    {
        for (int i = 0; i < signal.getNumSamples(); ++i)
        {
            largest = std::max (largest, std::abs (rendered.getSample (ch, i) - hosted.getSample (ch, i)));
            changed = std::max (changed, std::abs (rendered.getSample (ch, i) - signal.getSample (ch, i)));
        }
    }

    EXPECT_LE (largest, 1e-6f);
    EXPECT_GT (changed, 1e-3f) << "the preset acts on the signal";

    folder.deleteRecursively();
}

TEST (HostedProgramsTest, Vst3ListsTheFactoryLibraryAsPrograms)
{
    const auto previous = juce::SystemStats::getEnvironmentVariable ("ORVO_FACTORY_PRESET_DIR", {});
    ::setenv ("ORVO_FACTORY_PRESET_DIR", ORVO_FACTORY_PRESETS_SOURCE, 1);
    const auto plugin = loadPlugin ("VST3", 48000.0, 512);
    ::setenv ("ORVO_FACTORY_PRESET_DIR", previous.toRawUTF8(), 1);
    ASSERT_NE (plugin, nullptr);

    const auto numPresets
        = juce::File (ORVO_FACTORY_PRESETS_SOURCE).findChildFiles (juce::File::findFiles, true, "*.vpre").size();
    ASSERT_EQ (plugin->getNumPrograms(), numPresets + 1);
    EXPECT_EQ (plugin->getProgramName (0), "Initial Patch");

    juce::StringArray names;
    for (int i = 1; i < plugin->getNumPrograms(); ++i)
        names.add (plugin->getProgramName (i));

    ASSERT_TRUE (names.contains ("Vocal De-esser")) << names.joinIntoString (", ");

    // The wrapper passes the program change on from its audio callback; the preset is
    // then loaded on the message thread and its gain shows through the wrapper.
    const auto deEsser = names.indexOf ("Vocal De-esser") + 1;
    plugin->prepareToPlay (48000.0, 512);
    plugin->setCurrentProgram (deEsser);
    processOneBlock (*plugin);
    orvotest::pumpMessages (200);
    processOneBlock (*plugin);

    auto* gain = parameterNamed (*plugin, "Gain");
    ASSERT_NE (gain, nullptr);
    const auto preset
        = juce::parseXML (juce::File (ORVO_FACTORY_PRESETS_SOURCE).getChildFile ("De-essing/Vocal De-esser.vpre"));
    ASSERT_NE (preset, nullptr);
    const auto* storedGain = preset->getChildByAttribute ("id", "gain");
    ASSERT_NE (storedGain, nullptr);
    EXPECT_EQ (gain->getCurrentValueAsText(), juce::String (storedGain->getDoubleAttribute ("value"), 1) + " dB");
}

TEST_P (HostedPluginTest, ValidatorChecks)
{
    // Sample rates and block sizes a host may use, with parameters changing between
    // blocks: the output must stay finite and free of subnormals. A block larger than
    // the prepared size is tried on LV2 only: JUCE 7.0.5's VST3 wrapper copies each
    // block into a scratch buffer of the announced maximum size, so there it would
    // overwrite memory before the plug-in is even called (VST3 hosts must not do it).
    const auto oversized = juce::String (GetParam()) == "LV2";
    std::vector<int> blockSizes { 1, 250, 512, 1, 250 };

    if (oversized)
        blockSizes.insert (blockSizes.begin() + 3, 2048);

    for (const auto rate : { 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 })
    {
        const auto plugin = loadPlugin (GetParam(), rate, 512);
        ASSERT_NE (plugin, nullptr);
        plugin->prepareToPlay (rate, 512);

        const auto params = ownParameters (*plugin);
        juce::Random random ((juce::int64) rate);
        const auto channels = juce::jmax (plugin->getTotalNumInputChannels(), plugin->getTotalNumOutputChannels());
        juce::MidiBuffer midi;
        int nonFinite = 0, subnormal = 0, position = 0;

        for (const auto blockSize : blockSizes)
        {
            juce::AudioBuffer<float> buffer (channels, blockSize);

            for (int repeat = 0; repeat < (blockSize == 1 ? 64 : 4); ++repeat)
            {
                for (int ch = 0; ch < channels; ++ch)
                    for (int i = 0; i < blockSize; ++i)
                        buffer.setSample (ch, i,
                                          0.5f * (float) std::sin (0.01 * (position + i) * (ch + 1))
                                              + 0.2f * (random.nextFloat() - 0.5f));

                for (int n = 0; n < 3; ++n)
                    params[random.nextInt (params.size())]->setValueNotifyingHost (random.nextFloat());

                plugin->processBlock (buffer, midi);
                position += blockSize;

                for (int ch = 0; ch < juce::jmin (2, channels); ++ch)
                {
                    for (int i = 0; i < blockSize; ++i)
                    {
                        const auto v = buffer.getSample (ch, i);
                        nonFinite += std::isfinite (v) ? 0 : 1;
                        subnormal += std::fpclassify (v) == FP_SUBNORMAL ? 1 : 0;
                    }
                }
            }
        }

        EXPECT_EQ (nonFinite, 0) << GetParam() << " at " << rate << " Hz";
        EXPECT_EQ (subnormal, 0) << GetParam() << " at " << rate << " Hz";
        plugin->releaseResources();
    }
}

INSTANTIATE_TEST_SUITE_P (Formats, HostedPluginTest, ::testing::Values ("VST3", "LV2"));
