#include "OfflineRenderer.h"

namespace
{
int editDistance (const juce::String& a, const juce::String& b)
{
    std::vector<int> previous ((size_t) b.length() + 1), current ((size_t) b.length() + 1);

    for (int j = 0; j <= b.length(); ++j)
        previous[(size_t) j] = j;

    for (int i = 1; i <= a.length(); ++i)
    {
        current[0] = i;

        for (int j = 1; j <= b.length(); ++j)
        {
            const auto substitution = previous[(size_t) j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[(size_t) j] = std::min ({ previous[(size_t) j] + 1, current[(size_t) j - 1] + 1, substitution });
        }

        std::swap (previous, current);
    }

    return previous[(size_t) b.length()];
}

juce::String decibels (double gain)
{
    return gain > 0.0 ? juce::String (juce::Decibels::gainToDecibels (gain), 1) + " dBFS" : "-inf dBFS";
}

std::unique_ptr<juce::AudioFormatReader> openReader (juce::AudioFormatManager& formats, const juce::File& file,
                                                     const juce::String& role, juce::String& error)
{
    if (! file.existsAsFile())
    {
        error = "cannot open " + role + " \"" + file.getFullPathName() + "\": no such file";
        return {};
    }

    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    if (reader == nullptr)
    {
        error = "cannot read " + role + " \"" + file.getFullPathName() + "\": not a readable WAV, AIFF or FLAC file";
        return {};
    }

    if (reader->numChannels < 1 || reader->numChannels > 2)
    {
        error = "unsupported channel count " + juce::String (reader->numChannels) + " in " + role + " \""
                + file.getFullPathName() + "\" (mono or stereo only)";
        return {};
    }

    return reader;
}
} // namespace

//==============================================================================
void OfflineRenderer::Levels::add (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples)
{
    for (int ch = 0; ch < numChannels; ++ch)
    {
        const auto* data = buffer.getReadPointer (ch);

        for (int i = 0; i < numSamples; ++i)
        {
            peak = std::max (peak, std::abs (data[i]));
            sumOfSquares += (double) data[i] * (double) data[i];
        }
    }

    samples += (juce::int64) numChannels * numSamples;
}

juce::String OfflineRenderer::Summary::describe() const
{
    const auto speed = elapsedSeconds > 0.0 ? juce::String (seconds / elapsedSeconds, 1) + "x realtime" : "instant";

    return juce::String (seconds, 2) + " s of " + (channels == 1 ? "mono" : "stereo") + " at "
           + juce::String (juce::roundToInt (sampleRate)) + " Hz" + " | in: peak " + decibels (in.peak) + ", RMS "
           + decibels (in.getRms()) + " | out: peak " + decibels (out.peak) + ", RMS " + decibels (out.getRms()) + " | "
           + juce::String (elapsedSeconds, 2) + " s, " + speed;
}

//==============================================================================
OfflineRenderer::OfflineRenderer (DynamicEqAudioProcessor& p)
    : processor (p)
{
    formats.registerBasicFormats();
}

juce::StringArray OfflineRenderer::findCloseNames (const juce::String& text) const
{
    const auto& manager = processor.presetManager;
    std::vector<std::pair<int, juce::String>> scored;

    for (int i = 0; i < manager.getNumPresets(); ++i)
    {
        const auto name = manager.getPresetByIndex (i).name;
        const auto distance = editDistance (text.toLowerCase(), name.toLowerCase());
        const auto related = name.containsIgnoreCase (text) || text.containsIgnoreCase (name);

        if (related || distance <= std::max (3, text.length() / 3))
            scored.emplace_back (related ? 0 : distance, name);
    }

    std::stable_sort (scored.begin(), scored.end(), [] (auto& a, auto& b) { return a.first < b.first; });

    juce::StringArray names;

    for (size_t i = 0; i < scored.size() && i < 5; ++i)
        names.add (scored[i].second);

    return names;
}

juce::Result OfflineRenderer::applyPreset (const juce::String& nameOrFile)
{
    auto& manager = processor.presetManager;

    if (nameOrFile.endsWithIgnoreCase (".vpre") || nameOrFile.containsChar ('/'))
    {
        const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (nameOrFile);

        if (! file.existsAsFile())
            return juce::Result::fail ("cannot open preset \"" + file.getFullPathName() + "\": no such file");

        if (! manager.loadPresetFile (file))
            return juce::Result::fail ("cannot read preset \"" + file.getFullPathName() + "\": not a preset file");

        return juce::Result::ok();
    }

    int caseInsensitiveMatch = -1;

    for (int i = 0; i < manager.getNumPresets(); ++i)
    {
        const auto name = manager.getPresetByIndex (i).name;

        if (name == nameOrFile)
        {
            manager.loadPreset (i);
            return juce::Result::ok();
        }

        if (caseInsensitiveMatch < 0 && name.equalsIgnoreCase (nameOrFile))
            caseInsensitiveMatch = i;
    }

    if (caseInsensitiveMatch >= 0)
    {
        manager.loadPreset (caseInsensitiveMatch);
        return juce::Result::ok();
    }

    const auto close = findCloseNames (nameOrFile);
    return juce::Result::fail ("unknown preset \"" + nameOrFile + "\""
                               + (close.isEmpty() ? juce::String ("; see --list-presets")
                                                  : "; did you mean: " + close.joinIntoString (", ") + "?"));
}

void OfflineRenderer::applySettings (const std::vector<RenderOptions::Setting>& settings)
{
    for (const auto& setting : settings)
        if (auto* parameter = processor.parameters.getParameter (setting.parameterID))
            parameter->setValueNotifyingHost (parameter->convertTo0to1 (setting.value));
}

//==============================================================================
juce::Result OfflineRenderer::render (const RenderOptions& options, Summary& summary,
                                      const std::function<void (double)>& progress, const std::atomic<bool>* cancel)
{
    juce::String error;

    const auto reader = openReader (formats, options.input, "input", error);
    if (reader == nullptr)
        return juce::Result::fail (error);

    std::unique_ptr<juce::AudioFormatReader> sidechainReader;

    if (options.sidechain != juce::File())
    {
        sidechainReader = openReader (formats, options.sidechain, "sidechain", error);
        if (sidechainReader == nullptr)
            return juce::Result::fail (error);

        if (sidechainReader->sampleRate != reader->sampleRate)
            return juce::Result::fail ("sidechain sample rate " + juce::String (sidechainReader->sampleRate) + " Hz"
                                       + " does not match the input's " + juce::String (reader->sampleRate) + " Hz");
    }

    auto* format = formats.findFormatForFileExtension (options.output.getFileExtension());
    const auto extension = options.output.getFileExtension().toLowerCase();

    if (format == nullptr || ! juce::StringArray { ".wav", ".aif", ".aiff", ".flac" }.contains (extension))
        return juce::Result::fail ("unsupported output format \"" + options.output.getFileName()
                                   + "\" (use .wav, .aiff or .flac)");

    const auto isWav = extension == ".wav";
    auto bitDepth = options.bitDepth.value_or ((int) reader->bitsPerSample);

    if (bitDepth == 32 && ! isWav)
    {
        if (options.bitDepth)
            return juce::Result::fail ("32-bit float output needs a .wav file; use --bit-depth 16 or 24");

        bitDepth = 24;
    }

    if (! format->getPossibleBitDepths().contains (bitDepth))
    {
        if (options.bitDepth)
            return juce::Result::fail (juce::String (bitDepth) + "-bit output is not possible for "
                                       + format->getFormatName());

        bitDepth = 24;
    }

    const auto folder = options.output.getParentDirectory();

    if (! folder.isDirectory() || ! folder.hasWriteAccess())
        return juce::Result::fail ("cannot write \"" + options.output.getFullPathName() + "\": folder "
                                   + (folder.isDirectory() ? "is not writable" : "does not exist"));

    if (options.output.isDirectory())
        return juce::Result::fail ("cannot write \"" + options.output.getFullPathName() + "\": it is a folder");

    const juce::TemporaryFile temporary (options.output);
    std::unique_ptr<juce::OutputStream> stream = temporary.getFile().createOutputStream();

    if (stream == nullptr)
        return juce::Result::fail ("cannot write \"" + options.output.getFullPathName() + "\"");

    const auto numChannels = (int) reader->numChannels;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        format->createWriterFor (stream.get(), reader->sampleRate, (unsigned int) numChannels, bitDepth, {}, 0));

