#include "tools/render/OfflineRenderer.h"
#include "tests/TestLibrary.h"

#include <gtest/gtest.h>

namespace
{
/** A private folder with audio files written by the test. */
struct AudioFolder
{
    AudioFolder() { folder.createDirectory(); }
    ~AudioFolder() { folder.deleteRecursively(); }

    juce::File write (const juce::String& name, const juce::AudioBuffer<float>& audio, double sampleRate,
                      int bits = 32) const
    {
        const auto file = folder.getChildFile (name);
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (
            file.createOutputStream().release(), sampleRate, (unsigned int) audio.getNumChannels(), bits, {}, 0));
        writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
        return file;
    }

    static juce::AudioBuffer<float> read (const juce::File& file, double* sampleRate = nullptr)
    {
        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

        if (reader == nullptr)
            return {};

        if (sampleRate != nullptr)
            *sampleRate = reader->sampleRate;

        juce::AudioBuffer<float> audio ((int) reader->numChannels, (int) reader->lengthInSamples);
        reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
        return audio;
    }

    juce::StringArray fileNames() const
    {
        juce::StringArray names;
        for (const auto& f : folder.findChildFiles (juce::File::findFiles, false, "*"))
            names.add (f.getFileName());
        names.sort (false);
        return names;
    }

    juce::File folder = juce::File::createTempFile ("orvo-render");
};

juce::AudioBuffer<float> testSignal (int channels, int samples)
{
    juce::AudioBuffer<float> audio (channels, samples);
    juce::Random random (7);

    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < samples; ++i)
            audio.setSample (ch, i, 0.4f * (float) std::sin (0.03 * i * (ch + 1)) + 0.1f * (random.nextFloat() - 0.5f));

    return audio;
}

RenderOptions optionsFor (const juce::File& input, const juce::File& output, int blockSize = 512)
{
    RenderOptions options;
    options.input = input;
    options.output = output;
    options.blockSize = blockSize;
    options.bitDepth = 32;
    return options;
}

juce::Result renderWith (const RenderOptions& options, const std::vector<RenderOptions::Setting>& settings = {})
{
    DynamicEqAudioProcessor processor;
    OfflineRenderer renderer (processor);
    renderer.applySettings (settings);
    OfflineRenderer::Summary summary;
    return renderer.render (options, summary);
}
} // namespace

TEST (OfflineRendererTest, MatchesTheProcessorRunInBlocks)
{
    orvotest::TestLibrary library;
    AudioFolder audio;
    const auto input = testSignal (2, 10000);
    const auto inFile = audio.write ("in.wav", input, 44100.0);
    const std::vector<RenderOptions::Setting> settings {
        { "gain", -9.0f }, { "frequency", 800.0f }, { "moddestination", 2.0f }, { "modmakeupgain", 6.0f }
    };

    ASSERT_TRUE (renderWith (optionsFor (inFile, audio.folder.getChildFile ("out.wav"), 256), settings).wasOk());

    // The same settings in a processor fed by hand, as a host would.
    DynamicEqAudioProcessor reference;
    auto layout = reference.getBusesLayout();
    layout.inputBuses.getReference (1) = juce::AudioChannelSet::disabled();
    ASSERT_TRUE (reference.setBusesLayout (layout));
    OfflineRenderer (reference).applySettings (settings);
    reference.prepareToPlay (44100.0, 256);

    auto expected = input;
    juce::MidiBuffer midi;

    for (int start = 0; start < expected.getNumSamples(); start += 256)
    {
        juce::AudioBuffer<float> block (expected.getArrayOfWritePointers(), 2, start,
                                        std::min (256, expected.getNumSamples() - start));
        reference.processBlock (block, midi);
    }

    double rate = 0.0;
    const auto rendered = AudioFolder::read (audio.folder.getChildFile ("out.wav"), &rate);
    EXPECT_EQ (rate, 44100.0);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    ASSERT_EQ (rendered.getNumSamples(), expected.getNumSamples());

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < rendered.getNumSamples(); ++i)
            ASSERT_EQ (rendered.getSample (ch, i), expected.getSample (ch, i)) << ch << ":" << i;

    EXPECT_GT (expected.getRMSLevel (0, 0, 10000), 0.0f);
    EXPECT_EQ (audio.fileNames().joinIntoString (","), "in.wav,out.wav") << "no temporary file left";
}

TEST (OfflineRendererTest, BlockSizeDoesNotChangeTheResult)
{
    orvotest::TestLibrary library;
    AudioFolder audio;
    const auto inFile = audio.write ("in.wav", testSignal (1, 3000), 48000.0);

    ASSERT_TRUE (renderWith (optionsFor (inFile, audio.folder.getChildFile ("a.wav"), 1)).wasOk());
    ASSERT_TRUE (renderWith (optionsFor (inFile, audio.folder.getChildFile ("b.wav"), 4096)).wasOk());

    const auto a = AudioFolder::read (audio.folder.getChildFile ("a.wav"));
    const auto b = AudioFolder::read (audio.folder.getChildFile ("b.wav"));
    ASSERT_EQ (a.getNumSamples(), 3000);
    EXPECT_EQ (std::memcmp (a.getReadPointer (0), b.getReadPointer (0), sizeof (float) * 3000), 0);
}

