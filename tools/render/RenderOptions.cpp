#include "RenderOptions.h"

#include "plugin/OrvoParameters.h"

namespace
{
juce::String allParameterIDs()
{
    juce::StringArray ids;

    for (const auto& p : OrvoParameterInfo::all())
        ids.add (p.id);

    return ids.joinIntoString (", ");
}

bool isNumber (const juce::String& text)
{
    const auto trimmed = text.trim();
    return trimmed.isNotEmpty() && trimmed.containsOnly ("0123456789.-+eE") && trimmed.containsAnyOf ("0123456789");
}
} // namespace

juce::String RenderOptions::getUsage()
{
    return "Usage: orvo-render INPUT OUTPUT [options]\n"
           "       orvo-render --list-presets | --list-parameters | --help\n"
           "\n"
           "Runs an audio file (WAV, AIFF or FLAC; mono or stereo) through Orvo and writes the result.\n"
           "\n"
           "Options:\n"
           "  --preset NAME|FILE.vpre  start from a library preset (as --list-presets shows it) or a preset file\n"
           "  --set ID=VALUE           set a parameter after the preset, in its own units (Hz, dB, ms, %);\n"
           "                           choices by index or by name, e.g. --set type=Notch; may be repeated\n"
           "  --sidechain FILE         feed this file to the sidechain (same sample rate; silence after its end)\n"
           "  --block-size N           process in blocks of N samples, as a host would (default 512)\n"
           "  --bit-depth 16|24|32f    output sample format (32f: 32-bit float, WAV only); default: as the input\n"
           "  --list-presets           list the factory and user presets\n"
           "  --list-parameters        list the parameters with their ranges, defaults and units\n"
           "  --help                   show this text\n";
}

std::optional<RenderOptions::Setting> RenderOptions::parseSetting (const juce::String& text, juce::String& error)
{
    if (! text.containsChar ('='))
    {
        error = "--set needs ID=VALUE, got \"" + text + "\"";
        return std::nullopt;
    }

    const auto id = text.upToFirstOccurrenceOf ("=", false, false).trim();
    const auto valueText = text.fromFirstOccurrenceOf ("=", false, false).trim();
    const auto parameter = OrvoParameterInfo::find (id);

    if (parameter == OrvoParameter::count)
    {
        error = "unknown parameter \"" + id + "\"; valid IDs: " + allParameterIDs();
        return std::nullopt;
    }

    const auto& info = OrvoParameterInfo::get (parameter);
    Setting setting { info.id, 0.0f };

    if (info.kind == OrvoParameterInfo::Kind::choice && ! isNumber (valueText))
    {
        const auto choices = OrvoParameterInfo::getChoiceTexts (info.choices);
        const auto index = choices.indexOf (valueText, true);

        if (index < 0)
        {
            error = juce::String ("unknown choice \"") + valueText + "\" for " + info.id
                    + "; choose one of: " + choices.joinIntoString (", ") + " (or its index)";
            return std::nullopt;
        }

        setting.value = (float) index;
        return setting;
    }

    if (! isNumber (valueText))
    {
        error = juce::String ("value for ") + info.id + " is not a number: \"" + valueText + "\"";
        return std::nullopt;
    }

    setting.value = valueText.getFloatValue();

    if (! (setting.value >= info.minimum && setting.value <= info.maximum))
    {
        error = juce::String ("value out of range: ") + info.id + "=" + valueText + " (range "
                + juce::String (info.minimum) + " to " + juce::String (info.maximum) + info.unit + ")";
        return std::nullopt;
    }

    return setting;
}

std::optional<RenderOptions> RenderOptions::parse (const juce::StringArray& arguments, juce::String& error)
{
    RenderOptions options;
    juce::StringArray positional;

    const auto valueOf = [&] (int& i, const juce::String& flag) -> std::optional<juce::String>
    {
        if (i + 1 >= arguments.size())
        {
            error = flag + " needs a value";
            return std::nullopt;
        }

        return arguments[++i];
    };

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];

        if (argument == "--help" || argument == "-h")
        {
            options.mode = Mode::help;
            return options;
        }

        if (argument == "--list-presets")
            options.mode = Mode::listPresets;
        else if (argument == "--list-parameters")
            options.mode = Mode::listParameters;
        else if (argument == "--preset")
        {
            const auto value = valueOf (i, argument);
            if (! value)
                return std::nullopt;
            options.preset = *value;
        }
        else if (argument == "--set")
        {
            const auto value = valueOf (i, argument);
            if (! value)
                return std::nullopt;

            const auto setting = parseSetting (*value, error);
            if (! setting)
                return std::nullopt;

            options.settings.push_back (*setting);
        }
        else if (argument == "--sidechain")
        {
            const auto value = valueOf (i, argument);
            if (! value)
                return std::nullopt;
            options.sidechain = juce::File::getCurrentWorkingDirectory().getChildFile (*value);
        }
        else if (argument == "--block-size")
        {
            const auto value = valueOf (i, argument);
            if (! value)
                return std::nullopt;

            if (! value->containsOnly ("0123456789") || value->isEmpty() || value->getIntValue() < 1
                || value->getIntValue() > 65536)
            {
                error = "--block-size must be a whole number from 1 to 65536, got \"" + *value + "\"";
                return std::nullopt;
            }

            options.blockSize = value->getIntValue();
        }
        else if (argument == "--bit-depth")
        {
            const auto value = valueOf (i, argument);
            if (! value)
                return std::nullopt;

            if (*value == "16" || *value == "24")
                options.bitDepth = value->getIntValue();
            else if (*value == "32f")
                options.bitDepth = 32;
            else
            {
                error = "--bit-depth must be 16, 24 or 32f, got \"" + *value + "\"";
                return std::nullopt;
            }
        }
        else if (argument.startsWith ("-") && argument.length() > 1)
        {
            error = "unknown option \"" + argument + "\" (see --help)";
            return std::nullopt;
        }
        else
        {
            positional.add (argument);
        }
    }

    if (options.mode != Mode::render)
        return options;

    if (positional.size() != 2)
    {
        error = positional.size() < 2 ? "need an INPUT and an OUTPUT file (see --help)"
                                      : "too many file names: " + positional.joinIntoString (" ");
        return std::nullopt;
    }

    options.input = juce::File::getCurrentWorkingDirectory().getChildFile (positional[0]);
    options.output = juce::File::getCurrentWorkingDirectory().getChildFile (positional[1]);
    return options;
}
