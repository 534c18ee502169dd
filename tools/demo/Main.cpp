#include "DemoSignal.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <iostream>

// orvo-demo make OUT.wav         writes the built-in demo signal
// orvo-demo compare IN.wav OUT.wav  prints what Orvo changed between the two files

namespace
{
int usage()
{
    std::cerr << "Usage: orvo-demo make OUT.wav | orvo-demo compare BEFORE.wav AFTER.wav" << std::endl;
    return 1;
}

bool readFile (const juce::File& file, juce::AudioBuffer<float>& audio, double& rate)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    if (reader == nullptr)
    {
        std::cerr << "orvo-demo: cannot read \"" << file.getFullPathName() << "\"" << std::endl;
        return false;
    }

    rate = reader->sampleRate;
    audio.setSize ((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
    return true;
}

juce::String dbText (double db)
{
    return juce::String (db, 1).paddedLeft (' ', 6) + " dB";
}

/** Peak, or RMS over all channels together (as orvo-render reports them). */
double levelDb (const juce::AudioBuffer<float>& audio, bool peak)
{
    if (peak)
        return juce::Decibels::gainToDecibels ((double) audio.getMagnitude (0, audio.getNumSamples()), -150.0);

    double sum = 0.0;

    for (int ch = 0; ch < audio.getNumChannels(); ++ch)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            sum += (double) audio.getSample (ch, i) * audio.getSample (ch, i);

    const auto count = (double) audio.getNumChannels() * audio.getNumSamples();
    return juce::Decibels::gainToDecibels (count > 0 ? std::sqrt (sum / count) : 0.0, -150.0);
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc == 3 && juce::String (argv[1]) == "make")
    {
        const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]);
        const auto audio = DemoSignal::create();

        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer;

        if (auto stream = file.createOutputStream())
        {
            stream->setPosition (0);
            stream->truncate();
            writer.reset (wav.createWriterFor (stream.get(), DemoSignal::sampleRate, 2, 24, {}, 0));

            if (writer != nullptr)
                stream.release();
        }

        if (writer == nullptr || ! writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples()))
        {
            std::cerr << "orvo-demo: cannot write \"" << file.getFullPathName() << "\"" << std::endl;
            return 1;
        }

        return 0;
    }

    if (argc == 4 && juce::String (argv[1]) == "compare")
    {
        juce::AudioBuffer<float> before, after;
        double rateBefore = 0.0, rateAfter = 0.0;

        if (! readFile (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]), before, rateBefore)
            || ! readFile (juce::File::getCurrentWorkingDirectory().getChildFile (argv[3]), after, rateAfter))
            return 1;

        const auto sibilanceBefore = DemoSignal::sibilanceLevelDb (before, rateBefore);
        const auto sibilanceAfter = DemoSignal::sibilanceLevelDb (after, rateAfter);

        std::cout << "                     before     after    change\n"
                  << "sibilance (5-10 kHz) " << dbText (sibilanceBefore) << dbText (sibilanceAfter)
                  << dbText (sibilanceAfter - sibilanceBefore) << "\n"
                  << "peak                 " << dbText (levelDb (before, true)) << dbText (levelDb (after, true))
                  << dbText (levelDb (after, true) - levelDb (before, true)) << "\n"
                  << "RMS                  " << dbText (levelDb (before, false)) << dbText (levelDb (after, false))
                  << dbText (levelDb (after, false) - levelDb (before, false)) << std::endl;
        return 0;
    }

    return usage();
}
