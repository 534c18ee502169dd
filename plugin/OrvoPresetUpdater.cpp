#include "OrvoPresetUpdater.h"

#include "family/processor/KolbrithPaths.h"

juce::ValueTree OrvoPresetUpdater::update (juce::ValueTree& tree)
{
    const juce::String migratedVersion ("0.9.1");
    const auto version = tree.getProperty ("version", "never").toString();

    if (version == kolbrith::KolbrithPaths::getVersionString() || version == migratedVersion
        || isVersionNewer (version, migratedVersion))
        return tree;

    addParam (tree, "enable", "1");
    addParam (tree, "modpreview", "0");

    for (auto child : tree)
    {
        if (child.getProperty ("id").toString() == "modminimum")
        {
            const auto fraction = (double) (float) child.getProperty ("value").toString().getDoubleValue();
            child.setProperty ("value", juce::String (fraction * 100.0), nullptr);
            break;
        }
    }

    tree.setProperty ("version", migratedVersion, nullptr);
    return tree;
}
