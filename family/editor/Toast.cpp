#include "Toast.h"

#include "family/lookandfeel/ThemeColourIds.h"

namespace kolbrith
{
Toast::Toast (const juce::String& text, int toastLevel, bool canDismiss)
    : message (text)
    , level (toastLevel)
    , dismissable (canDismiss)
{
}

juce::String Toast::textForLevel (const juce::String& text, int toastLevel)
{
    return toastLevel == error || toastLevel == critical ? "ERROR: " + text : text;
}

juce::Colour Toast::colourOr (int colourId, juce::Colour fallback) const
{
    // Until a theme has set the toast colours, plain ones keep the text readable.
    return isColourSpecified (colourId) || getLookAndFeel().isColourSpecified (colourId) ? findColour (colourId)
                                                                                         : fallback;
}

void Toast::paint (juce::Graphics& g)
{
    const auto fill = [this]
    {
        switch (level)
        {
            case error:
            case critical: return colourOr (toastErrorColourId, juce::Colour (0xffb3261e));
            case success: return colourOr (toastSuccessColourId, juce::Colour (0xff2e7d32));
            default: return colourOr (toastInfoColourId, juce::Colour (0xff3c4043));
        }
    }();

    const auto w = getWidth();
    const auto h = getHeight();

    g.setColour (fill);
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 5.0f);

    g.setColour (colourOr (toastTextColourId, juce::Colours::white));
    g.setFont (16.0f);
    g.drawText (message, 5, 5, juce::jmax (w - 10, 0), juce::jmax (h - 10, 0), juce::Justification::topLeft, true);

    if (dismissable)
        g.drawText ("DISMISS", w - dismissWidth, 0, 60, h, juce::Justification::centred, false);
}

void Toast::mouseDown (const juce::MouseEvent& event)
{
    if (dismissable && juce::roundToInt (event.position.x) > getWidth() - dismissWidth)
        sendChangeMessage();
}
} // namespace kolbrith