TEST (OfflineRendererTest, SidechainIsReadInStepAndSilentAfterItsEnd)
{
    orvotest::TestLibrary library;
    AudioFolder audio;
    const auto inFile = audio.write ("in.wav", testSignal (2, 4000), 48000.0);

    juce::AudioBuffer<float> key (1, 1000);
    key.clear();
    for (int i = 0; i < 1000; ++i)
        key.setSample (0, i, 0.25f);

    auto options = optionsFor (inFile, audio.folder.getChildFile ("out.wav"));
    options.sidechain = audio.write ("key.wav", key, 48000.0);

    // Previewing the sidechain makes it audible on both channels.
    ASSERT_TRUE (renderWith (options, { { "modpreview", 1.0f }, { "sidechain", 1.0f } }).wasOk());

    const auto out = AudioFolder::read (options.output);
    EXPECT_FLOAT_EQ (out.getSample (0, 10), 0.25f);
    EXPECT_FLOAT_EQ (out.getSample (1, 999), 0.25f);
    EXPECT_EQ (out.getMagnitude (1000, 3000), 0.0f);
}

TEST (OfflineRendererTest, FailuresLeaveNoOutputAndKeepAnExistingOne)
{
    orvotest::TestLibrary library;
    AudioFolder audio;
    const auto inFile = audio.write ("in.wav", testSignal (2, 2000), 48000.0);
    const auto existing = audio.folder.getChildFile ("out.wav");
    existing.replaceWithText ("precious");

    auto mismatched = optionsFor (inFile, existing);
    mismatched.sidechain = audio.write ("key.wav", testSignal (1, 100), 44100.0);

    auto surround = optionsFor (audio.write ("six.wav", testSignal (6, 100), 48000.0), existing);
    auto badFormat = optionsFor (inFile, audio.folder.getChildFile ("out.mp3"));
    auto floatFlac = optionsFor (inFile, audio.folder.getChildFile ("out.flac"));
    auto notAudio = optionsFor (audio.folder.getChildFile ("text.wav"), existing);
    audio.folder.getChildFile ("text.wav").replaceWithText ("not audio");
    auto missingFolder = optionsFor (inFile, audio.folder.getChildFile ("nowhere/out.wav"));

    struct Case
    {
        const char* what;
        RenderOptions options;
        const char* errorContains;
    };

    for (const auto& c :
         { Case { "sidechain rate", mismatched, "does not match the input's 48000 Hz" },
           Case { "six channels", surround, "unsupported channel count 6" },
           Case { "mp3", badFormat, "unsupported output format" },
           Case { "float FLAC", floatFlac, "32-bit float output needs a .wav file" },
           Case { "not audio", notAudio, "not a readable WAV, AIFF or FLAC file" },
           Case { "missing input", optionsFor (audio.folder.getChildFile ("none.wav"), existing), "no such file" },
           Case { "missing folder", missingFolder, "folder does not exist" } })
    {
        const auto result = renderWith (c.options);
        EXPECT_TRUE (result.failed()) << c.what;
        EXPECT_TRUE (result.getErrorMessage().contains (c.errorContains)) << c.what << ": " << result.getErrorMessage();
    }

    EXPECT_EQ (existing.loadFileAsString(), "precious");
    EXPECT_EQ (audio.fileNames().joinIntoString (","), "in.wav,key.wav,out.wav,six.wav,text.wav");
}

TEST (OfflineRendererTest, CancellingLeavesNothingBehind)
{
    orvotest::TestLibrary library;
    AudioFolder audio;
    const auto inFile = audio.write ("in.wav", testSignal (2, 48000), 48000.0);

    DynamicEqAudioProcessor processor;
    OfflineRenderer renderer (processor);
    std::atomic<bool> cancel { false };
    OfflineRenderer::Summary summary;

    const auto result = renderer.render (
        optionsFor (inFile, audio.folder.getChildFile ("out.wav")), summary,
        [&cancel] (double fraction) { cancel = fraction > 0.3; }, &cancel);

    EXPECT_TRUE (result.failed());
    EXPECT_EQ (audio.fileNames().joinIntoString (","), "in.wav");
}

TEST (OfflineRendererTest, PresetsByNameOrFileWithCloseNamesForTypos)
{
    orvotest::TestLibrary library;
    library.addPreset (true, "Vocal/Vocal De-esser.vpre",
                       "<orvo version=\"1.5.4\"><PARAM id=\"gain\" value=\"-8\"/></orvo>");
    library.addPreset (true, "Drums/Kick Control.vpre");
    const auto old = library.addPreset (false, "../old.vpre",
                                        "<orvo version=\"0.8.0\"><PARAM id=\"modminimum\" value=\"0.3\"/></orvo>");

    DynamicEqAudioProcessor processor;
    OfflineRenderer renderer (processor);

    EXPECT_TRUE (renderer.applyPreset ("vocal de-esser").wasOk());
    EXPECT_EQ (processor.parameters.getRawParameterValue ("gain")->load(), -8.0f);

    const auto typo = renderer.applyPreset ("Vocal Deesser");
    EXPECT_TRUE (typo.failed());
    EXPECT_TRUE (typo.getErrorMessage().contains ("did you mean: Vocal De-esser?")) << typo.getErrorMessage();

    // A file outside the library migrates exactly as a library preset would.
    EXPECT_TRUE (renderer.applyPreset (old.getFullPathName()).wasOk());
    EXPECT_NEAR (processor.parameters.getRawParameterValue ("modminimum")->load(), 30.0f, 1e-4f);

    EXPECT_TRUE (renderer.applyPreset ("/no/such/file.vpre").getErrorMessage().contains ("no such file"));
}