    if (writer == nullptr)
        return juce::Result::fail ("cannot write " + format->getFormatName() + " with " + juce::String (numChannels)
                                   + " channels at " + juce::String (bitDepth) + " bits");

    stream.release(); // the writer owns it now

    // A host-like setup: the file's channel layout, the sidechain bus only when fed.
    auto layout = processor.getBusesLayout();
    const auto main = juce::AudioChannelSet::canonicalChannelSet (numChannels);
    layout.inputBuses.getReference (0) = main;
    layout.outputBuses.getReference (0) = main;
    layout.inputBuses.getReference (1)
        = sidechainReader != nullptr ? juce::AudioChannelSet::canonicalChannelSet ((int) sidechainReader->numChannels)
                                     : juce::AudioChannelSet::disabled();

    if (! processor.setBusesLayout (layout))
        return juce::Result::fail ("the processor refused a " + main.getDescription() + " layout");

    const auto blockSize = options.blockSize;
    processor.setRateAndBufferSizeDetails (reader->sampleRate, blockSize);
    processor.prepareToPlay (reader->sampleRate, blockSize);

    const auto sidechainChannels = sidechainReader != nullptr ? (int) sidechainReader->numChannels : 0;
    juce::AudioBuffer<float> buffer (numChannels + sidechainChannels, blockSize);
    juce::MidiBuffer midi;

