#include "plugin/OrvoPresetUpdater.h"

#include <gtest/gtest.h>

namespace
{
juce::ValueTree storedTree (const juce::String& xml)
{
    const auto parsed = juce::parseXML (xml);
    return juce::ValueTree::fromXml (*parsed);
}
} // namespace

TEST (OrvoPresetUpdaterTest, VersionComparison)
{
    struct Case
    {
        const char *a, *b;
        bool newer;
    };

    for (const auto& c :
         { Case { "1.0.0", "0.9.1", true }, Case { "0.9.1", "0.9.1", false }, Case { "0.10.0", "0.9.1", true },
           Case { "0.9.0", "0.9.1", false }, Case { "1.0", "0.9.1", false }, Case { "never", "0.9.1", false },
           Case { "", "0.9.1", true }, Case { "1.x.0", "0.9.1", true }, Case { "0.x.9", "0.9.1", false } })
        EXPECT_EQ (kolbrith::PresetUpdater::isVersionNewer (c.a, c.b), c.newer) << c.a << " vs " << c.b;
}

TEST (OrvoPresetUpdaterTest, CurrentAndRecentTreesAreLeftAlone)
{
    for (const auto* version : { "1.5.4", "0.9.1", "1.0.0" })
    {
        auto tree = storedTree (juce::String ("<orvo version=\"") + version
                                + "\"><PARAM id=\"modminimum\" value=\"0.25\"/></orvo>");
        const auto before = tree.createCopy();

        OrvoPresetUpdater().update (tree);
        EXPECT_TRUE (tree.isEquivalentTo (before)) << version;
    }
}

TEST (OrvoPresetUpdaterTest, OlderTreesGainEnableAndPreviewAndRescaleTheMinimum)
{
    struct Case
    {
        const char* versionAttribute;
        const char* minimum;
        const char* expectedMinimum;
    };

    for (const auto& c :
         { Case { " version=\"0.9.0\"", "0.25", "25" }, Case { " version=\"0.8.12\"", "0", "0" },
           Case { " version=\"1.0\"", "0.5", "50" }, Case { "", "1", "100" }, Case { "", "not a number", "0" } })
    {
        auto tree = storedTree (juce::String ("<orvo") + c.versionAttribute
                                + "><PARAM id=\"enable\" value=\"0\"/><PARAM id=\"modminimum\" value=\"" + c.minimum
                                + "\"/></orvo>");
        OrvoPresetUpdater updater;
        updater.update (tree);

        EXPECT_EQ (tree["version"].toString(), "0.9.1") << c.versionAttribute;
        ASSERT_EQ (tree.getNumChildren(), 4);
        EXPECT_EQ (tree.getChild (1)["value"].toString(), c.expectedMinimum) << c.minimum;
        EXPECT_EQ (tree.getChild (2)["id"].toString(), "enable");
        EXPECT_EQ (tree.getChild (2)["value"].toString(), "1") << "the appended entry comes last and wins";
        EXPECT_EQ (tree.getChild (3)["id"].toString(), "modpreview");
        EXPECT_EQ (tree.getChild (3)["value"].toString(), "0");

        // A second pass finds 0.9.1 and changes nothing.
        const auto once = tree.createCopy();
        updater.update (tree);
        EXPECT_TRUE (tree.isEquivalentTo (once));
    }
}

TEST (OrvoPresetUpdaterTest, TreeWithoutMinimumMigratesWithoutIt)
{
    auto tree = storedTree ("<orvo version=\"0.5.0\"><PARAM id=\"gain\" value=\"3\"/></orvo>");
    OrvoPresetUpdater().update (tree);

    EXPECT_EQ (tree.getNumChildren(), 3);
    EXPECT_EQ (tree.getChild (0)["value"].toString(), "3");
}
