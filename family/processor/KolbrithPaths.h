#pragma once

#include <juce_core/juce_core.h>

namespace kolbrith
{
/**
    Every file and folder the product family reads or writes, built in one place by
    joining names with "/".
*/
struct KolbrithPaths
{
    /** The maker's name in paths, "Kolbrith". */
    static juce::String getCompanyName();

    /** The product's name in paths and for the host, "Orvo". */
    static juce::String getProductName();

    /** The product version written into stored data, "1.5.4". */
    static juce::String getVersionString();

    /** The per-user configuration folder: $XDG_CONFIG_HOME when set, else JUCE's
        user application-data folder. */
    static juce::File getUserApplicationDataFolder();

    /** The shared application-data folder ("/opt" on Linux, "/Library" on macOS). */
    static juce::File getCommonApplicationDataFolder();

    /** The per-user folder of this product, holding the settings and the log. */
    static juce::String getUserProductFolder();

    static juce::File getSettingsFile();
    static juce::File getLogFile();
    /** The factory library: the shared application-data folder + "/Audio/Presets/Kolbrith/Orvo",
        unless the environment variable named by getFactoryFolderVariable() holds an
        absolute path. */
    static juce::File getFactoryPresetFolder();

    /** "ORVO_FACTORY_PRESET_DIR". */
    static juce::String getFactoryFolderVariable();
    static juce::File getUserPresetFolder();
};
} // namespace kolbrith
