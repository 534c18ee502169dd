#include "OfflineRenderer.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

// orvo-render: runs Orvo over an audio file from the command line.

namespace
{
std::atomic<bool> interrupted { false };

void onSignal (int)
{
    interrupted = true;
}

int fail (const juce::String& message)
{
    std::cerr << "orvo-render: " << message << std::endl;
    return 1;
}

void listPresets (DynamicEqAudioProcessor& processor)
{
    const auto& manager = processor.presetManager;

    if (manager.getNumPresets() == 0)
    {
        std::cout << "No presets found. Factory library: " << manager.getFactoryFolderPath()
                  << "\nUser library: " << manager.getUserFolderPath() << std::endl;
        return;
    }

    for (int i = 0; i < manager.getNumPresets(); ++i)
    {
        const auto preset = manager.getPresetByIndex (i);
        const auto folder = preset.path.isEmpty()
                                ? juce::String()
                                : juce::File (preset.path)
                                      .getParentDirectory()
                                      .getRelativePathFrom (juce::File (preset.factory ? manager.getFactoryFolderPath()
                                                                                       : manager.getUserFolderPath()));

        std::cout << juce::String (i).paddedLeft (' ', 3) << "  " << (preset.factory ? "factory" : "user   ") << "  "
                  << (folder.isEmpty() || folder == "." ? juce::String() : folder + "/") << preset.name;

        if (! preset.categories.isEmpty())
            std::cout << "  [" << preset.categories.joinIntoString (", ") << "]";

        std::cout << "\n";
    }
}

void listParameters()
{
    for (const auto& p : OrvoParameterInfo::all())
    {
        std::cout << juce::String (p.id).paddedRight (' ', 16) << juce::String (p.name).paddedRight (' ', 18);

        if (p.kind == OrvoParameterInfo::Kind::choice)
        {
            const auto choices = OrvoParameterInfo::getChoiceTexts (p.choices);
            std::cout << "choice: ";

            for (int i = 0; i < choices.size(); ++i)
                std::cout << (i > 0 ? ", " : "") << i << "=" << choices[i];

            std::cout << "  (default " << choices[juce::roundToInt (p.defaultValue)] << ")";
        }
        else
        {
            std::cout << p.minimum << " to " << p.maximum << p.unit << "  (default " << p.defaultValue << p.unit << ")";
        }

        std::cout << "\n";
    }
}

/** A bar on standard error that rewrites itself in place. */
struct ProgressBar
{
    void operator() (double fraction)
    {
        const auto percent = juce::roundToInt (fraction * 100.0);

        if (percent == lastPercent)
            return;

        lastPercent = percent;
        const auto filled = percent * 40 / 100;
        std::cerr << "\r[" << std::string ((size_t) filled, '#') << std::string ((size_t) (40 - filled), ' ') << "] "
                  << percent << "%" << std::flush;
    }

    int lastPercent = -1;
};
} // namespace

int main (int argc, char* argv[])
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    juce::String error;
    const auto options = RenderOptions::parse (arguments, error);

    if (! options)
        return fail (error);

    if (options->mode == RenderOptions::Mode::help)
    {
        std::cout << RenderOptions::getUsage();
        return 0;
    }

    if (options->mode == RenderOptions::Mode::listParameters)
    {
        listParameters();
        return 0;
    }

    std::signal (SIGINT, onSignal);
    std::signal (SIGTERM, onSignal);

    const juce::ScopedJuceInitialiser_GUI juce;
    DynamicEqAudioProcessor processor;

    if (options->mode == RenderOptions::Mode::listPresets)
    {
        listPresets (processor);
        return 0;
    }

    OfflineRenderer renderer (processor);

    if (options->preset.isNotEmpty())
        if (const auto result = renderer.applyPreset (options->preset); result.failed())
            return fail (result.getErrorMessage());

    renderer.applySettings (options->settings);

    OfflineRenderer::Summary summary;
    ProgressBar bar;
    const auto showProgress = ::isatty (STDERR_FILENO) != 0;
    std::function<void (double)> progress;

    // Only files long enough to keep someone waiting get a bar.
    if (showProgress)
        progress = [&bar, &summary] (double fraction)
        {
            if (summary.seconds > 5.0)
                bar (fraction);
        };

    const auto result = renderer.render (*options, summary, progress, &interrupted);

    // Short files finish before a bar means anything; it is cleared either way.
    if (showProgress && bar.lastPercent >= 0)
        std::cerr << "\r" << std::string (48, ' ') << "\r" << std::flush;

    if (result.failed())
        return interrupted ? (fail (result.getErrorMessage()), 130) : fail (result.getErrorMessage());

    std::cout << "orvo-render: " << options->output.getFileName() << ": " << summary.describe() << std::endl;
    return 0;
}
