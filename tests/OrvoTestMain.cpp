#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <cstdlib>

// Every test runs against a private configuration folder and factory library, never
// the developer's own.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    const auto config = juce::File::createTempFile ("orvo-tests");
    config.createDirectory();
    ::setenv ("XDG_CONFIG_HOME", config.getFullPathName().toRawUTF8(), 1);
    // Also keeps plug-in hosts from finding copies installed under ~/.lv2 instead of the build.
    ::setenv ("HOME", config.getFullPathName().toRawUTF8(), 1);
    ::setenv ("ORVO_FACTORY_PRESET_DIR", config.getChildFile ("no-factory-library").getFullPathName().toRawUTF8(), 1);

    int result = 0;

    {
        const juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }

    config.deleteRecursively();
    return result;
}
