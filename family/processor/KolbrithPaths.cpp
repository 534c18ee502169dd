#include "KolbrithPaths.h"

namespace kolbrith
{
juce::String KolbrithPaths::getCompanyName()
{
    return JucePlugin_Manufacturer;
}

juce::String KolbrithPaths::getProductName()
{
    return JucePlugin_Name;
}

juce::String KolbrithPaths::getVersionString()
{
    return JucePlugin_VersionString;
}

juce::File KolbrithPaths::getUserApplicationDataFolder()
{
    // JUCE on Linux ignores the XDG variable itself.
    const auto xdg = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});

    if (juce::File::isAbsolutePath (xdg))
        return juce::File (xdg);

    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}

juce::File KolbrithPaths::getCommonApplicationDataFolder()
{
    return juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory);
}

juce::String KolbrithPaths::getUserProductFolder()
{
    return getUserApplicationDataFolder().getFullPathName() + "/" + getCompanyName() + "/" + getProductName();
}

juce::File KolbrithPaths::getSettingsFile()
{
    return juce::File (getUserProductFolder() + "/" + "settings.settings");
}

juce::File KolbrithPaths::getLogFile()
{
    return juce::File (getUserProductFolder() + "/" + "log.log");
}

juce::String KolbrithPaths::getFactoryFolderVariable()
{
    return getProductName().toUpperCase() + "_FACTORY_PRESET_DIR";
}

juce::File KolbrithPaths::getFactoryPresetFolder()
{
    // Tests, tools and staged installs point at another library this way.
    const auto overridden = juce::SystemStats::getEnvironmentVariable (getFactoryFolderVariable(), {});

    if (juce::File::isAbsolutePath (overridden))
        return juce::File (overridden);

    return juce::File (getCommonApplicationDataFolder().getFullPathName() + "/Audio/Presets/" + getCompanyName() + "/"
                       + getProductName());
}

juce::File KolbrithPaths::getUserPresetFolder()
{
    return juce::File (getUserApplicationDataFolder().getFullPathName() + "/Audio/Presets/" + getCompanyName() + "/"
                       + getProductName());
}
} // namespace kolbrith
