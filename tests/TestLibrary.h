#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>

namespace orvotest
{
/**
    A private factory library and user configuration for one test: the environment
    points the product at them while the object lives, and they are deleted after.
*/
class TestLibrary
{
public:
    TestLibrary()
    {
        root.createDirectory();
        factory.createDirectory();
        previousConfig = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
        previousFactory = juce::SystemStats::getEnvironmentVariable ("ORVO_FACTORY_PRESET_DIR", {});
        ::setenv ("XDG_CONFIG_HOME", config.getFullPathName().toRawUTF8(), 1);
        ::setenv ("ORVO_FACTORY_PRESET_DIR", factory.getFullPathName().toRawUTF8(), 1);
    }

    ~TestLibrary()
    {
        ::setenv ("XDG_CONFIG_HOME", previousConfig.toRawUTF8(), 1);
        ::setenv ("ORVO_FACTORY_PRESET_DIR", previousFactory.toRawUTF8(), 1);
        root.deleteRecursively();
    }

    /** Writes a preset file below the factory or user library and returns it. */
    juce::File addPreset (bool inFactory, const juce::String& relativePath, const juce::String& content = {}) const
    {
        auto file = (inFactory ? factory : userPresets).getChildFile (relativePath);
        file.getParentDirectory().createDirectory();
        file.replaceWithText (content.isNotEmpty() ? content : "<orvo version=\"1.5.4\"/>");
        return file;
    }

    juce::File root = juce::File::createTempFile ("orvo-library");
    juce::File factory = root.getChildFile ("factory");
    juce::File config = root.getChildFile ("config");
    juce::File userPresets = config.getChildFile ("Audio/Presets/Kolbrith/Orvo");
    juce::File logFile = config.getChildFile ("Kolbrith/Orvo/log.log");

private:
    juce::String previousConfig, previousFactory;
};
} // namespace orvotest
