#include "Preset.h"

namespace kolbrith
{
juce::StringArray Preset::parseCategories (const juce::String& text)
{
    auto items = juce::StringArray::fromTokens (text, ",", "");
    items.trim();
    items.sort (false);
    return items;
}
} // namespace kolbrith
