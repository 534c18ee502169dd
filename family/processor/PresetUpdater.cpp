#include "PresetUpdater.h"

#include <cstdlib>

namespace kolbrith
{
void PresetUpdater::addParam (juce::ValueTree& tree, const juce::String& id, const juce::String& value)
{
    juce::ValueTree param ("PARAM");
    param.setProperty ("id", id, nullptr);
    param.setProperty ("value", value, nullptr);
    tree.appendChild (param, nullptr);
}

bool PresetUpdater::isVersionNewer (const juce::String& a, const juce::String& b)
{
    if (a.isEmpty() || b.isEmpty())
        return true;

    const auto partsA = juce::StringArray::fromTokens (a, ".", "");
    const auto partsB = juce::StringArray::fromTokens (b, ".", "");

    if (partsA.size() != 3 || partsB.size() != 3)
        return false;

    for (int i = 0; i < 3; ++i)
    {
        const auto x = std::atoi (partsA[i].toRawUTF8());
        const auto y = std::atoi (partsB[i].toRawUTF8());

        if (x != y)
            return x > y;
    }

    return false;
}
} // namespace kolbrith