    const auto length = reader->lengthInSamples;
    const auto started = juce::Time::getMillisecondCounterHiRes();

    summary = {};
    summary.sampleRate = reader->sampleRate;
    summary.channels = numChannels;
    summary.bitDepth = bitDepth;
    summary.seconds = (double) length / reader->sampleRate;

    for (juce::int64 position = 0; position < length; position += blockSize)
    {
        if (cancel != nullptr && cancel->load())
        {
            processor.releaseResources();
            return juce::Result::fail ("cancelled; no output written");
        }

        const auto n = (int) std::min<juce::int64> (blockSize, length - position);
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), n);
        block.clear();

        juce::AudioBuffer<float> mainPart (buffer.getArrayOfWritePointers(), numChannels, n);
        reader->read (&mainPart, 0, n, position, true, numChannels > 1);

        if (sidechainReader != nullptr && position < sidechainReader->lengthInSamples)
        {
            const auto available = (int) std::min<juce::int64> (n, sidechainReader->lengthInSamples - position);
            juce::AudioBuffer<float> side (buffer.getArrayOfWritePointers() + numChannels, sidechainChannels, n);
            sidechainReader->read (&side, 0, available, position, true, sidechainChannels > 1);
        }

        summary.in.add (block, numChannels, n);
        processor.processBlock (block, midi);
        summary.out.add (block, numChannels, n);

        if (! writer->writeFromAudioSampleBuffer (block, 0, n))
            return juce::Result::fail ("writing \"" + options.output.getFullPathName() + "\" failed (disk full?)");

        if (progress)
            progress ((double) (position + n) / (double) length);
    }

    processor.releaseResources();
    writer.reset();

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("cannot replace \"" + options.output.getFullPathName() + "\"");

    summary.elapsedSeconds = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;
    return juce::Result::ok();
}
